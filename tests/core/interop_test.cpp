// Reads files written by ImageMagick, so the readers are checked against a
// third-party writer and not only against our own test writers.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "support/ct_tga_files.h"

namespace halvane {
namespace {

using testing::Bytes;

constexpr int kWidth = 37;
constexpr int kHeight = 23;

bool Succeeds(const std::string& command) {
  return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

std::string Quoted(const std::string& path) {
  return "'" + path + "'";
}

// The source picture as 8-bit red, green, blue, top row first.
Bytes SourceRgb() {
  Bytes rgb;
  for (const testing::Bgra& px : testing::PatternPixels(kWidth * kHeight, 7))
    rgb.insert(rgb.end(), {px[2], px[1], px[0]});
  return rgb;
}

// Reads `file` (written from the source picture) and checks every pixel with
// `near(written, read)` for the source's red, green, blue 0..255 and the
// reader's channel.
template <typename Near>
void ExpectSource(ImageReader reader, const std::string& file, bool isFloat, Near near) {
  FileSource source(file);
  const ReadResult read = testing::Decoded(reader(source, ImageLimits{}));
  EXPECT_EQ(read.isFloat, isFloat);
  ASSERT_EQ(read.image.width, kWidth);
  ASSERT_EQ(read.image.height, kHeight);
  const Bytes rgb = SourceRgb();
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      const uint8_t* written = rgb.data() + 3 * (y * kWidth + x);
      for (int k = 0; k < 3; ++k) {
        const auto i = static_cast<std::size_t>(read.image.ChannelIndex(x, y, k));
        ASSERT_TRUE(near(written, written[2 - k], read.image.pixels[i]))
            << x << "," << y << " channel " << k;
      }
    }
}

class Interop : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!Succeeds("command -v convert")) GTEST_SKIP() << "ImageMagick's convert is not on the PATH";
    const std::string header =
        "P6\n" + std::to_string(kWidth) + " " + std::to_string(kHeight) + "\n255\n";
    Bytes ppm(header.begin(), header.end());
    const Bytes rgb = SourceRgb();
    ppm.insert(ppm.end(), rgb.begin(), rgb.end());
    testing::WriteFile(dir_.Path("source.ppm"), ppm);
  }

  testing::TempDir dir_;
};

struct TargaCase {
  uint8_t depth;
  bool runLength;
  bool topRowFirst;
};

class TargaInterop : public Interop, public ::testing::WithParamInterface<TargaCase> {};

TEST_P(TargaInterop, PixelsMatchWhatWasWritten) {
  const TargaCase c = GetParam();
  const std::string tga = dir_.Path("written.tga");
  // ImageMagick stores rows in memory order whatever -orient says: flipping
  // first gives a correct bottom-up file.
  const std::string options = std::string(c.depth == 32 ? " -alpha on" : "") +
                              (c.runLength ? " -compress RLE" : "") +
                              (c.topRowFirst ? " -orient TopLeft" : " -flip -orient BottomLeft");
  ASSERT_TRUE(Succeeds("convert " + Quoted(dir_.Path("source.ppm")) + options + " " + Quoted(tga)));
  const Bytes file = testing::ReadFileBytes(tga);
  ASSERT_GE(file.size(), 18u);
  ASSERT_EQ(file[2], c.runLength ? 10 : 2);
  ASSERT_EQ(file[16], c.depth);
  ASSERT_EQ((file[17] & 0x20) != 0, c.topRowFirst);
  ExpectSource(ReadTga, tga, false, [](const uint8_t*, uint8_t written, float read) {
    return read == testing::UnitByte(written);
  });
}

INSTANTIATE_TEST_SUITE_P(ImageMagick, TargaInterop,
                         ::testing::Values(TargaCase{24, false, false}, TargaCase{24, false, true},
                                           TargaCase{24, true, false}, TargaCase{24, true, true},
                                           TargaCase{32, false, false}, TargaCase{32, false, true},
                                           TargaCase{32, true, false}, TargaCase{32, true, true}),
                         [](const auto& info) {
                           const TargaCase& c = info.param;
                           return std::to_string(c.depth) +
                                  (c.runLength ? "bitRunLength" : "bitUncompressed") +
                                  (c.topRowFirst ? "TopRowFirst" : "BottomRowFirst");
                         });

TEST_F(Interop, RadianceFileFromHighDynamicRangeBuild) {
  // Only the HDRI build keeps values above 1 when it writes a Radiance file.
  if (!Succeeds("command -v convert-im6.q16hdri")) GTEST_SKIP() << "no HDRI build of ImageMagick";
  const std::string hdr = dir_.Path("written.hdr");
  ASSERT_TRUE(Succeeds("convert-im6.q16hdri " + Quoted(dir_.Path("source.ppm")) +
                       " -evaluate Multiply 6 " + Quoted(hdr)));
  ExpectSource(ReadHdr, hdr, true, [](const uint8_t* rgb, uint8_t written, float read) {
    // The three channels share one exponent over 8-bit mantissas: each is off
    // by less than 1/128 of the pixel's largest channel. The reader stores
    // each value raised to 1/2.2.
    const long double largest = std::max({rgb[0], rgb[1], rgb[2]}) / 255.0L * 6.0L;
    const long double linear = std::pow(static_cast<long double>(read), 2.2L);
    return std::fabs(linear - written / 255.0L * 6.0L) <= largest / 128 + 1e-6L;
  });
}

}  // namespace
}  // namespace halvane
