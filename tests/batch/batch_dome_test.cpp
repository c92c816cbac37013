#include <gtest/gtest.h>

#include <charconv>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "preview/png_writer.h"
#include "support/batch_run.h"
#include "support/image_files.h"
#include "support/test_host.h"
#include "workflow/apply_colour.h"
#include "workflow/boost_highlights.h"
#include "workflow/load_image.h"
#include "workflow/place_points.h"
#include "workflow/workflow.h"

namespace halvane {
namespace {

using testing::RunBatch;

constexpr int kWidth = 256, kHeight = 128;
constexpr const char* kCsvHeader =
    "index,px,py,x,y,z,r,g,b,lum,lumSum7,lumSum19,lumSum37,lumSum61,lumSum91,"
    "lightR,lightG,lightB,lightLum,used,nb1,nb2,nb3,nb4,nb5,nb6";

std::vector<std::string> Split(const std::string& line) {
  std::vector<std::string> fields;
  std::stringstream in(line);
  for (std::string field; std::getline(in, field, ',');) fields.push_back(field);
  return fields;
}

std::vector<std::string> ReadLines(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The whole field as a number, or a test failure.
template <typename T>
T Number(const std::string& text) {
  T value{};
  const auto res = std::from_chars(text.data(), text.data() + text.size(), value);
  EXPECT_TRUE(res.ec == std::errc() && res.ptr == text.data() + text.size()) << "'" << text << "'";
  return value;
}

// A session taken through the window's steps in-process, for comparison.
struct WindowRun {
  WindowRun(const std::string& image, int resolution, bool increase) {
    StartSession(s, controls, host);
    controls.SpinPointIteration.value = resolution;
    host.AnswerDialog(image);
    LoadImage(s, controls, host);
    PlacePoints(s, controls, host);
    ApplyColour(s, controls, host);
    if (increase) BoostHighlights(s, controls, host);
  }
  std::unique_ptr<Session> session = MakeSession();
  Session& s = *session;
  ControlModel controls;
  testing::TestHost host;
};

class BatchDome : public ::testing::Test {
 protected:
  void SetUp() override {
    // Brightness rising to the right and downwards: every neighbourhood has
    // its own colour.
    std::vector<testing::Rgbe> pixels;
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x)
        pixels.push_back(
            {static_cast<uint8_t>(60 + 3 * x / 4), static_cast<uint8_t>(80 + y), 120, 131});
    testing::WriteFile(image, testing::FlatRadiance(kWidth, kHeight, pixels));
  }

  // Every line of the CSV holds exactly the values of the in-process run.
  void ExpectCsvOf(const Session& s) {
    const std::vector<std::string> lines = ReadLines(csv);
    ASSERT_EQ(lines.size(), s.dome.pointCount + 1);
    EXPECT_EQ(lines[0], kCsvHeader);
    for (uint32_t i = 1; i <= s.dome.pointCount; ++i) {
      const DomePoint& p = s.dome.points[i];
      const std::vector<std::string> f = Split(lines[i]);
      ASSERT_EQ(f.size(), 26u) << lines[i];
      ASSERT_EQ(Number<uint32_t>(f[0]), i);
      ASSERT_EQ(Number<int>(f[1]), p.px) << i;
      ASSERT_EQ(Number<int>(f[2]), p.py) << i;
      const double directions[] = {p.x, p.y, p.z};
      for (int k = 0; k < 3; ++k) ASSERT_EQ(Number<double>(f[3 + k]), directions[k]) << i;
      const float values[] = {p.r,        p.g,        p.b,        p.lum,      p.lumSum7,
                              p.lumSum19, p.lumSum37, p.lumSum61, p.lumSum91, p.lightR,
                              p.lightG,   p.lightB,   p.lightLum};
      for (int k = 0; k < 13; ++k) ASSERT_EQ(Number<float>(f[6 + k]), values[k]) << i << " " << k;
      ASSERT_EQ(f[19], "1") << i;
      for (std::size_t slot = 1; slot <= 6; ++slot)
        ASSERT_EQ(Number<int>(f[19 + slot]), p.nb[slot]) << i;
    }
  }

  testing::TempDir dir;
  const std::string image = dir.Path("sky.hdr");
  const std::string csv = dir.Path("p.csv");
};

TEST_F(BatchDome, PointsCsvHoldsTheColouredPoints) {
  ASSERT_EQ(RunBatch(image + " --no-optimize --points-csv " + csv).exitCode, 0);
  {
    WindowRun window(image, 4, false);
    ASSERT_EQ(window.s.dome.pointCount, 642u);
    ExpectCsvOf(window.s);
  }

  ASSERT_EQ(RunBatch(image + " --resolution 3 --no-optimize --points-csv " + csv).exitCode, 0);
  WindowRun window(image, 3, false);
  ASSERT_EQ(window.s.dome.pointCount, 162u);
  ExpectCsvOf(window.s);
}

TEST_F(BatchDome, IncreaseLogsItsPassesAndChangesThePoints) {
  const testing::BatchRun run =
      RunBatch(image + " --no-optimize --increase -v --points-csv " + csv);
  ASSERT_EQ(run.exitCode, 0) << run.output;
  const std::size_t start = run.output.find(":  Luminance increase ...");
  const std::size_t level = run.output.find(":        Level 1: ");
  const std::size_t done = run.output.find(":        Luminance increase done.");
  ASSERT_NE(start, std::string::npos) << run.output;
  ASSERT_NE(level, std::string::npos) << run.output;
  ASSERT_NE(done, std::string::npos) << run.output;
  EXPECT_LT(start, level);
  EXPECT_LT(level, done);
  EXPECT_NE(run.output.find(" points increased.", level), std::string::npos);

  WindowRun window(image, 4, true);
  ExpectCsvOf(window.s);
}

TEST_F(BatchDome, BadValuesAreUsageErrors) {
  const std::pair<const char*, const char*> cases[] = {
      {"--resolution 5", "--resolution: '5' is outside 3..4"},
      {"--resolution 3.5", "--resolution: '3.5' is not a whole number"},
      {"--black 100", "--black: '100' is outside 0.00..99.99"},
      {"--black 1.234", "--black: '1.234' has more than 2 decimals"},
      {"--black -1", "--black: '-1' is not a number"},
      {"--white abc", "--white: 'abc' is not a number"},
      {"--lum-value 0.95", "--lum-value: '0.95' is "},
      {"--lum-value 8.1", "--lum-value: '8.1' is outside 1.00..8.00"},
      {"--lum-color 1,0.9", "--lum-color: '1,0.9' is not R,G,B"},
      {"--lum-color 1,0.9,0.65,1", "--lum-color: '1,0.9,0.65,1' is not R,G,B"},
      {"--lum-color 1,0.9,0.4", "--lum-color: '0.4' is outside 0.50..1.00"},
      {"--lum-iterations 0", "--lum-iterations: '0' is outside 1..9"},
  };
  for (const auto& [args, message] : cases) {
    const testing::BatchRun run = RunBatch(image + " " + args + " --points-csv " + csv);
    EXPECT_EQ(run.exitCode, 2) << args;
    EXPECT_NE(run.output.find(message), std::string::npos) << args << "\n" << run.output;
    EXPECT_NE(run.output.find("usage: halvane-batch"), std::string::npos) << args;
    EXPECT_FALSE(std::filesystem::exists(csv)) << args;
  }
}

TEST_F(BatchDome, EqualBlackAndWhitePointsStopBeforeAnyOutput) {
  const testing::BatchRun run = RunBatch(image + " --black 0.5 --white 0.5 --points-csv " + csv +
                                         " --preview " + dir.Path("p.png"));
  EXPECT_EQ(run.exitCode, 2);  // conflicting option values
  EXPECT_NE(run.output.find("Black point and white point must differ."), std::string::npos)
      << run.output;
  EXPECT_FALSE(std::filesystem::exists(csv));
  EXPECT_FALSE(std::filesystem::exists(dir.Path("p.png")));
}

TEST_F(BatchDome, PreviewShowsTheColouredDome) {
  const std::string batchPng = dir.Path("batch.png");
  ASSERT_EQ(RunBatch(image + " --no-optimize --preview " + batchPng).exitCode, 0);
  const testing::Bytes batchPicture = testing::ReadFileBytes(batchPng);

  std::string error;
  const std::string loadedPng = dir.Path("loaded.png");
  auto session = MakeSession();
  ControlModel controls;
  testing::TestHost host;
  StartSession(*session, controls, host);
  host.AnswerDialog(image);
  LoadImage(*session, controls, host);
  ASSERT_TRUE(WritePng(session->view.background, loadedPng, error)) << error;
  EXPECT_NE(testing::ReadFileBytes(loadedPng), batchPicture);

  PlacePoints(*session, controls, host);
  const std::string pointsPng = dir.Path("points.png");
  ASSERT_TRUE(WritePng(session->view.preview, pointsPng, error)) << error;
  EXPECT_NE(testing::ReadFileBytes(pointsPng), batchPicture);  // no coloured triangles yet

  ApplyColour(*session, controls, host);
  const std::string colouredPng = dir.Path("coloured.png");
  ASSERT_TRUE(WritePng(session->view.preview, colouredPng, error)) << error;
  EXPECT_EQ(testing::ReadFileBytes(colouredPng), batchPicture);
}

}  // namespace
}  // namespace halvane
