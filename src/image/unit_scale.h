#pragma once

#include <array>
#include <cstdint>

namespace halvane {

// An 8-bit channel value scaled to 0..1: the float of v / 255 computed in
// extended precision. The readers look the 256 values up instead of dividing
// per channel.
inline const std::array<float, 256>& UnitByteTable() {
  static const std::array<float, 256> table = [] {
    std::array<float, 256> t{};
    for (int v = 0; v < 256; ++v) t[static_cast<std::size_t>(v)] = static_cast<float>(v / 255.0L);
    return t;
  }();
  return table;
}

// A 16-bit channel value scaled to 0..1 in extended precision.
inline float UnitWord(uint16_t value) {
  return static_cast<float>(value / 65535.0L);
}

}  // namespace halvane
