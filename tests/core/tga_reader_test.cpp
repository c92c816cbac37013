#include <gtest/gtest.h>

#include "support/ct_tga_files.h"

namespace halvane {
namespace {

using testing::Bgra;
using testing::Bytes;
using testing::Decoded;
using testing::Reason;
using testing::TargaFile;
using testing::TargaLayout;
using testing::UnitByte;

ReadOutcome Read(const Bytes& bytes) {
  const ReadOutcome outcome = testing::ReadBytes(ReadTga, bytes);
  const auto* r = std::get_if<ReadResult>(&outcome);
  EXPECT_TRUE(r == nullptr || !r->isFloat);
  return outcome;
}

// The stored blue, green, red of pixel (x, y); row 0 the top.
std::array<float, 3> At(const ReadResult& r, int x, int y) {
  const auto i = static_cast<std::size_t>(r.image.ChannelIndex(x, y, 0));
  return {r.image.pixels.at(i), r.image.pixels.at(i + 1), r.image.pixels.at(i + 2)};
}

std::array<float, 3> Unit(const Bgra& p) {
  return {UnitByte(p[0]), UnitByte(p[1]), UnitByte(p[2])};
}

TargaLayout Raw(int width, int height, bool topRowFirst, uint8_t depth = 24) {
  return {width, height, 2, depth, topRowFirst, "", 0, 0, 0};
}

TargaLayout RunLength(int width, int height, bool topRowFirst, uint8_t depth = 24) {
  return {width, height, 10, depth, topRowFirst, "", 0, 0, 0};
}

constexpr Bgra kA{1, 2, 3, 0}, kB{4, 5, 6, 0}, kC{7, 8, 9, 0}, kD{10, 11, 12, 0};
constexpr Bgra kOnes{1, 1, 1, 0};

TEST(TgaReader, RowOrderFollowsDescriptorBit5) {
  const Bytes data = testing::TargaRawPixels({kA, kB, kC, kD}, 24);
  const ReadResult bottomUp = Decoded(Read(TargaFile(Raw(2, 2, false), data)));
  EXPECT_EQ(
      (std::vector{At(bottomUp, 0, 1), At(bottomUp, 1, 1), At(bottomUp, 0, 0), At(bottomUp, 1, 0)}),
      (std::vector{Unit(kA), Unit(kB), Unit(kC), Unit(kD)}));
  EXPECT_EQ(bottomUp.image.pixels.size(), 15u);
  EXPECT_EQ(bottomUp.rowsRead, 2);

  const ReadResult topDown = Decoded(Read(TargaFile(Raw(2, 2, true), data)));
  EXPECT_EQ(At(topDown, 0, 0), Unit(kA));
  EXPECT_EQ(At(topDown, 1, 1), Unit(kD));
}

TEST(TgaReader, ThirtyTwoBitPixelsDropTheFourthByte) {
  TargaLayout layout = Raw(1, 1, false, 32);
  layout.identification = "id text";
  EXPECT_EQ(At(Decoded(Read(TargaFile(layout, {1, 2, 3, 255}))), 0, 0), Unit(kA));
  const Bytes data = {0x81, 1, 2, 3, 99, 0x00, 4, 5, 6, 99};
  const ReadResult rle = Decoded(Read(TargaFile(RunLength(3, 1, true, 32), data)));
  EXPECT_EQ(At(rle, 1, 0), Unit(kA));
  EXPECT_EQ(At(rle, 2, 0), Unit(kB));
}

TEST(TgaReader, RunAndRawPacketsFillTheRow) {
  // 0x83: one pixel four times; 0x03: four pixels in order.
  const Bytes data = {0x83, 1, 2, 3, 0x03, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
  const ReadResult r = Decoded(Read(TargaFile(RunLength(8, 1, true), data)));
  EXPECT_EQ(r.image.pixels.size(), 8u * 3 + 20);
  for (int x = 0; x < 5; ++x) EXPECT_EQ(At(r, x, 0), Unit(kA)) << x;
  EXPECT_EQ(At(r, 5, 0), Unit(kB));
  EXPECT_EQ(At(r, 6, 0), Unit(kC));
  EXPECT_EQ(At(r, 7, 0), Unit(kD));
  // 0x80 brings a 16-bit count, high byte first.
  const ReadResult wide = Decoded(Read(TargaFile(RunLength(300, 1, true), {0x80, 1, 44, 7, 8, 9})));
  for (int x = 0; x < 300; ++x) ASSERT_EQ(At(wide, x, 0), Unit(kC)) << x;
}

TEST(TgaReader, PacketOvershootingARowRunsIntoTheNextRowInMemory) {
  // 3 x 2, top row first: the first row's packet of 5 lands two pixels in
  // row 1, which its own packet of 3 then overwrites.
  const ReadResult top =
      Decoded(Read(TargaFile(RunLength(3, 2, true), {0x84, 1, 2, 3, 0x82, 4, 5, 6})));
  for (int x = 0; x < 3; ++x) {
    EXPECT_EQ(At(top, x, 0), Unit(kA));
    EXPECT_EQ(At(top, x, 1), Unit(kB));
  }
  // Bottom row first: the first stored row is row 1, the last in memory; the
  // second (row 0) overshoots into row 1 and replaces its first 2 pixels.
  const ReadResult bottom =
      Decoded(Read(TargaFile(RunLength(3, 2, false), {0x82, 1, 2, 3, 0x84, 4, 5, 6})));
  EXPECT_EQ((std::vector{At(bottom, 0, 1), At(bottom, 1, 1), At(bottom, 2, 1)}),
            (std::vector{Unit(kB), Unit(kB), Unit(kA)}));
  for (int x = 0; x < 3; ++x) EXPECT_EQ(At(bottom, x, 0), Unit(kB));
}

TEST(TgaReader, RunLengthDataEndingEarlyReadsAsOnes) {
  // Past the end every byte is 1: packet byte 1 is a raw packet of 2 pixels of 1/255.
  const ReadResult r = Decoded(Read(TargaFile(RunLength(4, 2, true), {0x83, 7, 8, 9, 0x81, 4})));
  EXPECT_EQ(r.rowsRead, 1);
  EXPECT_EQ(At(r, 3, 0), Unit(kC));
  const Bgra blueOnly{4, 1, 1, 0};
  EXPECT_EQ((std::vector{At(r, 0, 1), At(r, 1, 1), At(r, 2, 1), At(r, 3, 1)}),
            (std::vector{Unit(blueOnly), Unit(blueOnly), Unit(kOnes), Unit(kOnes)}));
}

TEST(TgaReader, ColourMapOfATrueColourFileIsSkipped) {
  // 3 entries of 24 bits (9 bytes), then 5 entries of 15 bits (2 bytes each).
  const ReadResult r24 = Decoded(
      Read(TargaFile({2, 1, 2, 24, true, "x", 1, 3, 24}, testing::TargaRawPixels({kA, kB}, 24))));
  EXPECT_EQ(At(r24, 0, 0), Unit(kA));
  EXPECT_EQ(At(r24, 1, 0), Unit(kB));
  const ReadResult r15 =
      Decoded(Read(TargaFile({2, 1, 10, 24, true, "", 1, 5, 15}, {0x01, 1, 2, 3, 4, 5, 6})));
  EXPECT_EQ(At(r15, 0, 0), Unit(kA));
  EXPECT_EQ(At(r15, 1, 0), Unit(kB));
}

TEST(TgaReader, RefusalsSayWhy) {
  const Bytes data(64, 0);
  EXPECT_EQ(Reason(Read(TargaFile({2, 2, 1, 24, false, "", 0, 0, 0}, data))),
            "unsupported image type 1 (only true colour, uncompressed or run-length)");
  EXPECT_EQ(Reason(Read(TargaFile(Raw(2, 2, false, 16), data))), "unsupported bit depth 16");
  EXPECT_EQ(Reason(Read(TargaFile(Raw(0, 2, false), data))), "image has no pixels (0 x 2)");
  EXPECT_EQ(Reason(Read(TargaFile(Raw(2, 2, false), Bytes(11, 0)))),
            "pixel data too short (11 of 12 bytes)");
  EXPECT_EQ(Reason(Read(Bytes(17, 2))), "shorter than its 18-byte header");
  Bytes cutInMap = TargaFile({2, 1, 2, 24, false, "id", 1, 200, 24});
  cutInMap.pop_back();
  EXPECT_EQ(Reason(Read(cutInMap)), "ends inside its identification field or colour map");

  EXPECT_EQ(Reason(Read(TargaFile(Raw(4001, 1, false), Bytes(4001 * 3, 0)))),
            "image too large (4001 x 1, largest 4000 x 4000)");
  EXPECT_NE(Reason(Read(TargaFile(RunLength(1, 4001, false)))), "read");
  EXPECT_EQ(Decoded(Read(TargaFile(Raw(1, 4000, false), Bytes(4000 * 3, 0)))).rowsRead, 4000);
}

TEST(TgaReader, UndecodableRunLengthDataIsRefused) {
  EXPECT_EQ(Reason(Read(TargaFile(RunLength(2, 1, true), {0x80, 0, 0, 1, 2, 3}))),
            "a run-length packet of 0 pixels in row 1");
  // 2 x 2 has 12 elements plus 20 spare, room for 10 whole pixels. The
  // bottom row, stored first, starts at pixel 2: a packet of 8 fits, 9 not.
  EXPECT_EQ(Reason(Read(TargaFile(RunLength(2, 2, false), {0x87, 1, 2, 3, 0x81, 4, 5, 6}))),
            "read");
  EXPECT_EQ(Reason(Read(TargaFile(RunLength(2, 2, false), {0x88, 1, 2, 3, 0x81, 4, 5, 6}))),
            "a run-length packet running past the end of the picture in row 1");
  EXPECT_NE(Reason(Read(TargaFile(RunLength(2, 2, true), {0x7F}))), "read") << "raw past the end";
}

}  // namespace
}  // namespace halvane
