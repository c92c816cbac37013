#include <gtest/gtest.h>

#include <filesystem>

#include "image/binary_file.h"
#include "image/hdr_header.h"
#include "image/readers.h"
#include "image/rgbe.h"
#include "support/image_files.h"

namespace halvane {
namespace {

using testing::Bytes;
using testing::Rgbe;
using testing::TempDir;

// A header-only file padded beyond the 200-byte minimum.
std::string Padded(const std::string& header) {
  return header + std::string(300, '\x01');
}

struct HeaderResult {
  bool accepted;
  RadianceHeader header;
};

HeaderResult ParseText(const std::string& text) {
  TempDir dir;
  const std::string path = dir.Path("h.hdr");
  testing::WriteText(path, text);
  BinaryFile file;
  EXPECT_TRUE(file.Open(path));
  HeaderResult r;
  r.accepted = ParseRadianceHeader(file, r.header);
  return r;
}

TEST(RadianceHeader, StandardHeaderReadsOverTheFormatLine) {
  const auto r = ParseText(Padded("#?RADIANCE\nFORMAT=32-bit_rle_rgbe\n\n-Y 512 +X 1024\n"));
  ASSERT_TRUE(r.accepted);
  EXPECT_EQ(r.header.width, 1024);
  EXPECT_EQ(r.header.height, 512);
  EXPECT_EQ(r.header.flags, kHdrSignature);  // the FORMAT line was read over unexamined
  EXPECT_EQ(r.header.programType, "RADIANCE   ");
}

TEST(RadianceHeader, CommentAfterSignatureAndExposure) {
  const auto r = ParseText(
      Padded("#?RADIANCE\n# made by hand\nFORMAT=32-bit_rle_rgbe\nEXPOSURE=1.5\n\n-Y 2 +X 8\n"));
  ASSERT_TRUE(r.accepted);
  EXPECT_EQ(r.header.programType, "RADIANCE   # made by hand");
  EXPECT_EQ(r.header.flags, kHdrSignature | kHdrExposure | kHdrRleFormat);
  EXPECT_EQ(r.header.exposure, 1.5f);
}

TEST(RadianceHeader, ExposureWithoutPointOrInExponentFormIsIgnored) {
  EXPECT_EQ(ParseText(Padded("#?R\nX\nEXPOSURE=1\n\n-Y 2 +X 8\n")).header.exposure, 1.0f);
  EXPECT_EQ(ParseText(Padded("#?R\nX\nEXPOSURE=1.e5\n\n-Y 2 +X 8\n")).header.exposure, 1.0f);
  EXPECT_EQ(ParseText(Padded("#?R\nX\nEXPOSURE= 2.5\n\n-Y 2 +X 8\n")).header.exposure, 2.5f);
}

TEST(RadianceHeader, AtMostFiveLinesBeforeTheEmptyLine) {
  // After a signature whose next line is not a comment, that line and four
  // more may precede the empty line; one more rejects the file.
  EXPECT_TRUE(ParseText(Padded("#?R\nA\nB\nC\nD\nE\n\n-Y 2 +X 8\n")).accepted);
  EXPECT_FALSE(ParseText(Padded("#?R\nA\nB\nC\nD\nE\nF\n\n-Y 2 +X 8\n")).accepted);
  // A comment right after the signature uses up a pass of its own.
  EXPECT_TRUE(ParseText(Padded("#?R\n#c\nB\nC\nD\n\n-Y 2 +X 8\n")).accepted);
  EXPECT_FALSE(ParseText(Padded("#?R\n#c\nB\nC\nD\nE\n\n-Y 2 +X 8\n")).accepted);
}

TEST(RadianceHeader, QuirksOfLinesAndResolution) {
  // A line of only "GAMMA=" ends the header like an empty line.
  const auto gamma = ParseText(Padded("#?R\nX\nGAMMA=\n-Y 2 +X 8\n"));
  EXPECT_TRUE(gamma.accepted);
  EXPECT_TRUE(gamma.header.flags & kHdrGamma);
  // Carriage returns before the line feeds change nothing.
  const auto crlf = ParseText(Padded("#?RADIANCE\r\nFORMAT=32-bit_rle_rgbe\r\n\r\n-Y 3 +X 9\r\n"));
  ASSERT_TRUE(crlf.accepted);
  EXPECT_EQ(crlf.header.width, 9);
  EXPECT_EQ(crlf.header.height, 3);
  // Other orientations, bad numbers and zero sizes are refused.
  EXPECT_FALSE(ParseText(Padded("#?R\nX\n\n+Y 512 +X 1024\n")).accepted);
  EXPECT_FALSE(ParseText(Padded("#?R\nX\n\n-Y 512 -X 1024\n")).accepted);
  EXPECT_FALSE(ParseText(Padded("#?R\nX\n\n-Y 5x2 +X 1024\n")).accepted);
  EXPECT_FALSE(ParseText(Padded("#?R\nX\n\n-Y 65536 +X 8\n")).accepted);
  EXPECT_FALSE(ParseText(Padded("#?R\nX\n\n-Y 0 +X 8\n")).accepted);
  // No signature is needed; files under 200 bytes are refused.
  EXPECT_TRUE(ParseText(Padded("ab\n-Y 2 +X 8\n")).accepted);
  EXPECT_FALSE(ParseText("#?RADIANCE\n\n-Y 2 +X 8\n").accepted);
}

TEST(RgbeConversion, ExamplesAndTable) {
  EXPECT_EQ(RgbeChannel(128, 129), 1.0f);
  EXPECT_NEAR(RgbeChannel(64, 129), 0.72974f, 5e-6);
  EXPECT_NEAR(RgbeChannel(32, 129), 0.53252f, 5e-6);
  EXPECT_NEAR(RgbeChannel(255, 128), 0.99822f, 5e-6);
  EXPECT_EQ(RgbeChannel(1, 136), 1.0f);
  EXPECT_EQ(RgbeChannel(0, 136), 0.0f);
  EXPECT_EQ(RgbeChannel(200, 0), 0.0f);
  for (int e = 0; e < 256; ++e)
    for (int m = 0; m < 256; ++m)
      ASSERT_EQ(RgbeChannel(m, e), RgbeChannelByFormula(m, e)) << m << " " << e;
}

class RadianceFiles : public ::testing::Test {
 protected:
  bool Read(const Bytes& bytes, Image& image, int limit = 4000) {
    const std::string path = dir_.Path("image.hdr");
    testing::WriteFile(path, bytes);
    bool isFloat = false;
    const bool ok = ReadHDR(path, image, limit, limit, isFloat);
    EXPECT_TRUE(isFloat);
    return ok;
  }

