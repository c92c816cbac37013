#pragma once

#include <cstdint>

namespace halvane {

// One RGBE channel (mantissa m, shared exponent e) as the program stores it:
// (m * 2^(e - 136)) ^ (1 / 2.2), powered in extended precision and rounded to
// float; 0 when e is 0.
float RgbeChannelByFormula(uint8_t mantissa, uint8_t exponent);

// The same value from a table of all 65,536 pairs, built once on first use.
inline float RgbeChannel(uint8_t mantissa, uint8_t exponent);

// Converts one RGBE pixel to red, green and blue floats.
inline void RgbeToFloat(uint8_t r, uint8_t g, uint8_t b, uint8_t e, float& red, float& green,
                        float& blue);

namespace detail {
const float* RgbeTable();  // 256 exponents x 256 mantissas
}

inline float RgbeChannel(uint8_t mantissa, uint8_t exponent) {
  static const float* const table = detail::RgbeTable();
  return table[(static_cast<unsigned>(exponent) << 8) | mantissa];
}

inline void RgbeToFloat(uint8_t r, uint8_t g, uint8_t b, uint8_t e, float& red, float& green,
                        float& blue) {
  red = RgbeChannel(r, e);
  green = RgbeChannel(g, e);
  blue = RgbeChannel(b, e);
}

}  // namespace halvane
