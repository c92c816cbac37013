#include <gtest/gtest.h>

#include <bit>
#include <limits>

#include "support/ct_tga_files.h"

namespace halvane {
namespace {

using testing::Bytes;
using testing::CtFile;
using testing::Decoded;
using testing::Reason;
using testing::UnitByte;

ReadOutcome Read(const Bytes& bytes, const ImageLimits& limits = {}) {
  return testing::ReadBytes(ReadCt, bytes, limits);
}

// Channel k (0 blue, 1 green, 2 red) of pixel (x, y), row 0 the top.
float At(const ReadResult& r, int x, int y, int k) {
  return r.image.pixels.at(static_cast<std::size_t>(r.image.ChannelIndex(x, y, k)));
}

TEST(CtReader, DepthFollowsFromTheExactDataSize) {
  EXPECT_FALSE(Decoded(Read(CtFile(2, 1, Bytes(8, 0)))).isFloat);
  EXPECT_FALSE(Decoded(Read(CtFile(2, 1, Bytes(16, 0)))).isFloat);
  EXPECT_TRUE(Decoded(Read(CtFile(2, 1, Bytes(32, 0)))).isFloat);
  EXPECT_EQ(Reason(Read(CtFile(2, 1, Bytes(12, 0)))),
            "12 bytes of pixel data fit no bit depth for 2 x 1 pixels");
  EXPECT_NE(Reason(Read(CtFile(2, 1, Bytes(9, 0)))), "read") << "a trailing byte";
}

TEST(CtReader, EightAndSixteenBitChannelsScaleToOne) {
  const ReadResult eight = Decoded(Read(CtFile(1, 1, {255, 128, 0, 77})));
  EXPECT_EQ(eight.image.pixels.size(), 6u);
  EXPECT_EQ(eight.rowsRead, 1);
  EXPECT_EQ(At(eight, 0, 0, 2), 1.0f);
  EXPECT_EQ(At(eight, 0, 0, 1), UnitByte(128));
  EXPECT_NEAR(At(eight, 0, 0, 1), 0.50196f, 1e-5f);
  EXPECT_EQ(At(eight, 0, 0, 0), 0.0f);

  Bytes data;
  for (uint16_t word : {0x8000, 0xFFFF, 0x0001, 0x1234}) testing::AppendBigEndianWord(data, word);
  const ReadResult sixteen = Decoded(Read(CtFile(1, 1, data)));
  EXPECT_EQ(
      (std::vector{At(sixteen, 0, 0, 2), At(sixteen, 0, 0, 1), At(sixteen, 0, 0, 0)}),
      (std::vector{static_cast<float>(32768 / 65535.0L), 1.0f, static_cast<float>(1 / 65535.0L)}));
}

TEST(CtReader, FloatChannelsKeepTheirBitPatterns) {
  Bytes data;
  for (uint32_t bits : {0x3F800000u, 0x40490FDBu, 0xC2F60000u, 0u,   // 1, pi, -123
                        0x7F800000u, 0x7FC01234u, 0x00000001u, 0u})  // inf, NaN, subnormal
    testing::AppendBigEndianBits(data, bits);
  const ReadResult r = Decoded(Read(CtFile(2, 1, data)));
  ASSERT_TRUE(r.isFloat);
  EXPECT_EQ((std::vector{At(r, 0, 0, 2), At(r, 0, 0, 1), At(r, 0, 0, 0)}),
            (std::vector{1.0f, 3.1415927f, -123.0f}));
  EXPECT_EQ(At(r, 1, 0, 2), std::numeric_limits<float>::infinity());
  EXPECT_EQ(std::bit_cast<uint32_t>(At(r, 1, 0, 1)), 0x7FC01234u);
  EXPECT_EQ(std::bit_cast<uint32_t>(At(r, 1, 0, 0)), 0x00000001u);
}

TEST(CtReader, FirstFilePixelIsTheBottomLeftCorner) {
  // 2 x 2, 8-bit; the red byte numbers the pixels in file order.
  const ReadResult r =
      Decoded(Read(CtFile(2, 2, {1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0, 4, 0, 0, 0})));
  EXPECT_EQ((std::vector{At(r, 0, 1, 2), At(r, 1, 1, 2), At(r, 0, 0, 2), At(r, 1, 0, 2)}),
            (std::vector{UnitByte(1), UnitByte(2), UnitByte(3), UnitByte(4)}));
}

TEST(CtReader, RefusalsSayWhy) {
  EXPECT_EQ(Reason(Read(CtFile(4001, 1, Bytes(4001 * 4, 0)))),
            "image too large (4001 x 1, largest 4000 x 4000)");
  EXPECT_EQ(Decoded(Read(CtFile(4000, 1, Bytes(4000 * 4, 0)))).image.width, 4000);
  EXPECT_NE(Reason(Read(CtFile(3, 2, Bytes(24, 0)), {.maxWidth = 2, .maxHeight = 2})), "read");
  EXPECT_EQ(Reason(Read(CtFile(0, 5, {}))), "image has no pixels (0 x 5)");
  EXPECT_EQ(Reason(Read(CtFile(5, 0, {}))), "image has no pixels (5 x 0)");
  EXPECT_EQ(Reason(Read({0, 0, 0, 1, 0, 1})), "shorter than its 8-byte header");
}

}  // namespace
}  // namespace halvane
