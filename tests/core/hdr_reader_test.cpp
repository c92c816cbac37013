#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <tuple>

#include "image/hdr_header.h"
#include "image/rgbe.h"
#include "image/rgbe_block_sum.h"
#include "support/exr_files.h"

namespace halvane {
namespace {

using testing::Bytes;
using testing::Decoded;
using testing::Reason;
using testing::Rgbe;

// Parses a header padded beyond the 200-byte minimum.
OrError<RadianceHeader> Parse(const std::string& header, std::size_t padding = 300) {
  const std::string text = header + std::string(padding, '\x01');
  SpanSource source({reinterpret_cast<const uint8_t*>(text.data()), text.size()});
  ByteStream in(source);
  return ParseRadianceHeader(in);
}

RadianceHeader Accepted(const std::string& header) {
  return std::get<RadianceHeader>(Parse(header));
}

TEST(RadianceHeader, SignatureCommentsExposureAndFlags) {
  const auto plain = Accepted("#?RADIANCE\nFORMAT=32-bit_rle_rgbe\n\n-Y 512 +X 1024\n");
  EXPECT_EQ(plain.width, 1024);
  EXPECT_EQ(plain.height, 512);
  EXPECT_EQ(plain.flags, kHdrSignature);  // the FORMAT line was read over unexamined
  EXPECT_EQ(plain.programType, "RADIANCE   ");
  const auto commented =
      Accepted("#?RADIANCE\n# made by hand\nFORMAT=32-bit_rle_rgbe\nEXPOSURE=1.5\n\n-Y 2 +X 8\n");
  EXPECT_EQ(commented.programType, "RADIANCE   # made by hand");
  EXPECT_EQ(commented.flags, kHdrSignature | kHdrExposure | kHdrRleFormat);
  EXPECT_EQ(commented.exposure, 1.5f);
  // Only "whole.fraction" exposures are read.
  for (auto [line, exposure] :
       {std::pair{"EXPOSURE=1", 1.0f}, {"EXPOSURE=1.e5", 1.0f}, {"EXPOSURE= 2.5", 2.5f}})
    EXPECT_EQ(Accepted("#?R\nX\n" + std::string(line) + "\n\n-Y 2 +X 8\n").exposure, exposure);
  // A line of only "GAMMA=" ends the header like an empty line.
  EXPECT_TRUE(Accepted("#?R\nX\nGAMMA=\n-Y 2 +X 8\n").flags & kHdrGamma);
  // Carriage returns before the line feeds change nothing; no signature is needed.
  EXPECT_EQ(Accepted("#?RADIANCE\r\nFORMAT=32-bit_rle_rgbe\r\n\r\n-Y 3 +X 9\r\n").width, 9);
  EXPECT_EQ(Accepted("ab\n-Y 2 +X 8\n").height, 2);
}

TEST(RadianceHeader, RefusalsSayWhy) {
  // After a signature whose next line is not a comment, that line and four
  // more may precede the empty line; a comment right after the signature
  // uses up a pass of its own.
  const std::string noEnd = "not a Radiance file (no empty line ends the header)";
  EXPECT_EQ(Reason(Parse("#?R\nA\nB\nC\nD\nE\n\n-Y 2 +X 8\n")), "read");
  EXPECT_EQ(Reason(Parse("#?R\nA\nB\nC\nD\nE\nF\n\n-Y 2 +X 8\n")), noEnd);
  EXPECT_EQ(Reason(Parse("#?R\n#c\nB\nC\nD\n\n-Y 2 +X 8\n")), "read");
  EXPECT_EQ(Reason(Parse("#?R\n#c\nB\nC\nD\nE\n\n-Y 2 +X 8\n")), noEnd);

  const std::string noResolution = "no \"-Y height +X width\" resolution line";
  EXPECT_EQ(Reason(Parse("#?R\nX\n\n+Y 512 +X 1024\n")), noResolution);
  EXPECT_EQ(Reason(Parse("#?R\nX\n\n-Y 512 -X 1024\n")), noResolution);
  EXPECT_EQ(Reason(Parse("#?R\nX\n\n-Y 5x2 +X 1024\n")), "unreadable resolution line");
  EXPECT_EQ(Reason(Parse("#?R\nX\n\n-Y 65536 +X 8\n")), "unreadable resolution line");
  EXPECT_EQ(Reason(Parse("#?R\nX\n\n-Y 0 +X 8\n")), "image has no pixels (8 x 0)");
  EXPECT_EQ(Reason(Parse("#?RADIANCE\n\n-Y 2 +X 8\n", 0)),
            "not a Radiance file (shorter than 200 bytes)");
}

TEST(RgbeConversion, ExamplesAndTable) {
  EXPECT_EQ(RgbeChannel(128, 129), 1.0f);
  EXPECT_NEAR(RgbeChannel(64, 129), 0.72974f, 5e-6);
  EXPECT_NEAR(RgbeChannel(255, 128), 0.99822f, 5e-6);
  EXPECT_EQ(RgbeChannel(1, 136), 1.0f);
  EXPECT_EQ(RgbeChannel(0, 136), 0.0f);
  EXPECT_EQ(RgbeChannel(200, 0), 0.0f);
  for (int e = 0; e < 256; ++e)
    for (int m = 0; m < 256; ++m)
      ASSERT_EQ(RgbeChannel(m, e), RgbeChannelByFormula(m, e)) << m << " " << e;
}

std::vector<Rgbe> Pattern(int width, int height) {
  std::vector<Rgbe> px;
  for (int i = 0; i < width * height; ++i) {
    const uint8_t run = static_cast<uint8_t>((i / 5) * 37);  // runs and literals mixed
    px.push_back({run, static_cast<uint8_t>(i * 13), static_cast<uint8_t>(255 - i),
                  static_cast<uint8_t>(i % 7 == 0 ? 0 : 120 + i % 20)});
  }
  return px;
}

void ExpectPixels(const ReadResult& r, const std::vector<Rgbe>& px) {
  ASSERT_TRUE(r.isFloat);
  ASSERT_EQ(r.image.pixels.size(), px.size() * 3 + 3);
  for (std::size_t i = 0; i < px.size(); ++i) {
    ASSERT_EQ(r.image.pixels[3 * i + 2], RgbeChannel(px[i][0], px[i][3])) << i;
    ASSERT_EQ(r.image.pixels[3 * i + 1], RgbeChannel(px[i][1], px[i][3])) << i;
    ASSERT_EQ(r.image.pixels[3 * i + 0], RgbeChannel(px[i][2], px[i][3])) << i;
  }
}

ReadOutcome Read(const Bytes& bytes, const ImageLimits& limits = {}) {
  return testing::ReadBytes(ReadHdr, bytes, limits);
}

TEST(RadianceReader, RunLengthAndFlatDecodeTheSamePixels) {
  const auto px = Pattern(300, 7);
  const ReadResult rle = Decoded(Read(testing::RunLengthRadiance(300, 7, px)));
  EXPECT_EQ(rle.image.width, 300);
  EXPECT_EQ(rle.image.height, 7);
  EXPECT_EQ(rle.rowsRead, 7);
  ExpectPixels(rle, px);
  ExpectPixels(Decoded(Read(testing::FlatRadiance(300, 7, px))), px);
}

TEST(RadianceReader, RunsMustFitTheScanline) {
  // A run or a literal stretch may end exactly at the row end, not beyond it.
  const ReadResult exact = Decoded(Read(testing::RadianceWithData(
      8, 1, {2, 2, 0, 8, 128 + 8, 50, 8, 1, 2, 3, 4, 5, 6, 7, 8, 128 + 8, 9, 128 + 8, 130})));
  EXPECT_EQ(exact.image.pixels[3 * 7 + 2], RgbeChannel(50, 130));
  EXPECT_EQ(exact.image.pixels[3 * 7 + 1], RgbeChannel(8, 130));
  EXPECT_EQ(Reason(Read(testing::RadianceWithData(8, 1, {2, 2, 0, 8, 128 + 9, 5}))),
            "a run longer than the row in scanline 1");
  EXPECT_EQ(Reason(Read(testing::RadianceWithData(8, 1, {2, 2, 0, 8, 9}))),
            "a literal stretch longer than the row in scanline 1");
  Bytes zeroInSecond = {2, 2, 0, 8, 128 + 8, 1, 128 + 8, 1, 128 + 8, 1, 128 + 8, 1, 2, 2, 0, 8, 0};
  EXPECT_EQ(Reason(Read(testing::RadianceWithData(8, 2, zeroInSecond))),
            "a literal count of 0 in scanline 2");
}

TEST(RadianceReader, DataEndingEarlyReadsAsOnes) {
  // A scanline cut short: the missing bytes read as 1, so each channel row
  // continues with literal stretches of one byte of value 1.
  const ReadResult cut = Decoded(Read(testing::RadianceWithData(8, 1, {2, 2, 0, 8, 128 + 8, 50})));
  EXPECT_EQ(cut.rowsRead, 0);
  for (int x = 0; x < 8; ++x) {
    EXPECT_EQ(cut.image.pixels[3 * x + 2], RgbeChannel(50, 1));
    EXPECT_EQ(cut.image.pixels[3 * x + 1], RgbeChannel(1, 1));
  }
  // Flat data: whole rows read count; the rest is made of ones.
  const auto px = Pattern(8, 3);
  Bytes flat = testing::FlatRadiance(8, 3, px);
  flat.resize(flat.size() - 40);
  const ReadResult partial = Decoded(Read(flat));
  EXPECT_EQ(partial.rowsRead, 1);
  EXPECT_EQ(partial.image.pixels[3 * 8 + 2], RgbeChannel(px[8][0], px[8][3]));
  EXPECT_EQ(partial.image.pixels[3 * 23], RgbeChannel(1, 1));
}

TEST(RadianceReader, ScanlineWithoutMarkerRereadsFlatFromFourBytesBack) {
  // Scanline 2 holds a single byte: its marker reads 2, 1, 1, 1 and is no
  // marker; the reader goes four bytes back, three into scanline 1, and reads
  // the whole picture flat from there.
  const Bytes data = {2, 2, 0, 8, 128 + 8, 10, 128 + 8, 20, 128 + 8, 30, 128 + 8, 40, 2};
  const ReadResult r = Decoded(Read(testing::RadianceWithData(8, 2, data)));
  EXPECT_EQ(r.rowsRead, 0);
  EXPECT_EQ(r.image.pixels[2], RgbeChannel(30, 2));
  EXPECT_EQ(r.image.pixels[1], RgbeChannel(128 + 8, 2));
  EXPECT_EQ(r.image.pixels[0], RgbeChannel(40, 2));
  EXPECT_EQ(r.image.pixels[3], RgbeChannel(1, 1));
}

TEST(RadianceReader, SizeLimits) {
  EXPECT_EQ(Reason(Read(testing::FlatRadiance(7, 1, Pattern(7, 1)))),
            "width outside 8 to 32767 columns (7 x 1)");
  // Run-length and flat scanlines load up to the largest size the caller allows.
  const auto px = Pattern(4000, 2);
  ExpectPixels(Decoded(Read(testing::RunLengthRadiance(4000, 2, px))), px);
  EXPECT_EQ(Reason(Read(testing::FlatRadiance(4001, 1, {}))),
            "image too large (4001 x 1, largest 4000 x 4000)");
  EXPECT_EQ(Reason(testing::ReadBytes(ReadHdr, testing::FlatRadiance(8, 3, {}),
                                      {.maxWidth = 8, .maxHeight = 2})),
            "image too large (8 x 3, largest 8 x 2)");
}

// The linear value the program reads from an RGBE channel: m * 2^(e - 136).
long double LinearOf(uint8_t m, uint8_t e) {
  return e == 0 ? 0.0L : m * std::ldexp(1.0L, e - 136);
}

TEST(RadianceReader, AScaledDownPixelIsThePoweredMeanOfItsBlock) {
  // 21 x 13 into at most 6 x 6: halved twice, to 6 x 4; into 3 x 3: three
  // times, to 3 x 2; with partial blocks in the last column and row.
  // Exponents vary, so the sums mix magnitudes.
  const auto px = Pattern(21, 13);
  std::vector<std::string> progress;
  for (const auto& [side, shift, width, height] : {std::tuple{6, 2, 6, 4}, {3, 3, 3, 2}}) {
    ImageLimits limits{.maxWidth = side, .maxHeight = side};
    limits.scaleDown = [](const ScalePlan&) { return true; };
    limits.progress.report = [&](const std::string& text, double) { progress.push_back(text); };
    for (const Bytes& file :
         {testing::RunLengthRadiance(21, 13, px), testing::FlatRadiance(21, 13, px)}) {
      const ReadResult r = Decoded(Read(file, limits));
      ASSERT_TRUE(r.scaled);
      EXPECT_EQ(r.scaled->shift, shift);
      ASSERT_EQ(r.image.pixels.size(), static_cast<std::size_t>(width * height * 3 + 3));
      EXPECT_EQ(r.rowsRead, height);
      for (int k = 0; k < 3; ++k) {
        const auto linear = [&](int x, int y) {
          const Rgbe& p = px[static_cast<std::size_t>(y * 21 + x)];
          return LinearOf(p[static_cast<std::size_t>(2 - k)], p[3]);
        };
        for (int y = 0; y < height; ++y)
          for (int x = 0; x < width; ++x)
            ASSERT_EQ(r.image.pixels[3 * static_cast<std::size_t>(y * width + x) + k],
                      testing::PoweredBlockMean(linear, x << shift, y << shift, shift, 21, 13))
                << x << "," << y << " channel " << k;
      }
    }
  }
  // Each whole percentage once, in every one of the eight reads (two files,
  // each read whole and in blocks); 13 rows in one chunk: 100% only.
  EXPECT_EQ(progress, std::vector<std::string>(8, "Reading the image... 100%"));
}

TEST(RgbeBlockSums, IntegerSumsEqualTheSumsInOrder) {
  // Blocks of up to 32 x 32 pixels whose exponents spread from none to all
  // 255: close exponents take the integer path, wide ones the ordered one.
  std::mt19937 random(11);
  for (int trial = 0; trial < 3000; ++trial) {
    const int width = 1 + static_cast<int>(random() % 32),
              height = 1 + static_cast<int>(random() % 32);
    const int low = 1 + static_cast<int>(random() % 254);
    const int spread = static_cast<int>(random() % (256 - low));
    std::vector<uint8_t> pixels(4 * static_cast<std::size_t>(width) * height);
    for (std::size_t i = 0; i < pixels.size(); i += 4) {
      for (std::size_t k = 0; k < 3; ++k) pixels[i + k] = static_cast<uint8_t>(random());
      pixels[i + 3] = random() % 8 == 0 ? 0 : static_cast<uint8_t>(low + random() % (spread + 1));
    }
    std::vector<const uint8_t*> rows;
    for (int y = 0; y < height; ++y)
      rows.push_back(pixels.data() + 4 * static_cast<std::size_t>(y) * width);
    const int x0 = static_cast<int>(random() % static_cast<unsigned>(width));
    const auto fast = RgbeBlockSums(rows.data(), height, x0, width);
    const auto inOrder = RgbeBlockSumsInOrder(rows.data(), height, x0, width);
    for (std::size_t k = 0; k < 3; ++k)
      ASSERT_EQ(std::memcmp(&fast[k], &inOrder[k], 10), 0) << trial << " spread " << spread;
  }
}

TEST(RadianceReader, ScalingDownFollowsTheSwitchToFlatData) {
  // Scanline 1 run-length, the rest flat: the flat re-read starts over at
  // the top, exactly as a flat file of the same bytes reads.
  const auto px = Pattern(10, 6);
  Bytes flatRest;
  for (std::size_t i = 10; i < px.size(); ++i)
    flatRest.insert(flatRest.end(), px[i].begin(), px[i].end());
  Bytes data;
  testing::AppendRunLengthScanline(std::vector<Rgbe>(px.begin(), px.begin() + 10), data);
  data.insert(data.end(), flatRest.begin(), flatRest.end());
  const Bytes mixed = testing::RadianceWithData(10, 6, data);
  ImageLimits limits{.maxWidth = 4, .maxHeight = 4};
  limits.scaleDown = [](const ScalePlan&) { return true; };
  const ReadResult fromMixed = Decoded(Read(mixed, limits));
  const ReadResult fromFlat = Decoded(Read(testing::RadianceWithData(10, 6, flatRest), limits));
  EXPECT_EQ(fromMixed.image.pixels, fromFlat.image.pixels);
  EXPECT_EQ(fromMixed.image.width, 3);
  EXPECT_EQ(fromMixed.rowsRead, 1);  // the flat data ends early: only the first block row is whole
}

}  // namespace
}  // namespace halvane
