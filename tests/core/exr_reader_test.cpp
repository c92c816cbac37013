#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <limits>
#include <random>

#include "support/exr_files.h"

namespace halvane {
namespace {

using testing::Bytes;
using testing::Decoded;
using testing::ExrSpec;
using testing::Linear;
using testing::Powered;
using testing::Reason;

// Values a half holds exactly, different in every pixel and channel.
Linear Gradient(int x, int y) {
  return {x * 0.5f + y, x * 0.25f + 2.0f * y + 0.125f, 100.0f - x - y * 0.5f};
}

ReadOutcome Read(const Bytes& bytes, const ImageLimits& limits = {}) {
  return testing::ReadBytes(ReadExr, bytes, limits);
}

// Blue, green, red of image pixel (x, y).
Linear Stored(const Image& image, int x, int y) {
  const float* p = image.pixels.data() + 3 * (static_cast<std::size_t>(y) * image.width + x);
  return {p[2], p[1], p[0]};
}

Linear PoweredColour(const Linear& v) {
  return {Powered(v[0]), Powered(v[1]), Powered(v[2])};
}

void ExpectPicture(const ReadResult& r, int width, int height,
                   const std::function<Linear(int, int)>& expected) {
  ASSERT_TRUE(r.isFloat);
  ASSERT_EQ(r.image.width, width);
  ASSERT_EQ(r.image.height, height);
  ASSERT_EQ(r.image.pixels.size(), static_cast<std::size_t>(width) * height * 3 + 3);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      ASSERT_EQ(Stored(r.image, x, y), expected(x, y)) << x << "," << y;
}

TEST(ExrReader, LosslessFilesOfEveryLayoutGiveThePoweredValues) {
  const auto expected = [](int x, int y) { return PoweredColour(Gradient(x, y)); };
  for (const auto compression : {Imf::NO_COMPRESSION, Imf::RLE_COMPRESSION, Imf::ZIPS_COMPRESSION,
                                 Imf::ZIP_COMPRESSION, Imf::PIZ_COMPRESSION})
    for (const bool half : {true, false})
      for (const int tile : {0, 3}) {
        SCOPED_TRACE(::testing::Message() << compression << " half " << half << " tile " << tile);
        const ExrSpec layout{
            .width = 8, .height = 5, .compression = compression, .half = half, .tileSize = tile};
        const ReadResult r = Decoded(Read(testing::ExrFile(layout, Gradient)));
        ExpectPicture(r, 8, 5, expected);
        EXPECT_EQ(r.rowsRead, 5);
        EXPECT_FALSE(r.scaled);
      }
}

TEST(ExrReader, LossyCompressionsReadClose) {
  const auto smooth = [](int x, int y) { return Linear{1.0f + x / 64.0f, 2.0f + y / 32.0f, 3.0f}; };
  for (const auto compression : {Imf::B44_COMPRESSION, Imf::B44A_COMPRESSION, Imf::DWAA_COMPRESSION,
                                 Imf::DWAB_COMPRESSION, Imf::PXR24_COMPRESSION}) {
    const ExrSpec layout{.width = 64, .height = 40, .compression = compression, .half = false};
    const ReadResult r = Decoded(Read(testing::ExrFile(layout, smooth)));
    ASSERT_EQ(r.image.width, 64) << compression;
    for (int k = 0; k < 3; ++k)
      EXPECT_NEAR(Stored(r.image, 37, 21)[k], Powered(smooth(37, 21)[k]), 0.01) << compression;
  }
}

TEST(ExrReader, LuminanceIsGreyAndAlphaIsIgnored) {
  const ExrSpec grey{.channels = {"Y"}};
  ExpectPicture(Decoded(Read(testing::ExrFile(grey, Gradient))), 8, 4, [](int x, int y) {
    const float v = Powered(Gradient(x, y)[0]);
    return Linear{v, v, v};
  });
  const ExrSpec withAlpha{.channels = {"A", "B", "G", "R"}};
  ExpectPicture(Decoded(Read(testing::ExrFile(withAlpha, Gradient))), 8, 4,
                [](int x, int y) { return PoweredColour(Gradient(x, y)); });
}

TEST(ExrReader, TheDisplayWindowIsThePictureAndHasZerosWithoutData) {
  // Data from column -2 to 5 and row 1 to 5 of an 8 x 4 display window.
  const ExrSpec layout{
      .width = 8, .height = 4, .dataX = -2, .dataY = 1, .dataWidth = 8, .dataHeight = 5};
  ExpectPicture(Decoded(Read(testing::ExrFile(layout, Gradient))), 8, 4, [](int x, int y) {
    return x <= 5 && y >= 1 ? PoweredColour(Gradient(x, y)) : Linear{0, 0, 0};
  });
  // Data wholly outside: a black picture of the display window's size.
  const ExrSpec outside{.width = 8, .height = 4, .dataX = 20, .dataY = 0, .dataWidth = 3};
  ExpectPicture(Decoded(Read(testing::ExrFile(outside, Gradient))), 8, 4, [](int, int) {
    return Linear{0, 0, 0};
  });
}

TEST(ExrReader, NotANumberNegativeAndInfiniteValuesAreReplacedAndCounted) {
  const float inf = std::numeric_limits<float>::infinity();
  const auto awkward = [inf](int x, int) {
    return x == 0 ? Linear{std::nanf(""), -1.0f, inf} : Linear{-inf, -0.0f, 4.0f};
  };
  for (const bool half : {true, false}) {
    const ExrSpec layout{.width = 2, .height = 1, .half = half};
    const ReadResult r = Decoded(Read(testing::ExrFile(layout, awkward)));
    const float largest = Powered(half ? 65504.0L : FLT_MAX);
    EXPECT_EQ(Stored(r.image, 0, 0), (Linear{0, 0, largest})) << half;
    EXPECT_EQ(Stored(r.image, 1, 0), (Linear{0, 0, Powered(4)})) << half;
    EXPECT_EQ(r.repairs.zeroed, 3) << half;  // not a number, -1 and -infinity; -0 is 0
    EXPECT_EQ(r.repairs.clamped, 1) << half;
  }
}

TEST(ExrReader, RefusalsSayWhy) {
  EXPECT_EQ(Reason(Read(Bytes(100, 0))), "not an OpenEXR file (no magic number)");
  EXPECT_NE(Reason(Read({0x76, 0x2f, 0x31})), "read");
  EXPECT_EQ(Reason(Read(testing::ExrFile({.channels = {"A", "Z"}}, Gradient))),
            "no R, G, B or Y channels (it has A, Z)");
  EXPECT_EQ(Reason(Read(testing::ExrFile({.channels = {"BY", "RY", "Y"}}, Gradient))),
            "luminance-chroma pictures (Y, RY, BY) are not read");
  EXPECT_EQ(Reason(Read(testing::ExrFile({.width = 9}, Gradient), {.maxWidth = 8, .maxHeight = 8})),
            "image too large (9 x 4, largest 8 x 8)");
  // The library's own limit on the data window, and its words.
  const ExrSpec wide{.width = 8, .height = 4, .dataWidth = 40};
  EXPECT_NE(Reason(Read(testing::ExrFile(wide, Gradient), {.largestSourceSide = 32}))
                .find("exceeds the maximum width of 32"),
            std::string::npos);
  // A size no file holds is refused before the library allocates it.
  Bytes forged = testing::ExrFile({}, Gradient);
  const std::string chlist = "chlist";
  const auto type = std::search(forged.begin(), forged.end(), chlist.begin(), chlist.end());
  std::fill_n(type + 7, 3, 0xFF);
  type[10] = 0x7F;
  EXPECT_NE(Reason(Read(forged)).find("damaged header (attribute channels of 2147483647 bytes"),
            std::string::npos);
  // A channel list that ends before its stated size: the library would read
  // the bytes after it as an attribute stating 2 GB.
  Bytes misaligned = testing::ExrFile({}, Gradient);
  const auto list = std::search(misaligned.begin(), misaligned.end(), chlist.begin(), chlist.end());
  const std::size_t sizeAt = static_cast<std::size_t>(list - misaligned.begin()) + 7;
  const std::size_t stated = misaligned[sizeAt];
  misaligned[sizeAt] = static_cast<uint8_t>(stated + 8);
  const Bytes bomb = {'z', 0, 'w', 0, 0xFF, 0xFF, 0xFF, 0x7F};
  misaligned.insert(misaligned.begin() + static_cast<std::ptrdiff_t>(sizeAt + 4 + stated),
                    bomb.begin(), bomb.end());
  EXPECT_EQ(Reason(Read(misaligned)), "damaged header (attribute channels of type chlist states " +
                                          std::to_string(stated + 8) + " bytes for a value of " +
                                          std::to_string(stated) + ")");
  // A preview of 2^32 - 1 pixels a side states more bytes than any file holds.
  Bytes hugePreview = testing::ExrFile({}, Gradient);
  const Bytes preview = {'p',  'r',  'e',  'v',  'i',  'e',  'w',  0,   'p', 'r',
                         'e',  'v',  'i',  'e',  'w',  0,    8,    0,   0,   0,
                         0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
  hugePreview.insert(hugePreview.begin() + 8, preview.begin(), preview.end());
  EXPECT_NE(Reason(Read(hugePreview)).find("damaged header"), std::string::npos);
  // The library would read this ID manifest 4 bytes past its end, into the
  // next attribute.
  Bytes manifest = testing::ExrFile({}, Gradient);
  const Bytes idManifest = {'m', 0, 'i', 'd', 'm', 'a', 'n', 'i', 'f', 'e', 's', 't', 0, 12, 0,
                            0,   0, 1,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0, 0};
  manifest.insert(manifest.begin() + 8, idManifest.begin(), idManifest.end());
  EXPECT_EQ(Reason(Read(manifest)),
            "attribute m is an ID manifest, which the installed OpenEXR library cannot read (it "
            "reads 4 bytes past the attribute)");
  Bytes multiPart = testing::ExrFile({}, Gradient);
  multiPart[5] |= 0x10;
  EXPECT_EQ(Reason(Read(multiPart)), "multi-part files are not read");
}

TEST(ExrReader, CutAndDamagedFilesGiveTheLibrarysReason) {
  const Bytes whole =
      testing::ExrFile({.width = 64, .height = 48, .compression = Imf::PIZ_COMPRESSION}, Gradient);
  for (const std::size_t size : {std::size_t{4}, std::size_t{8}, std::size_t{60}, std::size_t{300},
                                 whole.size() / 2, whole.size() - 1}) {
    const std::string reason = Reason(Read(Bytes(whole.begin(), whole.begin() + size)));
    EXPECT_NE(reason, "read") << size;
    EXPECT_FALSE(reason.empty()) << size;
  }
  // Every byte of the header and the offset table flipped in turn: the file
  // reads or is refused with words, and never crashes.
  int refused = 0;
  for (std::size_t at = 0; at < 400 && at < whole.size(); ++at) {
    Bytes damaged = whole;
    damaged[at] ^= 0xFF;
    const std::string reason = Reason(Read(damaged));
    EXPECT_FALSE(reason.empty()) << at;
    refused += reason != "read";
  }
  EXPECT_GT(refused, 100);
}

TEST(ExrReader, AScaledDownPixelIsThePoweredMeanOfItsBlock) {
  // 21 x 13 float values spread over many magnitudes, with repaired values
  // among them, into at most 6 x 6: halved twice, to 6 x 4 with partial
  // blocks in the last column and row.
  std::mt19937 random(3);
  std::vector<Linear> values(21 * 13);
  for (Linear& v : values)
    for (float& c : v) c = std::ldexp(static_cast<float>(random() % 1000), int(random() % 40) - 20);
  values[5] = {-1.0f, std::numeric_limits<float>::infinity(), 2.0f};
  const auto picture = [&](int x, int y) { return values[static_cast<std::size_t>(y) * 21 + x]; };
  std::vector<ScalePlan> asked;
  ImageLimits limits{.maxWidth = 6, .maxHeight = 6};
  limits.scaleDown = [&](const ScalePlan& plan) {
    asked.push_back(plan);
    return true;
  };
  for (const int threads : {1, 3}) {
    limits.threads = threads;
    const ReadResult r = Decoded(
        Read(testing::ExrFile({.width = 21, .height = 13, .half = false}, picture), limits));
    ASSERT_TRUE(r.scaled);
    EXPECT_EQ(r.scaled->shift, 2);
    for (int k = 0; k < 3; ++k) {
      const auto channel = [&](int x, int y) {
        const float v = picture(x, y)[static_cast<std::size_t>(k)];
        return v < 0 ? 0.0f : std::isinf(v) ? FLT_MAX : v;
      };
      for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
          ASSERT_EQ(Stored(r.image, x, y)[static_cast<std::size_t>(k)],
                    testing::PoweredBlockMean(channel, 4 * x, 4 * y, 2, 21, 13))
              << x << "," << y << " channel " << k;
    }
    EXPECT_EQ(r.repairs.zeroed, 1);
    EXPECT_EQ(r.repairs.clamped, 1);
  }
  ASSERT_EQ(asked.size(), 4u);  // each read is made twice, whole and in blocks
  EXPECT_EQ(asked[0].width, 6);
  EXPECT_EQ(asked[0].height, 4);
  EXPECT_EQ(asked[0].sourceWidth, 21);
  // Answering no keeps the refusal.
  limits.scaleDown = [](const ScalePlan&) { return false; };
  EXPECT_EQ(Reason(Read(testing::ExrFile({.width = 21, .height = 13}, picture), limits)),
            "image too large (21 x 13, largest 6 x 6)");
}

}  // namespace
}  // namespace halvane
