// Reads files written by ImageMagick, so the readers are checked against a
// third-party writer and not only against our own test writers.
#include <gtest/gtest.h>

#include <unistd.h>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <sstream>

#include "support/ct_tga_files.h"
#include "support/image_files.h"

namespace halvane {
namespace {

using testing::Bgra;
using testing::Bytes;
using testing::TempDir;
using testing::UnitByte;

constexpr int kWidth = 37;
constexpr int kHeight = 23;

std::optional<std::string> FindOnPath(const std::string& tool) {
  const char* path = std::getenv("PATH");
  if (path == nullptr) return std::nullopt;
  std::istringstream dirs(path);
  for (std::string dir; std::getline(dirs, dir, ':');) {
    const std::string candidate = (dir.empty() ? "." : dir) + "/" + tool;
    if (access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  return std::nullopt;
}

std::string Quoted(const std::string& path) {
  return "'" + path + "'";
}

void RunTool(const std::string& command) {
  ASSERT_EQ(std::system((command + " >/dev/null 2>&1").c_str()), 0) << command;
}

// An 8-bit RGB picture, top row first, three bytes per pixel in red, green, blue.
struct RgbPicture {
  int width = 0;
  int height = 0;
  Bytes rgb;
  const uint8_t* At(int x, int y) const {
    return rgb.data() + 3 * (static_cast<std::size_t>(y) * width + x);
  }
};

RgbPicture MakePattern() {
  RgbPicture p{kWidth, kHeight, {}};
  for (const Bgra& px : testing::PatternPixels(kWidth * kHeight, 7))
    p.rgb.insert(p.rgb.end(), {px[2], px[1], px[0]});
  return p;
}

void WritePpm(const std::string& path, const RgbPicture& p) {
  const std::string header =
      "P6\n" + std::to_string(p.width) + " " + std::to_string(p.height) + "\n255\n";
  Bytes bytes(header.begin(), header.end());
  bytes.insert(bytes.end(), p.rgb.begin(), p.rgb.end());
  testing::WriteFile(path, bytes);
}

// Reads the binary PPM that ImageMagick writes: "P6", width, height, 255.
RgbPicture ReadPpm(const std::string& path) {
  const Bytes bytes = testing::ReadFileBytes(path);
  std::istringstream in(std::string(bytes.begin(), bytes.end()));
  std::string magic;
  int maxValue = 0;
  RgbPicture p;
  in >> magic >> p.width >> p.height >> maxValue;
  in.get();
  const auto start = static_cast<std::size_t>(in.tellg());
  p.rgb.assign(bytes.begin() + static_cast<std::ptrdiff_t>(start), bytes.end());
  return p;
}

class Interop : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto convert = FindOnPath("convert");
    if (!convert) GTEST_SKIP() << "ImageMagick's convert is not on the PATH";
    convert_ = *convert;
    WritePpm(dir_.Path("source.ppm"), source_);
  }

  TempDir dir_;
  std::string convert_;
  const RgbPicture source_ = MakePattern();
};

struct TargaCase {
  uint8_t depth;
  bool runLength;
  bool topRowFirst;
};

std::string CaseName(const TargaCase& c) {
  return std::to_string(c.depth) + (c.runLength ? "bitRunLength" : "bitUncompressed") +
         (c.topRowFirst ? "TopRowFirst" : "BottomRowFirst");
}

class TargaInterop : public Interop, public ::testing::WithParamInterface<TargaCase> {};

TEST_P(TargaInterop, PixelsMatchWhatWasWritten) {
  const TargaCase c = GetParam();
  const std::string tga = dir_.Path("written.tga");
  // ImageMagick stores rows in memory order whatever -orient says: flipping
  // first gives a correct bottom-up file.
  const std::string options = std::string(c.depth == 32 ? " -alpha on" : "") +
                              (c.runLength ? " -compress RLE" : "") +
                              (c.topRowFirst ? " -orient TopLeft" : " -flip -orient BottomLeft");
  RunTool(Quoted(convert_) + " " + Quoted(dir_.Path("source.ppm")) + options + " " + Quoted(tga));

  const Bytes file = testing::ReadFileBytes(tga);
  ASSERT_GE(file.size(), 18u);
  ASSERT_EQ(file[2], c.runLength ? 10 : 2);
  ASSERT_EQ(file[16], c.depth);
  ASSERT_EQ((file[17] & 0x20) != 0, c.topRowFirst);
  // ImageMagick itself reads the file back as the source picture.
  RunTool(Quoted(convert_) + " " + Quoted(tga) + " -auto-orient " + Quoted(dir_.Path("back.ppm")));
  ASSERT_EQ(ReadPpm(dir_.Path("back.ppm")).rgb, source_.rgb);

  FileSource source(tga);
  const ReadResult read = testing::Decoded(ReadTga(source));
  const Image& image = read.image;
  EXPECT_FALSE(read.isFloat);
  ASSERT_EQ(image.width, kWidth);
  ASSERT_EQ(image.height, kHeight);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      const uint8_t* rgb = source_.At(x, y);
      const auto i = static_cast<std::size_t>(image.ChannelIndex(x, y, 0));
      ASSERT_EQ(image.pixels[i], UnitByte(rgb[2])) << x << "," << y;
      ASSERT_EQ(image.pixels[i + 1], UnitByte(rgb[1])) << x << "," << y;
      ASSERT_EQ(image.pixels[i + 2], UnitByte(rgb[0])) << x << "," << y;
    }
}

INSTANTIATE_TEST_SUITE_P(ImageMagick, TargaInterop,
                         ::testing::Values(TargaCase{24, false, false}, TargaCase{24, false, true},
                                           TargaCase{24, true, false}, TargaCase{24, true, true},
                                           TargaCase{32, false, false}, TargaCase{32, false, true},
                                           TargaCase{32, true, false}, TargaCase{32, true, true}),
                         [](const auto& info) { return CaseName(info.param); });

TEST_F(Interop, RadianceFileFromHighDynamicRangeBuild) {
  // Only the HDRI build keeps values above 1 when it writes a Radiance file.
  const auto hdri = FindOnPath("convert-im6.q16hdri");
  if (!hdri) GTEST_SKIP() << "ImageMagick's HDRI build is not installed";
  constexpr long double kScale = 6.0L;
  const std::string hdr = dir_.Path("written.hdr");
  RunTool(Quoted(*hdri) + " " + Quoted(dir_.Path("source.ppm")) + " -evaluate Multiply 6 " +
          Quoted(hdr));

  FileSource source(hdr);
  const ReadResult read = testing::Decoded(ReadHdr(source));
  const Image& image = read.image;
  EXPECT_TRUE(read.isFloat);
  ASSERT_EQ(image.width, kWidth);
  ASSERT_EQ(image.height, kHeight);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      const uint8_t* rgb = source_.At(x, y);
      // The three channels share one exponent over 8-bit mantissas: each is
      // off by less than 1/128 of the pixel's largest channel.
      const long double largest = std::max({rgb[0], rgb[1], rgb[2]}) / 255.0L * kScale;
      for (int k = 0; k < 3; ++k) {
        const long double written = rgb[2 - k] / 255.0L * kScale;
        const auto i = static_cast<std::size_t>(image.ChannelIndex(x, y, k));
        // The reader stores each value raised to 1/2.2.
        const long double linear = std::pow(static_cast<long double>(image.pixels[i]), 2.2L);
        ASSERT_NEAR(static_cast<double>(linear), static_cast<double>(written),
                    static_cast<double>(largest / 128 + 1e-6L))
            << x << "," << y << " channel " << k;
      }
    }
}

}  // namespace
}  // namespace halvane
