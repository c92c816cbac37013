// Pictures wider than the largest side Halvane works on, written at test
// time (a flat sky with a bright square sun), load halved until they fit.
#include <gtest/gtest.h>

#include <Imath/half.h>

#include <cmath>

#include "support/exr_files.h"
#include "workflow/load_image.h"

namespace halvane {
namespace {

using testing::Linear;
using testing::SunPicture;

// The sun's edges fall inside blocks at every halving.
SunPicture SunFor(int width, int height) {
  return SunPicture{.sunX = width / 3 + 3, .sunY = height / 4 + 5, .sunSize = width / 40 + 1};
}

// The linear values a file of the picture holds: halves, or RGBE decoded as
// m * 2^(e - 136).
Linear AsHalves(const Linear& v) {
  return {static_cast<float>(half(v[0])), static_cast<float>(half(v[1])),
          static_cast<float>(half(v[2]))};
}
Linear AsRgbe(const Linear& v) {
  const testing::Rgbe p = testing::ToRgbe(v);
  Linear out{};
  for (std::size_t k = 0; k < 3; ++k)
    out[k] =
        p[3] == 0 ? 0.0f : static_cast<float>(std::ldexp(static_cast<double>(p[k]), p[3] - 136));
  return out;
}

class BigPictures : public ::testing::Test {
 protected:
  // Reads `path` as the load step does after a yes.
  ReadResult Load(const std::string& path) {
    ImageLimits limits;
    limits.scaleDown = [this](const ScalePlan&) {
      ++questions;
      return true;
    };
    return testing::Decoded(ReadImageFile(path, limits));
  }

  // Every pixel of the rows and columns through the sun, and the corners,
  // against the powered block means of the file's values.
  static void ExpectScaledSun(const ReadResult& r, int width, int height, int shift,
                              const std::function<Linear(int, int)>& stored) {
    ASSERT_TRUE(r.scaled);
    EXPECT_EQ(r.scaled->shift, shift);
    const int w = (width + (1 << shift) - 1) >> shift, h = (height + (1 << shift) - 1) >> shift;
    ASSERT_EQ(r.image.width, w);
    ASSERT_EQ(r.image.height, h);
    EXPECT_EQ(r.rowsRead, h);
    const SunPicture sun = SunFor(width, height);
    const int sunRow = (sun.sunY + sun.sunSize / 2) >> shift;
    const int sunColumn = (sun.sunX + sun.sunSize / 2) >> shift;
    std::vector<std::pair<int, int>> checked = {{0, 0}, {w - 1, 0}, {0, h - 1}, {w - 1, h - 1}};
    for (int x = 0; x < w; ++x) checked.push_back({x, sunRow});
    for (int y = 0; y < h; ++y) checked.push_back({sunColumn, y});
    for (const auto& [x, y] : checked) {
      std::array<long double, 3> sum{};
      int count = 0;
      for (int sy = y << shift; sy < std::min(height, (y + 1) << shift); ++sy)
        for (int sx = x << shift; sx < std::min(width, (x + 1) << shift); ++sx, ++count) {
          const Linear v = stored(sx, sy);
          for (std::size_t k = 0; k < 3; ++k) sum[k] += v[k];
        }
      const float* p = r.image.pixels.data() + 3 * (static_cast<std::size_t>(y) * w + x);
      for (std::size_t k = 0; k < 3; ++k)
        ASSERT_EQ(p[2 - k], testing::Powered(sum[k] / count)) << x << "," << y << " " << k;
    }
  }

  void ExpectBothFormats(int width, int height, int shift, Imf::Compression compression) {
    const SunPicture sun = SunFor(width, height);
    const std::string hdr = dir.Path("sky.hdr"), exr = dir.Path("sky.exr");
    testing::WriteRunLengthRadianceFile(hdr, width, height, sun);
    ExpectScaledSun(Load(hdr), width, height, shift,
                    [&](int x, int y) { return AsRgbe(sun(x, y)); });
    testing::WriteExrFile(exr, {.width = width, .height = height, .compression = compression}, sun);
    ExpectScaledSun(Load(exr), width, height, shift,
                    [&](int x, int y) { return AsHalves(sun(x, y)); });
    EXPECT_EQ(questions, 2);
  }

  testing::TempDir dir;
  int questions = 0;
};

TEST_F(BigPictures, FourKLoadsHalvedOnce) {
  ExpectBothFormats(4096, 2048, 1, Imf::ZIP_COMPRESSION);
}

TEST_F(BigPictures, EightKLoadsHalvedTwice) {
  ExpectBothFormats(8192, 4096, 2, Imf::PIZ_COMPRESSION);
}

// Run-length compression writes fastest, keeping the test short.
TEST_F(BigPictures, LargeSixteenKLoadsHalvedThreeTimes) {
  ExpectBothFormats(16384, 8192, 3, Imf::RLE_COMPRESSION);
}

}  // namespace
}  // namespace halvane
