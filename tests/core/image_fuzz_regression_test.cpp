// Inputs from fuzzing the readers, kept so that they stay harmless. Under the
// sanitizer build (make test-sanitize) an out-of-bounds access fails the test.
#include <gtest/gtest.h>

#include "image/readers.h"
#include "support/ct_tga_files.h"
#include "support/image_files.h"

namespace halvane {
namespace {

using testing::Bytes;

bool ReadAs(const std::string& extension, const Bytes& bytes) {
  testing::TempDir dir;
  const std::string path = dir.Path("input" + extension);
  testing::WriteFile(path, bytes);
  Image image;
  bool isFloat = false;
  if (extension == ".tga") return ReadTGA(path, image, 4000, 4000, isFloat);
  if (extension == ".ct") return ReadCT(path, image, 4000, 4000, isFloat);
  return ReadHDR(path, image, 4000, 4000, isFloat);
}

TEST(ImageFuzzRegression, SixteenBitRunCountBeyondTheSpareElements) {
  // 300 x 1, run-length, top row first: a 0x80 packet of 456 pixels would
  // write 156 pixels past the row, far beyond the 20 spare elements.
  const Bytes found = {0x00, 0x00, 0x0a, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x2c,
                       0x01, 0x01, 0x00, 0x18, 0x20, 0x80, 0x01, 0xc8, 0x2c, 0x07, 0x08, 0x09};
  EXPECT_FALSE(ReadAs(".tga", found));
  Bytes fits = found;
  fits[20] = 0x2c;  // 300 pixels: exactly the row
  EXPECT_TRUE(ReadAs(".tga", fits));
}

TEST(ImageFuzzRegression, HeadersCutShortAreRefused) {
  // The declared identification field and colour map run past the file end.
  Bytes cutInMap = testing::TargaPrefix({2, 1, 2, 24, false, "id", 1, 200, 24});
  cutInMap.resize(cutInMap.size() - 1);
  EXPECT_FALSE(ReadAs(".tga", cutInMap));
  EXPECT_FALSE(ReadAs(".tga", {0xff, 0x00, 0x0a}));
  EXPECT_FALSE(ReadAs(".ct", {0x00, 0x00, 0x00, 0x01}));
  EXPECT_FALSE(ReadAs(".tga", {}));
  EXPECT_FALSE(ReadAs(".ct", {}));
  EXPECT_FALSE(ReadAs(".hdr", {}));
}

}  // namespace
}  // namespace halvane
