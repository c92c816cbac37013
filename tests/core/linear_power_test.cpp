#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "image/linear_power.h"
#include "image/rgbe.h"

namespace halvane {
namespace {

// The fast power must give the formula's float for every input, including
// those whose power lies next to the midpoint between two floats.
TEST(LinearPower, FastPathGivesTheFormulasFloat) {
  for (int e = 0; e < 256; ++e)
    for (int m = 0; m < 256; ++m)
      ASSERT_EQ(PowerOfLinear(e == 0 ? 0.0L : m * std::ldexp(1.0L, e - 136)),
                RgbeChannelByFormula(m, e))
          << m << " " << e;

  std::mt19937_64 random(7);
  for (int i = 0; i < 200'000; ++i) {
    const long double v =
        std::ldexp(static_cast<long double>(random()), -64 + int(random() % 300) - 170);
    ASSERT_EQ(PowerOfLinear(v), PowerOfLinearByFormula(v)) << static_cast<double>(v);
  }

  // Linear values whose power is a midpoint, and their neighbours in long double.
  for (int i = 0; i < 20'000; ++i) {
    const float f = std::ldexp(1.0f + static_cast<float>(random() % (1 << 23)) / (1 << 23),
                               int(random() % 60) - 30);
    const long double midpoint = (static_cast<long double>(f) + std::nextafter(f, HUGE_VALF)) / 2;
    long double v = std::pow(midpoint, 2.2L);
    for (int step = 0; step < 4; ++step, v = std::nextafter(v, HUGE_VALL))
      ASSERT_EQ(PowerOfLinear(v), PowerOfLinearByFormula(v)) << static_cast<double>(v);
  }
  EXPECT_EQ(PowerOfLinear(0.0L), 0.0f);
}

}  // namespace
}  // namespace halvane
