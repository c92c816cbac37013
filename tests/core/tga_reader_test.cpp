#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "image/readers.h"
#include "support/ct_tga_files.h"
#include "support/image_files.h"

namespace halvane {
namespace {

using testing::Bgra;
using testing::Bytes;
using testing::TargaFile;
using testing::TargaLayout;
using testing::TargaRawPixels;
using testing::TempDir;
using testing::UnitByte;
using testing::WriteFile;

struct TgaRead {
  bool ok = false;
  Image image;
};

class TgaReaderTest : public ::testing::Test {
 protected:
  TgaRead Read(const Bytes& bytes, int maxWidth = 4000, int maxHeight = 4000) {
    const std::string path = dir_.Path("picture.tga");
    WriteFile(path, bytes);
    return ReadPath(path, maxWidth, maxHeight);
  }
  static TgaRead ReadPath(const std::string& path, int maxWidth = 4000, int maxHeight = 4000) {
    TgaRead result;
    bool isFloat = true;
    result.ok = ReadTGA(path, result.image, maxWidth, maxHeight, isFloat);
    EXPECT_FALSE(isFloat);
    return result;
  }
  // The stored bytes of pixel (x, y) as blue, green, red; row 0 the top.
  static std::array<float, 3> At(const Image& image, int x, int y) {
    const auto i = static_cast<std::size_t>(image.ChannelIndex(x, y, 0));
    return {image.pixels.at(i), image.pixels.at(i + 1), image.pixels.at(i + 2)};
  }
  static std::array<float, 3> Unit(const Bgra& p) {
    return {UnitByte(p[0]), UnitByte(p[1]), UnitByte(p[2])};
  }
  static TargaLayout RunLength(int width, int height, bool topRowFirst, uint8_t depth = 24) {
    return {width, height, 10, depth, topRowFirst, "", 0, 0, 0};
  }

