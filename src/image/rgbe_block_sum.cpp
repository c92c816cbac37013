#include "image/rgbe_block_sum.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace halvane {
namespace {

// m * kScale[e] is the linear value of mantissa m under exponent e, exactly.
const std::array<long double, 256>& LinearScale() {
  static const std::array<long double, 256> table = [] {
    std::array<long double, 256> t{};
    for (int e = 1; e < 256; ++e) t[static_cast<std::size_t>(e)] = std::ldexp(1.0L, e - 136);
    return t;
  }();
  return table;
}

// Every value is a whole multiple of 2^(emin - 136), and every partial sum
// is below 2^(emax - 128) times the pixel count. While that count of
// multiples fits the 64-bit significand of long double, no addition in
// order rounds, so integer sums shifted into place are the same sums.
bool SumsFitTheSignificand(int emin, int emax, int pixels) {
  const int countBits = std::bit_width(static_cast<unsigned>(pixels));
  return (emax - emin) + 8 + countBits <= 63;
}

}  // namespace

std::array<long double, 3> RgbeBlockSumsInOrder(const uint8_t* const* rows, int rowCount, int x0,
                                                int x1) {
  const auto& scale = LinearScale();
  long double red = 0, green = 0, blue = 0;
  for (int y = 0; y < rowCount; ++y)
    for (const uint8_t* p = rows[y] + 4 * x0; p < rows[y] + 4 * x1; p += 4) {
      const long double s = scale[p[3]];
      red += p[0] * s;
      green += p[1] * s;
      blue += p[2] * s;
    }
  return {red, green, blue};
}

std::array<long double, 3> RgbeBlockSums(const uint8_t* const* rows, int rowCount, int x0, int x1) {
  int emin = 256, emax = 0;
  for (int y = 0; y < rowCount; ++y)
    for (const uint8_t* p = rows[y] + 4 * x0; p < rows[y] + 4 * x1; p += 4)
      if (p[3] != 0) {
        emin = std::min<int>(emin, p[3]);
        emax = std::max<int>(emax, p[3]);
      }
  if (emax == 0) return {0, 0, 0};
  if (!SumsFitTheSignificand(emin, emax, rowCount * (x1 - x0)))
    return RgbeBlockSumsInOrder(rows, rowCount, x0, x1);
  uint64_t red = 0, green = 0, blue = 0;
  for (int y = 0; y < rowCount; ++y)
    for (const uint8_t* p = rows[y] + 4 * x0; p < rows[y] + 4 * x1; p += 4) {
      if (p[3] == 0) continue;
      const int shift = p[3] - emin;
      red += uint64_t{p[0]} << shift;
      green += uint64_t{p[1]} << shift;
      blue += uint64_t{p[2]} << shift;
    }
  const int exponent = emin - 136;
  return {std::ldexp(static_cast<long double>(red), exponent),
          std::ldexp(static_cast<long double>(green), exponent),
          std::ldexp(static_cast<long double>(blue), exponent)};
}

}  // namespace halvane
