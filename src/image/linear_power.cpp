#include "image/linear_power.h"

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <memory>

namespace halvane {
namespace {

constexpr long double kInverseGamma = 1.0L / 2.2L;

// The estimate splits a normal double x = 2^E * m, m in [1, 2), and m again
// into m0 = 1 + i/4096 (its top 12 bits) and the rest: x^a = 2^(E a) *
// m0^a * (1 + r)^a with r = (m - m0) / m0 < 2^-12, the last factor a short
// series. Tables hold 2^(E a) and m0^a from the extended formula.
constexpr int kTopBits = 12;
constexpr int kExponentBias = 1023;

struct PowerTables {
  std::array<double, 2048> twoPower;  // 2^(E a) for biased exponents 1..2046
  std::array<double, 1 << kTopBits> mantissaPower;
  std::array<double, 1 << kTopBits> inverseMantissa;
};

const PowerTables& Tables() {
  static const std::unique_ptr<PowerTables> tables = [] {
    auto t = std::make_unique<PowerTables>();
    for (int biased = 0; biased < 2048; ++biased)
      t->twoPower[static_cast<std::size_t>(biased)] =
          static_cast<double>(std::pow(std::ldexp(1.0L, biased - kExponentBias), kInverseGamma));
    for (int i = 0; i < (1 << kTopBits); ++i) {
      const long double m0 = 1.0L + std::ldexp(static_cast<long double>(i), -kTopBits);
      t->mantissaPower[static_cast<std::size_t>(i)] =
          static_cast<double>(std::pow(m0, kInverseGamma));
      t->inverseMantissa[static_cast<std::size_t>(i)] = static_cast<double>(1.0L / m0);
    }
    return t;
  }();
  return *tables;
}

// (1 + r)^a for |r| < 2^-12: the series to r^3 leaves less than 2e-16.
constexpr double kC1 = static_cast<double>(kInverseGamma);
constexpr double kC2 = static_cast<double>(kInverseGamma * (kInverseGamma - 1) / 2);
constexpr double kC3 =
    static_cast<double>(kInverseGamma * (kInverseGamma - 1) * (kInverseGamma - 2) / 6);

// x^(1/2.2) for a normal double x within a relative 1e-15 (rounding of x,
// of the table entries, of r and of the three products), or 0 when x is not
// a positive normal double.
double Estimate(double x) {
  const uint64_t bits = std::bit_cast<uint64_t>(x);
  const auto biased = static_cast<std::size_t>(bits >> 52);
  if (biased == 0 || biased >= 2047) return 0;  // zero, subnormal, infinite, negative
  const auto top = static_cast<std::size_t>((bits >> (52 - kTopBits)) & ((1u << kTopBits) - 1));
  const uint64_t one = uint64_t{kExponentBias} << 52;
  const double m = std::bit_cast<double>((bits & ((uint64_t{1} << 52) - 1)) | one);
  const double m0 =
      std::bit_cast<double>((bits & (uint64_t{(1u << kTopBits) - 1} << (52 - kTopBits))) | one);
  const PowerTables& t = Tables();
  const double r = (m - m0) * t.inverseMantissa[top];  // m - m0 is exact
  const double series = 1.0 + r * (kC1 + r * (kC2 + r * kC3));
  return t.twoPower[biased] * t.mantissaPower[top] * series;
}

// The estimate's error bound above, with a wide margin.
constexpr double kEstimateTolerance = 1e-13;

}  // namespace

float PowerOfLinearByFormula(long double linear) {
  return static_cast<float>(std::pow(linear, kInverseGamma));
}

float PowerOfLinear(long double linear) {
  if (linear == 0) return 0.0f;
  const double estimate = Estimate(static_cast<double>(linear));
  if (estimate == 0) return PowerOfLinearByFormula(linear);
  const float rounded = static_cast<float>(estimate);
  // The two midpoints around `rounded` (a positive normal float, as every
  // power of a float mean is) are exact in double.
  const uint32_t bits = std::bit_cast<uint32_t>(rounded);
  const double below = (static_cast<double>(rounded) + std::bit_cast<float>(bits - 1)) / 2;
  const double above = (static_cast<double>(rounded) + std::bit_cast<float>(bits + 1)) / 2;
  const double margin = estimate * kEstimateTolerance;
  if (estimate - below > margin && above - estimate > margin) return rounded;
  return PowerOfLinearByFormula(linear);
}

}  // namespace halvane
