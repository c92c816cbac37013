#include "image/linear_power.h"

#include <cmath>

namespace halvane {
namespace {

constexpr long double kInverseGamma = 1.0L / 2.2L;
constexpr double kInverseGammaDouble = static_cast<double>(kInverseGamma);
// Bound on the relative error of the double estimate: the linear value
// rounded to double (2^-53, times the exponent), the exponent rounded to
// double (2^-55 times |ln linear| < 110 over the range of float means) and
// the double power (below 1 ulp) stay below 4e-15; this leaves a wide margin.
constexpr double kEstimateTolerance = 1e-13;

}  // namespace

float PowerOfLinearByFormula(long double linear) {
  return static_cast<float>(std::pow(linear, kInverseGamma));
}

float PowerOfLinear(long double linear) {
  if (linear == 0) return 0.0f;
  const double estimate = std::pow(static_cast<double>(linear), kInverseGammaDouble);
  const float rounded = static_cast<float>(estimate);
  // The two midpoints around `rounded` are exact in double.
  const double below = (static_cast<double>(rounded) + std::nextafter(rounded, 0.0f)) / 2;
  const double above = (static_cast<double>(rounded) + std::nextafter(rounded, HUGE_VALF)) / 2;
  const double margin = estimate * kEstimateTolerance;
  if (estimate - below > margin && above - estimate > margin) return rounded;
  return PowerOfLinearByFormula(linear);
}

}  // namespace halvane