  TempDir dir_;
};

constexpr Bgra kA{1, 2, 3, 0}, kB{4, 5, 6, 0}, kC{7, 8, 9, 0}, kD{10, 11, 12, 0};

TEST_F(TgaReaderTest, RowOrderFollowsDescriptorBit5) {
  const Bytes data = TargaRawPixels({kA, kB, kC, kD}, 24);
  TargaLayout layout{2, 2, 2, 24, false, "", 0, 0, 0};
  const TgaRead bottomUp = Read(TargaFile(layout, data));
  ASSERT_TRUE(bottomUp.ok);
  EXPECT_EQ(At(bottomUp.image, 0, 1), Unit(kA));
  EXPECT_EQ(At(bottomUp.image, 1, 1), Unit(kB));
  EXPECT_EQ(At(bottomUp.image, 0, 0), Unit(kC));
  EXPECT_EQ(At(bottomUp.image, 1, 0), Unit(kD));
  EXPECT_EQ(bottomUp.image.pixels.size(), 15u);

  layout.topRowFirst = true;
  const TgaRead topDown = Read(TargaFile(layout, data));
  ASSERT_TRUE(topDown.ok);
  EXPECT_EQ(At(topDown.image, 0, 0), Unit(kA));
  EXPECT_EQ(At(topDown.image, 1, 0), Unit(kB));
  EXPECT_EQ(At(topDown.image, 0, 1), Unit(kC));
  EXPECT_EQ(At(topDown.image, 1, 1), Unit(kD));
}

TEST_F(TgaReaderTest, ThirtyTwoBitPixelsDropTheFourthByte) {
  for (const bool top : {false, true}) {
    const TargaLayout layout{1, 1, 2, 32, top, "id text", 0, 0, 0};
    const TgaRead r = Read(TargaFile(layout, {10, 20, 30, 255}));
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(At(r.image, 0, 0), (std::array<float, 3>{UnitByte(10), UnitByte(20), UnitByte(30)}));
    EXPECT_NEAR(At(r.image, 0, 0)[2], 0.1176f, 1e-4f);
  }
}

TEST_F(TgaReaderTest, UncompressedDataShorterThanThePictureIsRefused) {
  const TargaLayout layout{2, 2, 2, 24, false, "", 0, 0, 0};
  EXPECT_FALSE(Read(TargaFile(layout, Bytes(11, 0))).ok);
  EXPECT_TRUE(Read(TargaFile(layout, Bytes(12, 0))).ok);
  EXPECT_TRUE(Read(TargaFile(layout, Bytes(40, 0))).ok) << "trailing bytes are allowed";
}

TEST_F(TgaReaderTest, RunAndRawPacketsFillTheRow) {
  // 0x83: one pixel four times; 0x03: four pixels in order.
  const Bytes data = {0x83, 1, 2, 3, 0x03, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
  const TgaRead r = Read(TargaFile(RunLength(8, 1, true), data));
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.image.pixels.size(), 8u * 3 + 20);
  for (int x = 0; x < 4; ++x) EXPECT_EQ(At(r.image, x, 0), Unit(kA)) << x;
  EXPECT_EQ(At(r.image, 4, 0), Unit(kA));
  EXPECT_EQ(At(r.image, 5, 0), Unit(kB));
  EXPECT_EQ(At(r.image, 6, 0), Unit(kC));
  EXPECT_EQ(At(r.image, 7, 0), Unit(kD));
}

TEST_F(TgaReaderTest, ThirtyTwoBitRunLengthPixelsDropTheFourthByte) {
  const TgaRead r =
      Read(TargaFile(RunLength(3, 1, true, 32), {0x81, 1, 2, 3, 99, 0x00, 4, 5, 6, 99}));
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(At(r.image, 1, 0), Unit(kA));
  EXPECT_EQ(At(r.image, 2, 0), Unit(kB));
}

TEST_F(TgaReaderTest, Packet0x80CarriesASixteenBitCountHighByteFirst) {
  const TgaRead r = Read(TargaFile(RunLength(300, 1, true), {0x80, 0x01, 0x2C, 7, 8, 9}));
  ASSERT_TRUE(r.ok);
  for (int x = 0; x < 300; ++x) ASSERT_EQ(At(r.image, x, 0), Unit(kC)) << x;
}

TEST_F(TgaReaderTest, PacketOvershootingARowRunsIntoTheNextRowInMemory) {
  // 3 x 2; the first stored row ends with a packet of 5, two pixels too many.
  // The second stored row is one packet of 3.
  const Bytes data = {0x84, 1, 2, 3, 0x82, 4, 5, 6};
  // Top row first: the overshoot lands in row 1, which its own decoding overwrites.
  const TgaRead top = Read(TargaFile(RunLength(3, 2, true), data));
  ASSERT_TRUE(top.ok);
  for (int x = 0; x < 3; ++x) {
    EXPECT_EQ(At(top.image, x, 0), Unit(kA));
    EXPECT_EQ(At(top.image, x, 1), Unit(kB));
  }
  // Bottom row first: the first stored row is row 1, the last in memory, so its
  // overshoot falls into the spare elements; the second stored row (row 0)
  // overshoots into row 1 and replaces its first 2 pixels.
  const Bytes data2 = {0x82, 1, 2, 3, 0x84, 4, 5, 6};
  const TgaRead bottom = Read(TargaFile(RunLength(3, 2, false), data2));
  ASSERT_TRUE(bottom.ok);
  EXPECT_EQ(At(bottom.image, 0, 1), Unit(kB));
  EXPECT_EQ(At(bottom.image, 1, 1), Unit(kB));
  EXPECT_EQ(At(bottom.image, 2, 1), Unit(kA));
  for (int x = 0; x < 3; ++x) EXPECT_EQ(At(bottom.image, x, 0), Unit(kB));
}

TEST_F(TgaReaderTest, RunLengthDataEndingEarlyReadsAsOnes) {
  // Past the end every byte is 1: packet byte 1 is a raw packet of 2 pixels of 1/255.
  const TgaRead r = Read(TargaFile(RunLength(4, 1, true), {0x81, 7, 8, 9}));
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(At(r.image, 1, 0), Unit(kC));
  EXPECT_EQ(At(r.image, 2, 0), Unit({1, 1, 1, 0}));
  EXPECT_EQ(At(r.image, 3, 0), Unit({1, 1, 1, 0}));
}

TEST_F(TgaReaderTest, OnlyTrueColourTypesAndDepthsAreRead) {
  const Bytes data(64, 0);
  EXPECT_FALSE(Read(TargaFile({2, 2, 1, 24, false, "", 0, 0, 0}, data)).ok) << "colour-mapped";
  EXPECT_FALSE(Read(TargaFile({2, 2, 3, 24, false, "", 0, 0, 0}, data)).ok) << "grey";
  EXPECT_FALSE(Read(TargaFile({2, 2, 2, 16, false, "", 0, 0, 0}, data)).ok) << "16 bits";
  EXPECT_FALSE(Read(TargaFile({2, 2, 10, 16, false, "", 0, 0, 0}, data)).ok) << "16 bits";
  EXPECT_FALSE(Read(TargaFile({0, 2, 2, 24, false, "", 0, 0, 0}, data)).ok) << "zero width";
  EXPECT_FALSE(Read(TargaFile({2, 0, 10, 24, false, "", 0, 0, 0}, data)).ok) << "zero height";
  EXPECT_FALSE(Read(Bytes(17, 2)).ok) << "shorter than the header";
  Bytes cutInId = testing::TargaPrefix({1, 1, 10, 24, false, "identification", 0, 0, 0});
  cutInId.resize(cutInId.size() - 4);
  EXPECT_FALSE(Read(cutInId).ok) << "ends inside the identification field";
}

TEST_F(TgaReaderTest, SidesAboveTheCallersLimitsAreRefusedWithTheHeaderSizeKept) {
  const TgaRead wide = Read(TargaFile({4001, 1, 2, 24, false, "", 0, 0, 0}, Bytes(4001 * 3, 0)));
  EXPECT_FALSE(wide.ok);
  EXPECT_EQ(wide.image.width, 4001);
  EXPECT_EQ(wide.image.height, 1);
  EXPECT_FALSE(Read(TargaFile({1, 4001, 10, 24, false, "", 0, 0, 0}, {})).ok);
  EXPECT_TRUE(Read(TargaFile({4000, 1, 2, 24, false, "", 0, 0, 0}, Bytes(4000 * 3, 0))).ok);
  EXPECT_TRUE(Read(TargaFile({1, 4000, 2, 24, false, "", 0, 0, 0}, Bytes(4000 * 3, 0))).ok);
}

// Writes a 24-bit uncompressed 4000 x 2999 file padded to `size` bytes
// without holding it in memory.
std::string WritePaddedTarga(const TempDir& dir, std::size_t size) {
  const std::string path = dir.Path("large.tga");
  const Bytes prefix = testing::TargaPrefix({4000, 2999, 2, 24, false, "", 0, 0, 0});
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(prefix.data()),
            static_cast<std::streamsize>(prefix.size()));
  out.close();
  std::filesystem::resize_file(path, size);
  return path;
}

TEST_F(TgaReaderTest, FileSizeLimitIs36000000Bytes) {
  EXPECT_TRUE(ReadPath(WritePaddedTarga(dir_, 36'000'000)).ok);
  const TgaRead over = ReadPath(WritePaddedTarga(dir_, 36'000'001));
  EXPECT_FALSE(over.ok);
  EXPECT_EQ(over.image.fileSize, 36'000'001);
  EXPECT_EQ(over.image.width, 4000);
}

TEST_F(TgaReaderTest, ColourMapOfATrueColourFileIsSkipped) {
  const Bytes pixels = TargaRawPixels({kA, kB}, 24);
  // 3 entries of 24 bits (9 bytes), then 5 entries of 15 bits (2 bytes each).
  const TargaLayout with24{2, 1, 2, 24, true, "x", 1, 3, 24};
  const TgaRead r24 = Read(TargaFile(with24, pixels));
  ASSERT_TRUE(r24.ok);
  EXPECT_EQ(At(r24.image, 0, 0), Unit(kA));
  EXPECT_EQ(At(r24.image, 1, 0), Unit(kB));

  const TargaLayout with15{2, 1, 10, 24, true, "", 1, 5, 15};
  const TgaRead r15 = Read(TargaFile(with15, {0x01, 1, 2, 3, 4, 5, 6}));
  ASSERT_TRUE(r15.ok);
  EXPECT_EQ(At(r15.image, 0, 0), Unit(kA));
  EXPECT_EQ(At(r15.image, 1, 0), Unit(kB));

  // Without the map the same data needs only the picture's bytes.
  EXPECT_FALSE(Read(TargaFile(with24, Bytes(5, 0))).ok);
}

TEST_F(TgaReaderTest, UndecodableRunLengthDataIsRefused) {
  EXPECT_FALSE(
      Read(TargaFile(RunLength(2, 1, true), {0x80, 0x00, 0x00, 1, 2, 3, 0x81, 1, 2, 3})).ok)
      << "a 16-bit count of 0";
  // 2 x 2 has 12 elements plus 20 spare, room for 10 whole pixels. The
  // bottom row, stored first, starts at pixel 2: a packet of 8 fits, 9 not.
  EXPECT_TRUE(Read(TargaFile(RunLength(2, 2, false), {0x87, 1, 2, 3, 0x81, 4, 5, 6})).ok);
  EXPECT_FALSE(Read(TargaFile(RunLength(2, 2, false), {0x88, 1, 2, 3, 0x81, 4, 5, 6})).ok);
  EXPECT_FALSE(Read(TargaFile(RunLength(2, 2, false), {0x80, 0xFF, 0xFF, 1, 2, 3})).ok);
  EXPECT_FALSE(Read(TargaFile(RunLength(2, 2, true), {0x7F})).ok) << "raw past the end";
}

}  // namespace
}  // namespace halvane
