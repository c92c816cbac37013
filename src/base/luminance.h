#pragma once

namespace halvane {

// The one luminance of the program: 0.3 red + 0.59 green + 0.11 blue, summed
// in extended precision and stored as single.
inline float Luminance(float r, float g, float b) {
  return static_cast<float>(0.3L * r + 0.59L * g + 0.11L * b);
}

}  // namespace halvane
