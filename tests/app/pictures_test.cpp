#include "app/pictures.h"

#include <gtest/gtest.h>

namespace halvane {
namespace {

// The legend's strip runs through the false colours of luminance -2 .. 16,
// one label cell each; the middle of a cell shows its colour.
TEST(OutOfRangeLegendTest, StripRunsThroughTheFalseColours) {
  const QImage legend = OutOfRangeLegend(120, 25);
  ASSERT_EQ(legend.size(), QSize(120, 25));
  const QRgb expected[] = {qRgb(0, 0, 255), qRgb(255, 0, 255), qRgb(0, 0, 0),   qRgb(255, 255, 255),
                           qRgb(255, 0, 0), qRgb(255, 255, 0), qRgb(0, 255, 0), qRgb(0, 255, 255)};
  for (int i = 0; i < 8; ++i) {
    const int x = i * 15 + 7;
    const QColor got = legend.pixelColor(x, 3);
    const QColor want(expected[i]);
    EXPECT_NEAR(got.red(), want.red(), 20) << "cell " << i;
    EXPECT_NEAR(got.green(), want.green(), 20) << "cell " << i;
    EXPECT_NEAR(got.blue(), want.blue(), 20) << "cell " << i;
  }
}

TEST(WrapBitmapTest, SharesTheBitmapsPixels) {
  Bitmap bitmap(3, 2);
  bitmap.SetPixel(2, 1, Rgb{10, 20, 30});
  const QImage wrapped = WrapBitmap(bitmap);
  EXPECT_EQ(wrapped.constBits(), bitmap.data());
  EXPECT_EQ(wrapped.pixel(2, 1), qRgb(10, 20, 30));
  bitmap.SetPixel(0, 0, Rgb{1, 2, 3});
  EXPECT_EQ(wrapped.pixel(0, 0), qRgb(1, 2, 3));
  EXPECT_TRUE(WrapBitmap(Bitmap()).isNull());
}

}  // namespace
}  // namespace halvane
