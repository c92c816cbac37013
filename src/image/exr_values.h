#pragma once

#include <array>
#include <cstdint>

#include "image/readers.h"

namespace halvane {

constexpr float kLargestHalf = 65504.0f;

// A channel value made fit for the power: not-a-number and negative values
// become 0, values above `largest` (infinity) become `largest`, each counted.
// -0 is 0 and not counted.
inline float RepairedValue(float v, float largest, ValueRepairs& repairs) {
  if (v >= 0) {
    if (v <= largest) return v;
    ++repairs.clamped;
    return largest;
  }
  ++repairs.zeroed;
  return 0.0f;
}

// For every bit pattern of a half value: the repaired value after the
// readers' power, and what the repair was.
struct HalfTable {
  enum Repair : uint8_t { kNone, kZeroed, kClamped };
  std::array<float, 65536> powered;
  std::array<uint8_t, 65536> repair;

  float Powered(uint16_t bits, ValueRepairs& repairs) const {
    const uint8_t r = repair[bits];
    if (r == kZeroed) ++repairs.zeroed;
    if (r == kClamped) ++repairs.clamped;
    return powered[bits];
  }
};

// Built once on first use.
const HalfTable& HalfValues();

}  // namespace halvane
