#include <gtest/gtest.h>

#include <cmath>

#include "image/display_color.h"
#include "preview/bitmap.h"

namespace halvane {
namespace {

Rgb Shown(float r, float g, float b, DisplaySettings s) {
  uint32_t c = 0;
  EXPECT_TRUE(DisplayColor(r, g, b, 0.9f, s, c));
  return Rgb{RedOf(c), GreenOf(c), BlueOf(c)};
}

TEST(DisplayColor, RangeDarkeningAndTiesToEven) {
  const DisplaySettings darkened{0.0f, 1.0f, false, true};
  EXPECT_EQ(Shown(1, 1, 1, darkened), (Rgb{230, 230, 230}));           // 229.5
  EXPECT_EQ(Shown(0.5f, 0.5f, 0.5f, darkened), (Rgb{115, 115, 115}));  // 114.75
  const DisplaySettings plain{0.0f, 1.0f, false, false};
  EXPECT_EQ(Shown(0.5f, 0.5f, 0.5f, plain), (Rgb{128, 128, 128}));  // 127.5
  EXPECT_EQ(Shown(3, 2, 4, DisplaySettings{2.0f, 4.0f, false, false}), (Rgb{128, 0, 255}));
}

TEST(DisplayColor, FalseColoursOnlyForPixelsWhollyOutOfRange) {
  const DisplaySettings s{0.0f, 1.0f, true, false};
  EXPECT_EQ(Shown(3, 3, 3, s), (Rgb{255, 128, 0}));
  // Too bright but below 2: white shading towards red.
  EXPECT_EQ(Shown(1.5f, 1.5f, 1.5f, s), (Rgb{255, 128, 128}));
  // Too dark: blue and magenta shades.
  EXPECT_EQ(Shown(-0.5f, -0.5f, -0.5f, s), (Rgb{128, 0, 128}));
  // Straddling the range: clamped only.
  EXPECT_EQ(Shown(2, -1, 0.5f, s), (Rgb{255, 0, 128}));
}

TEST(DisplayColor, NotANumberCannotBeConverted) {
  uint32_t c = 0;
  EXPECT_FALSE(DisplayColor(NAN, 0, 0, 0.9f, DisplaySettings{}, c));
  EXPECT_TRUE(DisplayColor(INFINITY, 0, 0, 0.9f, DisplaySettings{}, c));
  EXPECT_EQ(RedOf(c), 255);
}

}  // namespace
}  // namespace halvane
