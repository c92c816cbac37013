#include <gtest/gtest.h>

#include <string>

#include "support/batch_run.h"
#include "support/image_files.h"

namespace halvane {
namespace {

// These cases are about loading; the optimization has tests of its own.
testing::BatchRun RunBatch(const std::string& args) {
  return testing::RunBatch("--no-optimize " + args);
}

std::vector<testing::Rgbe> Dim(int w, int h) {
  return std::vector<testing::Rgbe>(static_cast<std::size_t>(w * h), {200, 100, 50, 128});
}

TEST(BatchCommandLine, ExitCodes) {
  testing::TempDir dir;
  const std::string good = dir.Path("sky.hdr");
  testing::WriteFile(good, testing::RunLengthRadiance(16, 8, Dim(16, 8)));
  testing::WriteText(dir.Path("bad.hdr"), std::string(300, 'x'));

  EXPECT_EQ(RunBatch(good).exitCode, 0);
  const testing::BatchRun bad = RunBatch(dir.Path("bad.hdr"));
  EXPECT_EQ(bad.exitCode, 1);
  EXPECT_NE(bad.output.find("Image type not supported or not able to read image"),
            std::string::npos);
  const testing::BatchRun missing = RunBatch(dir.Path("none.hdr"));
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_NE(missing.output.find("none.hdr"), std::string::npos);

  EXPECT_EQ(RunBatch(good + " --preview").exitCode, 2);
  EXPECT_EQ(RunBatch(good + " --help").exitCode, 0);
}

TEST(BatchCommandLine, VerboseLogAndClosingRemarks) {
  testing::TempDir dir;
  const std::string dim = dir.Path("dim.hdr");
  testing::WriteFile(dim, testing::RunLengthRadiance(16, 8, Dim(16, 8)));
  const testing::BatchRun run = RunBatch(dim + " -v");
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_NE(run.output.find(":  File loaded (\"" + dim + "\")."), std::string::npos);
  // The brightest sample is far below 5.0.
  EXPECT_NE(run.output.find("very low maximum luminance"), std::string::npos);
  EXPECT_EQ(RunBatch(dim).output.find("File loaded"), std::string::npos);
}

TEST(BatchCommandLine, LargerImagesLoadScaledDownWithFit) {
  testing::TempDir dir;
  const std::string wide = dir.Path("wide.hdr");
  testing::WriteFile(wide, testing::RunLengthRadiance(4001, 8, Dim(4001, 8)));
  const testing::BatchRun refused = RunBatch(wide);
  EXPECT_EQ(refused.exitCode, 1);
  EXPECT_NE(refused.output.find("The image is 4001 x 8 pixels; the largest Halvane works on is "
                                "4000. Load it at 2001 x 4?\nNo: run with --fit to answer yes."),
            std::string::npos)
      << refused.output;
  EXPECT_NE(refused.output.find("image too large (4001 x 8, largest 4000 x 4000)"),
            std::string::npos);

  const testing::BatchRun fitted = RunBatch(wide + " --fit -v");
  EXPECT_EQ(fitted.exitCode, 0) << fitted.output;
  EXPECT_NE(fitted.output.find(":  File loaded (\"" + wide +
                               "\") at 2001 x 4, scaled down from 4001 x 8."),
            std::string::npos)
      << fitted.output;
  EXPECT_NE(fitted.output.find("Reading the image... 100%\n"), std::string::npos) << fitted.output;
  EXPECT_EQ(fitted.output.find("Load it at"), std::string::npos);
}

TEST(BatchCommandLine, PreviewIsAPngOfTheLoadedPicture) {
  testing::TempDir dir;
  const std::string image = dir.Path("sky.hdr");
  testing::WriteFile(image, testing::RunLengthRadiance(16, 8, Dim(16, 8)));
  const std::string png = dir.Path("p.png");
  ASSERT_EQ(RunBatch(image + " --preview " + png).exitCode, 0);
  const testing::Bytes bytes = testing::ReadFileBytes(png);
  ASSERT_GT(bytes.size(), 24u);
  EXPECT_EQ(std::string(bytes.begin() + 1, bytes.begin() + 4), "PNG");
  EXPECT_EQ(testing::Bytes(bytes.begin() + 16, bytes.begin() + 24),
            (testing::Bytes{0, 0, 1, 0xF4, 0, 0, 1, 0xF4}));  // 500 x 500
  EXPECT_EQ(RunBatch(image + " --preview " + dir.Path("no/such/folder.png")).exitCode, 3);
}

}  // namespace
}  // namespace halvane
