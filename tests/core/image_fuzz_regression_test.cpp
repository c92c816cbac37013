// Inputs from fuzzing the readers, kept so that they stay harmless. Under the
// sanitizer build (make test-sanitize) an out-of-bounds access fails the test.
#include <gtest/gtest.h>

#include "support/ct_tga_files.h"

namespace halvane {
namespace {

using testing::Bytes;
using testing::ReadBytes;
using testing::Reason;

TEST(ImageFuzzRegression, SixteenBitRunCountBeyondTheSpareElements) {
  // 300 x 1, run-length, top row first: a 0x80 packet of 456 pixels would
  // write 156 pixels past the row, far beyond the 20 spare elements.
  const Bytes found = {0x00, 0x00, 0x0a, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x2c,
                       0x01, 0x01, 0x00, 0x18, 0x20, 0x80, 0x01, 0xc8, 0x2c, 0x07, 0x08, 0x09};
  EXPECT_NE(Reason(ReadBytes(ReadTga, found)), "read");
  Bytes fits = found;
  fits[20] = 0x2c;  // 300 pixels: exactly the row
  EXPECT_EQ(Reason(ReadBytes(ReadTga, fits)), "read");
}

TEST(ImageFuzzRegression, HeadersCutShortAreRefused) {
  EXPECT_NE(Reason(ReadBytes(ReadTga, {0xff, 0x00, 0x0a})), "read");
  EXPECT_NE(Reason(ReadBytes(ReadCt, {0x00, 0x00, 0x00, 0x01})), "read");
  for (ImageReader reader : {ReadTga, ReadCt, ReadHdr})
    EXPECT_NE(Reason(ReadBytes(reader, {})), "read");
}

}  // namespace
}  // namespace halvane
