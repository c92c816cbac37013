#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "support/batch_run.h"
#include "support/image_files.h"
#include "support/optimize_fixtures.h"
#include "support/test_host.h"
#include "workflow/apply_colour.h"
#include "workflow/load_image.h"
#include "workflow/optimize_points.h"
#include "workflow/place_points.h"
#include "workflow/workflow.h"

namespace halvane {
namespace {

using testing::RunBatch;

constexpr const char* kHeader =
    "Nb.\t# lights\taverage reduction\tmin reduction\tmax reduction\tdiff. index";

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::stringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// A 162-point run on a picture of random brightness, which few collapses
// fit: it takes well under a second.
class BatchOptimize : public ::testing::Test {
 protected:
  void SetUp() override {
    std::vector<testing::Rgbe> pixels;
    for (int y = 0; y < 64; ++y)
      for (int x = 0; x < 128; ++x) {
        const auto m = static_cast<uint8_t>(testing::Noise01(x, y) * 256.0f);
        pixels.push_back({m, m, m, 130});
      }
    testing::WriteFile(image, testing::FlatRadiance(128, 64, pixels));
  }

  std::string Run162(const std::string& args) const {
    return image + " --resolution 3 --threshold 0.2 " + args;
  }

  testing::TempDir dir;
  const std::string image = dir.Path("random.hdr");
};

// The table is the window's after the same steps; a row beyond it is a
// usage error.
TEST_F(BatchOptimize, TablePrintsTheWindowsRows) {
  const testing::BatchRun run = RunBatch(Run162("--table"));
  ASSERT_EQ(run.exitCode, 0) << run.output;
  const std::vector<std::string> lines = Lines(run.output);
  const auto header = std::find(lines.begin(), lines.end(), kHeader);
  ASSERT_EQ(lines.end() - header, 101) << "header and 100 rows, nothing after";

  testing::DomeRun window;
  window.controls.SpinPointIteration.value = 3;
  window.host.AnswerDialog(image);
  LoadImage(window.s, window.controls, window.host);
  ApplyColour(window.s, window.controls, window.host);  // proposes a threshold
  window.controls.EditOptThreshold.text = " 0.20";
  OptimizePoints(window.s, window.controls, window.host);
  for (int r = 1; r <= 100; ++r) {
    std::string expected;
    for (int col = 0; col < 6; ++col)
      expected += (col > 0 ? "\t" : "") + window.controls.GridOptimized.Cell(col, r);
    EXPECT_EQ(header[r], expected) << "row " << r;
  }

  // Halted after level 1, 162 points list only the all-lights record.
  const testing::BatchRun beyond = RunBatch(Run162("--halt-after-level1 --row 2"));
  EXPECT_EQ(beyond.exitCode, 2);
  EXPECT_TRUE(Contains(beyond.output, "--row 2: the table has 1 rows")) << beyond.output;
  EXPECT_EQ(RunBatch(Run162("--halt-after-level1 --row 1")).exitCode, 0);
}

TEST_F(BatchOptimize, SettingsOutsideTheControlsRangesAreUsageErrors) {
  for (const char* args :
       {"--max-reduction 7", "--max-reduction 2", "--level1-points 99", "--level1-points 1001",
        "--level1-max-lights 151", "--level1-max-lights 19", "--row 0", "--row 101", "-o x.txt"}) {
    const testing::BatchRun run = RunBatch(image + " " + args);
    EXPECT_EQ(run.exitCode, 2) << args;
    const std::string option = std::string(args).substr(0, std::string(args).find(' '));
    EXPECT_TRUE(Contains(run.output, "halvane-batch: " + option)) << run.output;
    EXPECT_TRUE(Contains(run.output, "Try 'halvane-batch --help'.")) << args;
  }
}

// Threads or not, two runs write the same scripts.
TEST_F(BatchOptimize, FixedLetterWritesBothScriptsTheSameEveryTime) {
  std::vector<testing::Bytes> scripts;
  for (const char* threads : {"1", "2"}) {
    const std::string mel = dir.Path(std::string("lights") + threads + ".mel");
    const std::string vbs = dir.Path(std::string("lights") + threads + ".vbs");
    const testing::BatchRun run =
        RunBatch(Run162("-o " + mel + " -o " + vbs + " --letter K --threads " + threads));
    ASSERT_EQ(run.exitCode, 0) << run.output;
    scripts.push_back(testing::ReadFileBytes(mel));
    scripts.push_back(testing::ReadFileBytes(vbs));
  }
  EXPECT_TRUE(Contains(std::string(scripts[0].begin(), scripts[0].end()), "ZR_Light1K"));
  EXPECT_TRUE(Contains(std::string(scripts[1].begin(), scripts[1].end()), "ZR_LightK1"));
  EXPECT_TRUE(scripts[0] == scripts[2]) << "the Maya scripts differ";
  EXPECT_TRUE(scripts[1] == scripts[3]) << "the XSI scripts differ";
}

TEST_F(BatchOptimize, VerbosePrintsTheLogAndTheProgress) {
  const testing::BatchRun verbose = RunBatch(Run162("-v"));
  ASSERT_EQ(verbose.exitCode, 0) << verbose.output;
  EXPECT_TRUE(Contains(verbose.output, "\n160/162\n")) << verbose.output;
  for (const char* level : {"1", "2", "3"})
    EXPECT_TRUE(Contains(verbose.output, ":          Optimize LEVEL " + std::string(level) + ":  "))
        << level;
  EXPECT_TRUE(Contains(verbose.output, ":  Optimization done. "));

  const testing::BatchRun quiet = RunBatch(Run162(""));
  ASSERT_EQ(quiet.exitCode, 0);
  EXPECT_FALSE(Contains(quiet.output, "160/162"));
  EXPECT_FALSE(Contains(quiet.output, "Optimize LEVEL"));
}

}  // namespace
}  // namespace halvane
