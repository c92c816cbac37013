#pragma once

#include <cstdint>

namespace halvane {

// The view settings the display mapping reads.
struct DisplaySettings {
  float viewMin = 0.0f;
  float viewMax = 1.0f;
  bool showOutOfRange = false;
  bool darken = false;
};

// Maps one pixel to display values 0..255: normalise to the view range, false
// colours for pixels wholly out of range, clamp, scale to 255, darken by
// `factor`. `color` receives red + 256 * green + 65536 * blue of the rounded
// values. Returns false when the pixel cannot be converted (a channel that is
// not a number).
bool DisplayColor(float red, float green, float blue, float factor, const DisplaySettings& settings,
                  uint32_t& color);

inline uint8_t RedOf(uint32_t c) {
  return static_cast<uint8_t>(c & 0xFF);
}
inline uint8_t GreenOf(uint32_t c) {
  return static_cast<uint8_t>((c >> 8) & 0xFF);
}
inline uint8_t BlueOf(uint32_t c) {
  return static_cast<uint8_t>((c >> 16) & 0xFF);
}

}  // namespace halvane
