#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "batch/points_csv.h"
#include "preview/png_writer.h"
#include "support/batch_run.h"
#include "support/dome_fixture.h"
#include "support/image_files.h"
#include "support/optimize_fixtures.h"
#include "support/rig_fixtures.h"
#include "workflow/apply_colour.h"
#include "workflow/boost_highlights.h"
#include "workflow/load_image.h"
#include "workflow/place_points.h"

namespace halvane {
namespace {

using testing::RunBatch;

// The writer's columns in order, each field of the point a different value;
// real numbers as the shortest decimal that reads back.
TEST(PointsCsv, OneLineAPointWithEveryFieldInOrder) {
  auto dome = std::make_unique<Dome>();
  testing::PlacePoint(*dome, 1, 90, 45, {2, 3, 4, 5, 6, 7});
  DomePoint& p = dome->points[1];
  std::tie(p.x, p.y, p.z, p.used) = std::tuple(0.5, 0.1, -0.25, true);
  float* fields[] = {&p.r,        &p.g,        &p.b,        &p.lum,      &p.lumSum7,
                     &p.lumSum19, &p.lumSum37, &p.lumSum61, &p.lumSum91, &p.lightR,
                     &p.lightG,   &p.lightB,   &p.lightLum};
  for (int k = 0; k < 13; ++k) *fields[k] = 0.1f + static_cast<float>(k);
  std::ostringstream csv;
  WritePointsCsv(*dome, csv);
  EXPECT_EQ(csv.str(),
            "index,px,py,x,y,z,r,g,b,lum,lumSum7,lumSum19,lumSum37,lumSum61,lumSum91,"
            "lightR,lightG,lightB,lightLum,used,nb1,nb2,nb3,nb4,nb5,nb6\n"
            "1,90,45,0.5,0.1,-0.25,0.1,1.1,2.1,3.1,4.1,5.1,6.1,7.1,8.1,9.1,10.1,11.1,12.1,1,"
            "2,3,4,5,6,7\n");
}

// The image taken through the window's steps in-process, for comparison.
std::unique_ptr<testing::DomeRun> WindowRun(const std::string& image, int resolution,
                                            bool increase) {
  auto run = std::make_unique<testing::DomeRun>();
  Session& s = run->s;
  run->controls.SpinPointIteration.value = resolution;
  run->host.AnswerDialog(image);
  LoadImage(s, run->controls, run->host);
  PlacePoints(s, run->controls, run->host);
  ApplyColour(s, run->controls, run->host);
  if (increase) BoostHighlights(s, run->controls, run->host);
  return run;
}

class BatchDome : public ::testing::Test {
 protected:
  void SetUp() override {
    // Brightness rising to the right and downwards: every neighbourhood has
    // its own colour.
    std::vector<testing::Rgbe> pixels;
    for (int y = 0; y < 128; ++y)
      for (int x = 0; x < 256; ++x)
        pixels.push_back(
            {static_cast<uint8_t>(60 + 3 * x / 4), static_cast<uint8_t>(80 + y), 120, 131});
    testing::WriteFile(image, testing::FlatRadiance(256, 128, pixels));
  }

  // The batch tool's points file is the in-process run's, byte for byte.
  void ExpectCsvOf(const Session& s) {
    std::ostringstream own;
    WritePointsCsv(s.dome, own);
    EXPECT_EQ(testing::ReadText(csv), own.str());
  }

  testing::TempDir dir;
  const std::string image = dir.Path("sky.hdr");
  const std::string csv = dir.Path("p.csv");
};

TEST_F(BatchDome, PointsCsvHoldsTheColouredPoints) {
  ASSERT_EQ(RunBatch(image + " --resolution 3 --no-optimize --points-csv " + csv).exitCode, 0);
  const auto window = WindowRun(image, 3, false);
  ASSERT_EQ(window->s.dome.pointCount, 162u);
  ExpectCsvOf(window->s);
}

// The window's log lines, in the same order.
TEST_F(BatchDome, IncreaseLogsItsPassesAndChangesThePoints) {
  const testing::BatchRun run =
      RunBatch(image + " --no-optimize --increase -v --points-csv " + csv);
  ASSERT_EQ(run.exitCode, 0) << run.output;
  const auto window = WindowRun(image, 4, true);
  std::size_t at = 0;
  for (const std::string& line : testing::LogTexts(window->controls, window->host.timeText)) {
    at = run.output.find(line, at);
    ASSERT_NE(at, std::string::npos) << line << " missing in\n" << run.output;
  }
  EXPECT_NE(run.output.find(":        Level 1: "), std::string::npos) << run.output;
  ExpectCsvOf(window->s);
}

TEST_F(BatchDome, BadValuesAreUsageErrors) {
  const std::pair<const char*, const char*> cases[] = {
      {"--resolution 5", "--resolution: '5' is outside 3..4"},
      {"--resolution 3.5", "--resolution: '3.5' is not a whole number"},
      {"--black 100", "--black: '100' is outside 0.00..99.99"},
      {"--black 1.234", "--black: '1.234' has more than 2 decimals"},
      {"--black -1", "--black: '-1' is not a number"},
      {"--lum-value 0.95", "--lum-value: '0.95' is "},
      {"--lum-color 1,0.9", "--lum-color: '1,0.9' is not R,G,B"},
      {"--lum-color 1,0.9,0.4", "--lum-color: '0.4' is outside 0.50..1.00"},
  };
  for (const auto& [args, message] : cases) {
    const testing::BatchRun run = RunBatch(image + " " + args + " --points-csv " + csv);
    EXPECT_EQ(run.exitCode, 2) << args;
    EXPECT_NE(run.output.find(message), std::string::npos) << args << "\n" << run.output;
    EXPECT_NE(run.output.find("Try 'halvane-batch --help'."), std::string::npos) << args;
    EXPECT_FALSE(std::filesystem::exists(csv)) << args;
  }
}

TEST_F(BatchDome, EqualBlackAndWhitePointsStopBeforeAnyOutput) {
  const testing::BatchRun run = RunBatch(image + " --black 0.5 --white 0.5 --points-csv " + csv +
                                         " --preview " + dir.Path("p.png"));
  EXPECT_EQ(run.exitCode, 2);  // conflicting option values
  EXPECT_NE(run.output.find("Black point and white point must differ."), std::string::npos)
      << run.output;
  EXPECT_FALSE(std::filesystem::exists(csv) || std::filesystem::exists(dir.Path("p.png")));
}

TEST_F(BatchDome, PreviewShowsTheColouredDome) {
  const std::string batchPng = dir.Path("batch.png"), windowPng = dir.Path("window.png");
  ASSERT_EQ(RunBatch(image + " --no-optimize --preview " + batchPng).exitCode, 0);
  const auto window = WindowRun(image, 4, false);
  std::string error;
  ASSERT_TRUE(WritePng(window->s.view.preview, windowPng, error)) << error;
  EXPECT_EQ(testing::ReadFileBytes(batchPng), testing::ReadFileBytes(windowPng));
}

}  // namespace
}  // namespace halvane