  static std::vector<Rgbe> Pattern(int width, int height) {
    std::vector<Rgbe> px;
    for (int i = 0; i < width * height; ++i) {
      const uint8_t run = static_cast<uint8_t>((i / 5) * 37);  // runs and literals mixed
      px.push_back({run, static_cast<uint8_t>(i * 13), static_cast<uint8_t>(255 - i),
                    static_cast<uint8_t>(i % 7 == 0 ? 0 : 120 + i % 20)});
    }
    return px;
  }

  static void ExpectPixels(const Image& image, const std::vector<Rgbe>& px) {
    ASSERT_EQ(image.pixels.size(), px.size() * 3 + 3);
    for (std::size_t i = 0; i < px.size(); ++i) {
      ASSERT_EQ(image.pixels[3 * i + 2], RgbeChannel(px[i][0], px[i][3])) << i;
      ASSERT_EQ(image.pixels[3 * i + 1], RgbeChannel(px[i][1], px[i][3])) << i;
      ASSERT_EQ(image.pixels[3 * i + 0], RgbeChannel(px[i][2], px[i][3])) << i;
    }
  }

  TempDir dir_;
};

TEST_F(RadianceFiles, RunLengthAndFlatDecodeTheSamePixels) {
  const auto px = Pattern(300, 7);
  Image rle, flat;
  ASSERT_TRUE(Read(testing::RunLengthRadiance(300, 7, px), rle));
  ASSERT_TRUE(Read(testing::FlatRadiance(300, 7, px), flat));
  EXPECT_EQ(rle.width, 300);
  EXPECT_EQ(rle.height, 7);
  ExpectPixels(rle, px);
  ExpectPixels(flat, px);
}

TEST_F(RadianceFiles, MalformedRunsAreRefusedAndShortDataReadsAsOnes) {
  const int w = 8;
  // A literal count of 0.
  Bytes zero = {2, 2, 0, 8, 0};
  Image image;
  EXPECT_FALSE(Read(testing::RadianceWithData(w, 1, zero), image));
  // A run longer than the rest of the scanline.
  Bytes longRun = {2, 2, 0, 8, 128 + 9, 5};
  EXPECT_FALSE(Read(testing::RadianceWithData(w, 1, longRun), image));
  // A scanline cut short: the missing bytes read as 1, so each channel row
  // continues with literal runs of one byte of value 1.
  Bytes cut = {2, 2, 0, 8, 128 + 8, 50};
  ASSERT_TRUE(Read(testing::RadianceWithData(w, 1, cut), image));
  for (int x = 0; x < w; ++x) {
    EXPECT_EQ(image.pixels[3 * x + 2], RgbeChannel(50, 1));
    EXPECT_EQ(image.pixels[3 * x + 1], RgbeChannel(1, 1));
  }
}

TEST_F(RadianceFiles, WidthLimits) {
  Image image;
  // Below 8 columns the pixels are read flat and the image is refused.
  EXPECT_FALSE(Read(testing::FlatRadiance(7, 1, Pattern(7, 1)), image));
  // Run-length scanlines wider than 3000 columns are refused...
  EXPECT_FALSE(Read(testing::RunLengthRadiance(3001, 1, Pattern(3001, 1)), image));
  EXPECT_TRUE(Read(testing::RunLengthRadiance(3000, 1, Pattern(3000, 1)), image));
  // ...flat ones load, up to the largest size the caller allows.
  const auto px = Pattern(4000, 1);
  ASSERT_TRUE(Read(testing::FlatRadiance(4000, 1, px), image));
  ExpectPixels(image, px);
  EXPECT_FALSE(Read(testing::FlatRadiance(4001, 1, Pattern(4001, 1)), image));
  EXPECT_EQ(image.width, 4001);  // the record keeps the header's sizes
  EXPECT_FALSE(Read(testing::FlatRadiance(8, 4001, {}), image));
}

TEST_F(RadianceFiles, FileSizeLimit) {
  const std::string path = dir_.Path("big.hdr");
  for (const auto& [size, accepted] : {std::pair<uintmax_t, bool>{36'000'000, true},
                                       std::pair<uintmax_t, bool>{36'000'001, false}}) {
    testing::WriteFile(path, testing::FlatRadiance(8, 1, Pattern(8, 1)));
    std::filesystem::resize_file(path, size);
    Image image;
    bool isFloat = false;
    EXPECT_EQ(ReadHDR(path, image, 4000, 4000, isFloat), accepted) << size;
  }
}

TEST_F(RadianceFiles, UnreadableInputNeverCrashes) {
  Image image;
  bool isFloat = false;
  EXPECT_FALSE(ReadHDR(dir_.Path("missing.hdr"), image, 4000, 4000, isFloat));
  EXPECT_FALSE(ReadHDR(dir_.dir(), image, 4000, 4000, isFloat));  // a folder
  EXPECT_FALSE(Read(Bytes{}, image));
  Bytes garbage(5000);
  for (std::size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<uint8_t>(i * 7919);
  EXPECT_FALSE(Read(garbage, image));
  // A header promising far more pixels than the file holds reads the rest as ones.
  ASSERT_TRUE(Read(testing::RadianceWithData(4000, 4000, Bytes(10, 0)), image));
  EXPECT_EQ(image.pixels.size(), 4000u * 4000u * 3 + 3);
}

}  // namespace
}  // namespace halvane
