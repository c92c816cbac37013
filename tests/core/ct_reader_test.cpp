#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>

#include "image/readers.h"
#include "support/ct_tga_files.h"
#include "support/image_files.h"

namespace halvane {
namespace {

using testing::AppendBigEndianBits;
using testing::AppendBigEndianWord;
using testing::Bytes;
using testing::CtFile;
using testing::TempDir;
using testing::UnitByte;
using testing::WriteFile;

struct CtRead {
  bool ok = false;
  bool isFloat = false;
  Image image;
};

class CtReaderTest : public ::testing::Test {
 protected:
  CtRead Read(const Bytes& bytes, int maxWidth = 4000, int maxHeight = 4000) {
    const std::string path = dir_.Path("picture.ct");
    WriteFile(path, bytes);
    CtRead result;
    result.isFloat = true;  // the reader must set it either way
    result.ok = ReadCT(path, result.image, maxWidth, maxHeight, result.isFloat);
    return result;
  }
  // Channel k (0 blue, 1 green, 2 red) of pixel (x, y), row 0 the top.
  static float At(const Image& image, int x, int y, int k) {
    return image.pixels.at(static_cast<std::size_t>(image.ChannelIndex(x, y, k)));
  }

  TempDir dir_;
};

TEST_F(CtReaderTest, DepthFollowsFromTheExactDataSize) {
  const CtRead eight = Read(CtFile(2, 1, Bytes(8, 0)));
  EXPECT_TRUE(eight.ok);
  EXPECT_FALSE(eight.isFloat);

  const CtRead sixteen = Read(CtFile(2, 1, Bytes(16, 0)));
  EXPECT_TRUE(sixteen.ok);
  EXPECT_FALSE(sixteen.isFloat);

  const CtRead floats = Read(CtFile(2, 1, Bytes(32, 0)));
  EXPECT_TRUE(floats.ok);
  EXPECT_TRUE(floats.isFloat);

  EXPECT_FALSE(Read(CtFile(2, 1, Bytes(12, 0))).ok);
  EXPECT_FALSE(Read(CtFile(2, 1, Bytes(9, 0))).ok) << "a trailing byte makes the size unmatched";
}

TEST_F(CtReaderTest, EightBitChannelsAreScaledBy255) {
  const CtRead r = Read(CtFile(1, 1, {255, 128, 0, 77}));
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.image.width, 1);
  EXPECT_EQ(r.image.height, 1);
  EXPECT_EQ(r.image.fileSize, 12);
  EXPECT_EQ(r.image.pixels.size(), 6u);
  EXPECT_EQ(At(r.image, 0, 0, 2), 1.0f);
  EXPECT_EQ(At(r.image, 0, 0, 1), UnitByte(128));
  EXPECT_NEAR(At(r.image, 0, 0, 1), 0.50196f, 1e-5f);
  EXPECT_EQ(At(r.image, 0, 0, 0), 0.0f);
}

TEST_F(CtReaderTest, SixteenBitChannelsAreBigEndianOver65535) {
  Bytes data;
  AppendBigEndianWord(data, 0x8000);
  AppendBigEndianWord(data, 0xFFFF);
  AppendBigEndianWord(data, 0x0001);
  AppendBigEndianWord(data, 0x1234);
  const CtRead r = Read(CtFile(1, 1, data));
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(At(r.image, 0, 0, 2), static_cast<float>(32768 / 65535.0L));
  EXPECT_NEAR(At(r.image, 0, 0, 2), 0.500008f, 1e-6f);
  EXPECT_EQ(At(r.image, 0, 0, 1), 1.0f);
  EXPECT_EQ(At(r.image, 0, 0, 0), static_cast<float>(1 / 65535.0L));
}

TEST_F(CtReaderTest, FloatChannelsKeepTheirBitPatterns) {
  Bytes data;
  AppendBigEndianBits(data, 0x3F800000);  // 1.0
  AppendBigEndianBits(data, 0x40490FDB);  // pi
  AppendBigEndianBits(data, 0xC2F60000);  // -123.0
  AppendBigEndianBits(data, 0);
  AppendBigEndianBits(data, 0x7F800000);  // +inf
  AppendBigEndianBits(data, 0x7FC01234);  // a NaN with a payload
  AppendBigEndianBits(data, 0x00000001);  // the smallest subnormal
  AppendBigEndianBits(data, 0);
  const CtRead r = Read(CtFile(2, 1, data));
  ASSERT_TRUE(r.ok);
  ASSERT_TRUE(r.isFloat);
  EXPECT_EQ(At(r.image, 0, 0, 2), 1.0f);
  EXPECT_EQ(At(r.image, 0, 0, 1), 3.1415927f);
  EXPECT_EQ(At(r.image, 0, 0, 0), -123.0f);
  EXPECT_EQ(At(r.image, 1, 0, 2), std::numeric_limits<float>::infinity());
  EXPECT_EQ(std::bit_cast<uint32_t>(At(r.image, 1, 0, 1)), 0x7FC01234u);
  EXPECT_EQ(std::bit_cast<uint32_t>(At(r.image, 1, 0, 0)), 0x00000001u);
}

TEST_F(CtReaderTest, FirstFilePixelIsTheBottomLeftCorner) {
  // 2 x 2, 8-bit; the red byte numbers the pixels in file order.
  const CtRead r = Read(CtFile(2, 2, {1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0, 4, 0, 0, 0}));
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(At(r.image, 0, 1, 2), UnitByte(1));
  EXPECT_EQ(At(r.image, 1, 1, 2), UnitByte(2));
  EXPECT_EQ(At(r.image, 0, 0, 2), UnitByte(3));
  EXPECT_EQ(At(r.image, 1, 0, 2), UnitByte(4));
}

TEST_F(CtReaderTest, SidesAboveTheCallersLimitsAreRefusedWithTheHeaderSizeKept) {
  const CtRead wide = Read(CtFile(4001, 1, Bytes(4001 * 4, 0)));
  EXPECT_FALSE(wide.ok);
  EXPECT_EQ(wide.image.width, 4001);
  EXPECT_FALSE(Read(CtFile(1, 4001, Bytes(4001 * 4, 0))).ok);
  EXPECT_TRUE(Read(CtFile(4000, 1, Bytes(4000 * 4, 0))).ok);
  EXPECT_TRUE(Read(CtFile(1, 4000, Bytes(4000 * 4, 0))).ok);
  EXPECT_FALSE(Read(CtFile(3, 2, Bytes(24, 0)), 2, 2).ok);
}

TEST_F(CtReaderTest, FilesLargerThanTheBufferAreRefused) {
  // 3000 x 3000 8-bit is 8 + 36,000,000 bytes: one byte over the limit's worth.
  const CtRead big = Read(CtFile(3000, 3000, Bytes(36'000'000, 0)));
  EXPECT_FALSE(big.ok);
  EXPECT_EQ(big.image.fileSize, 36'000'008);
  EXPECT_TRUE(Read(CtFile(3000, 2999, Bytes(35'988'000, 0))).ok);
}

TEST_F(CtReaderTest, UnreadableFilesAreRefused) {
  EXPECT_FALSE(Read(CtFile(0, 5, {})).ok) << "zero width";
  EXPECT_FALSE(Read(CtFile(5, 0, {})).ok) << "zero height";
  EXPECT_FALSE(Read({0, 0, 0, 1, 0, 1}).ok) << "shorter than the header";
  Image image;
  bool isFloat = true;
  EXPECT_FALSE(ReadCT(dir_.Path("missing.ct"), image, 4000, 4000, isFloat));
  EXPECT_FALSE(ReadCT(dir_.dir(), image, 4000, 4000, isFloat)) << "a folder";
}

}  // namespace
}  // namespace halvane
