#include <gtest/gtest.h>

#include <string>

#include "support/batch_run.h"

namespace halvane {
namespace {

// The median cut's options: what goes only with which method, and the
// table and error a run prints.
TEST(BatchRigQuality, MedianCutOptionsTableAndError) {
  const std::string sky = std::string(HALVANE_SOURCE_DIR) + "/data/sky.hdr";
  for (const char* wrong :
       {"--lights 16", "--method median-cut --row 2", "--method median-cut --reduce 0.5",
        "--method median-cut --lights 12", "--method other", "--sun-threshold 40"})
    EXPECT_EQ(testing::RunBatch(sky + " " + wrong).exitCode, 2) << wrong;

  const testing::BatchRun run =
      testing::RunBatch(sky + " --method median-cut --lights 64 --table --error -q");
  ASSERT_EQ(run.exitCode, 0) << run.output;
  EXPECT_NE(run.output.find("rig error %\n"), std::string::npos);
  EXPECT_NE(run.output.find("   4\t   64\t\t\t\t\t"), std::string::npos);
  EXPECT_NE(run.output.find("Rig error: "), std::string::npos);
  EXPECT_NE(run.output.find(", powered image values)"), std::string::npos);
}

// The sun option end to end: the log says where the sun is, and the rig
// error counts it.
TEST(BatchRigQuality, SunOptionLogsTheSun) {
  const std::string sky = std::string(HALVANE_SOURCE_DIR) + "/data/sky.hdr";
  const testing::BatchRun run = testing::RunBatch(sky + " --sun --linear --no-optimize --error -v");
  ASSERT_EQ(run.exitCode, 0) << run.output;
  EXPECT_NE(run.output.find(":  Sun: "), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("Rig error: "), std::string::npos);
}

}  // namespace
}  // namespace halvane
