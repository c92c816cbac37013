#include "image/rgbe.h"

#include <cmath>
#include <vector>

namespace halvane {

float RgbeChannelByFormula(uint8_t mantissa, uint8_t exponent) {
  if (exponent == 0) return 0.0f;
  constexpr long double kInverseGamma = 1.0L / 2.2L;
  const double f = std::ldexp(1.0, static_cast<int>(exponent) - 136);
  return static_cast<float>(std::pow(static_cast<long double>(mantissa) * f, kInverseGamma));
}

namespace detail {

const float* RgbeTable() {
  static const std::vector<float> table = [] {
    std::vector<float> t(256 * 256);
    for (int e = 0; e < 256; ++e)
      for (int m = 0; m < 256; ++m)
        t[static_cast<std::size_t>(e * 256 + m)] =
            RgbeChannelByFormula(static_cast<uint8_t>(m), static_cast<uint8_t>(e));
    return t;
  }();
  return table.data();
}

}  // namespace detail
}  // namespace halvane
