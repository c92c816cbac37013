#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <string>

#include "batch/image_letter.h"
#include "support/batch_run.h"
#include "support/image_files.h"
#include "support/rig_fixtures.h"

namespace halvane {
namespace {

std::vector<testing::Rgbe> Sky(int w, int h) {
  std::vector<testing::Rgbe> pixels;
  for (int i = 0; i < w * h; ++i)
    pixels.push_back({static_cast<uint8_t>(100 + i % 50), 120, 140, 129});
  return pixels;
}

// The letters of the light names in a file, e.g. "Q" for ZR_Light12Q.
std::set<char> NameLetters(const std::string& text) {
  std::set<char> letters;
  const std::regex name(R"(ZR_Light\d+([A-Z]))");
  for (std::sregex_iterator m(text.begin(), text.end(), name), end; m != end; ++m)
    letters.insert((*m)[1].str()[0]);
  return letters;
}

class BatchRigTargets : public ::testing::Test {
 protected:
  BatchRigTargets() { testing::WriteFile(image, testing::RunLengthRadiance(16, 8, Sky(16, 8))); }
  testing::BatchRun Run(const std::string& args) {
    return testing::RunBatch(image + " --no-optimize " + args);
  }
  testing::TempDir dir;
  const std::string image = dir.Path("sky.hdr");
};

// Every -o file of a run carries the one letter drawn from the image's bytes,
// and another run writes the very same files; --letter still wins.
TEST_F(BatchRigTargets, OneLetterPerImageForAllOutputsAndEveryRun) {
  const std::string outputs =
      " -o " + dir.Path("a.usda") + " -o " + dir.Path("a.py") + " -o " + dir.Path("a.mel");
  ASSERT_EQ(Run(outputs).exitCode, 0);
  const char letter = ImageFileLetter(image).value();
  const std::string usda = testing::ReadText(dir.Path("a.usda"));
  const std::string py = testing::ReadText(dir.Path("a.py"));
  const std::string mel = testing::ReadText(dir.Path("a.mel"));
  for (const std::string* text : {&usda, &py, &mel})
    EXPECT_EQ(NameLetters(*text), std::set<char>{letter});
  ASSERT_EQ(Run(outputs).exitCode, 0);
  EXPECT_EQ(testing::ReadText(dir.Path("a.usda")), usda);
  EXPECT_EQ(testing::ReadText(dir.Path("a.py")), py);
  EXPECT_EQ(testing::ReadText(dir.Path("a.mel")), mel);

  const char other = letter == 'K' ? 'L' : 'K';
  ASSERT_EQ(Run(outputs + " --letter " + std::string(1, other)).exitCode, 0);
  EXPECT_EQ(NameLetters(testing::ReadText(dir.Path("a.py"))), std::set<char>{other});
}

TEST_F(BatchRigTargets, MayaRendererChoosesTheMelScript) {
  ASSERT_EQ(Run("-o " + dir.Path("mr.mel")).exitCode, 0);
  EXPECT_NE(testing::ReadText(dir.Path("mr.mel")).find("loadPlugin Mayatomr"), std::string::npos);
  ASSERT_EQ(
      Run("--maya-renderer arnold -o " + dir.Path("ai.mel") + " -o " + dir.Path("x.vbs")).exitCode,
      0);
  const std::string arnold = testing::ReadText(dir.Path("ai.mel"));
  EXPECT_EQ(arnold.find("Mayatomr"), std::string::npos);
  EXPECT_NE(arnold.find("zrHalvaneLight($root"), std::string::npos);
  EXPECT_NE(testing::ReadText(dir.Path("x.vbs")).find("GetPrimLight"), std::string::npos);

  const testing::BatchRun wrong = Run("--maya-renderer vray -o " + dir.Path("v.mel"));
  EXPECT_EQ(wrong.exitCode, 2);
  EXPECT_NE(wrong.output.find("--maya-renderer: 'vray' is not mentalray or arnold"),
            std::string::npos);
  const testing::BatchRun text = Run("-o " + dir.Path("rig.usdc"));
  EXPECT_EQ(text.exitCode, 2);
  EXPECT_NE(text.output.find("must end in .mel (Maya), .vbs (XSI), .usda (USD) or .py (Blender)"),
            std::string::npos);
  const testing::BatchRun help = testing::RunBatch("--help");
  EXPECT_NE(help.output.find("--maya-renderer R"), std::string::npos);
  EXPECT_NE(help.output.find("one letter drawn from a hash of its"), std::string::npos);
}

}  // namespace
}  // namespace halvane
