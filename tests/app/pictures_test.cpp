#include "app/pictures.h"

#include <gtest/gtest.h>

namespace halvane {
namespace {

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
