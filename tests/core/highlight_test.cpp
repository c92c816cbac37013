#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "dome/highlight.h"
#include "support/dome_fixture.h"
#include "support/optimize_fixtures.h"
#include "workflow/boost_highlights.h"
#include "workflow/dome_display.h"

namespace halvane {
namespace {

using testing::PlacePoint;

const HighlightSettings kDefaultHighlight{3.0f, 2.0f, 1.0f, 0.9f, 0.65f};

std::vector<float> Increments(int iterations, uint8_t subdivLevel,
                              HighlightSettings settings = kDefaultHighlight) {
  return HighlightIncrements(settings, HighlightParameters{iterations, 0, 0}, subdivLevel);
}

TEST(HighlightIncrements, SumTheStepsOfEachPassWithoutGaps) {
  // Two steps per pass on 642 points: (3^2 + 6^2) / 3, (9^2 + 12^2) / 3, ...
  EXPECT_EQ(Increments(6, 4), (std::vector<float>{15, 75, 183}));
  // Three steps per pass on 162 points; an odd iteration takes a whole pass.
  EXPECT_EQ(Increments(1, 3), std::vector<float>{42});
  EXPECT_EQ(Increments(4, 3), (std::vector<float>{42, 231}));
  EXPECT_EQ(Increments(1, 5, {2.0f, 0.5f}),
            std::vector<float>{static_cast<float>(std::sqrt(2.0L) / 3)});
}

// Grey hand-made points: the highlight colour is added to them as it is.
class RaiseHighlightsPass : public ::testing::Test {
 protected:
  void Grey(uint32_t i, float lum, std::initializer_list<int32_t> nbs) {
    PlacePoint(*dome, i, 0, 0, nbs);
    DomePoint& p = dome->points[i];
    p.r = p.g = p.b = p.lum = p.lightLum = lum;
  }
  int Raise(float maxLum, float tolLum, float tolNb) {
    return RaiseHighlights(*dome, maxLum, kDefaultHighlight, HighlightParameters{1, tolLum, tolNb},
                           3.0f, Progress{});
  }
  bool Raised(uint32_t i, float lum) const { return dome->points[i].r != lum; }

  std::unique_ptr<Dome> dome = std::make_unique<Dome>();
};

TEST_F(RaiseHighlightsPass, OnlyBrightPointsWithBrightNeighboursAsTheyAreNow) {
  Grey(1, 10.0f, {2});                 // at the maximum, neighbour within tolerance
  Grey(2, 9.5f, {1});                  // below the maximum with a tolerance of 0
  Grey(3, 10.0f, {6, 6, 6, 6, 6, 4});  // at the maximum, but a neighbour too dark
  Grey(4, 8.5f, {3});
  Grey(5, 9.99f, {6});
  Grey(6, 10.0f, {5});
  EXPECT_EQ(Raise(10.0f, 0.0f, 1.0f), 2);
  EXPECT_TRUE(Raised(1, 10.0f) && Raised(6, 10.0f));
  EXPECT_FALSE(Raised(2, 9.5f) || Raised(3, 10.0f) || Raised(5, 9.99f));
  const DomePoint& p = dome->points[1];
  EXPECT_EQ(p.r, 13.0f);
  EXPECT_TRUE(p.g == static_cast<float>(10 + 3 * static_cast<long double>(0.9f)) &&
              p.b == static_cast<float>(10 + 3 * static_cast<long double>(0.65f)));
  EXPECT_EQ(p.lum, static_cast<float>(0.3L * p.r + 0.59L * p.g + 0.11L * p.b));
  EXPECT_TRUE(p.lightR == p.r && p.lightG == p.g && p.lightB == p.b && p.lightLum == p.lum);

  dome = std::make_unique<Dome>();
  Grey(1, 8.5f, {2});   // within 2 of the maximum; its neighbour is bright
  Grey(2, 10.0f, {1});  // its neighbour is below 10 - 1 until it is raised: counted raised
  EXPECT_EQ(Raise(10.0f, 2.0f, 1.0f), 2);
}

class BoostHighlightsStep : public testing::SessionTest {
 protected:
  StepOutcome Boost() { return BoostHighlights(s, controls, host); }
};

TEST_F(BoostHighlightsStep, AppliesTheColoursFirstThenAddsEachPassesIncrement) {
  EXPECT_EQ(Boost().status, StepStatus::kNotRun);  // no image
  UseUniformImage(800, 400, 1.0f);                 // flat: every point sits at the maximum
  controls.EditBlack.text = " 1.  ";
  EXPECT_EQ(Boost().message, "Black point and white point must differ.");
  EXPECT_TRUE(controls.ListBox1.items.empty());

  controls.EditBlack.text = "  .  ";
  controls.SpinLumIterations.value = 6;  // three passes of two steps: 15, 75 and 183
  MarkStepDone(controls, 6);
  std::vector<std::string> progress;
  host.onEvents = [&] { progress.push_back(controls.StatusBar1.panels[2]); };
  EXPECT_TRUE(Boost().done());
  for (uint32_t i = 1; i <= s.dome.pointCount; ++i)
    ASSERT_TRUE(s.dome.points[i].r == 274.0f && s.dome.points[i].lightLum == s.dome.points[i].lum);
  EXPECT_EQ(
      controls.ListBox1.items,
      (std::vector<std::string>{
          "12:34:56:  642 points calculated.", "12:34:56:  Color copied from image to points",
          "12:34:56:  Luminance increase ...", "12:34:56:        Level 1: 642 points increased.",
          "12:34:56:        Level 2: 642 points increased.",
          "12:34:56:        Level 3: 642 points increased.",
          "12:34:56:        Luminance increase done."}));
  const std::vector<std::string> pass{"00500/642 points", "", " | Lum. and Color analyse... 500 "};
  EXPECT_NE(std::search(progress.begin(), progress.end(), pass.begin(), pass.end()),
            progress.end());
  EXPECT_EQ(s.workflowState, 4);
  EXPECT_EQ(controls.StatusBar1.panels,
            (std::array<std::string, 3>{"Luminance increase done.", "", ""}));
  EXPECT_TRUE(controls.ButtonIncreaseMaxWhite.enabled);  // not left busy
}

TEST_F(BoostHighlightsStep, EachPassMeasuresLuminancesThenTheEndAllStatistics) {
  UseUniformImage(20, 10, 0.0f);
  s.dome.subdivLevel = 5;  // one step per pass
  PlacePoint(s.dome, 1, 1, 5, {2});
  PlacePoint(s.dome, 2, 2, 5, {1});
  testing::SetLuminance(s.dome, 1, 10.0f);
  testing::SetLuminance(s.dome, 2, 8.0f);
  StatisticsPass(s, controls, host);
  s.workflowState = 3;
  controls.EditLumTolerance.text = " 0.50";
  controls.EditLumToleranceNeighbour.text = " 3.  ";  // 8 is within 3 of 10, not of 13
  controls.SpinLumIterations.value = 2;               // increments 3 and 12
  s.highlight.g = s.highlight.b = 1.0f;               // grey
  std::vector<bool> pairsMeasured;
  host.onEvents = [&] { pairsMeasured.push_back(controls.CheckThresholds.checked); };
  Boost();
  const std::size_t first = s.dome.points[1].px == 1 ? 1 : 2;  // the points end sorted
  EXPECT_EQ(s.dome.points[first].r, 13.0f);                    // the first pass only
  EXPECT_EQ(s.dome.points[3 - first].r, 8.0f);
  // A pass that raises nothing writes no line.
  EXPECT_EQ(controls.ListBox1.items,
            (std::vector<std::string>{"12:34:56:  Luminance increase ...",
                                      "12:34:56:        Level 1: 1 points increased.",
                                      "12:34:56:        Luminance increase done."}));
  EXPECT_EQ(pairsMeasured, (std::vector<bool>{false, false, false}));
  EXPECT_TRUE(controls.CheckThresholds.checked);
  EXPECT_EQ(s.statistics.avgColorDiff, 5.0f);  // 13 - 8: the pairs are measured again
  EXPECT_EQ(controls.EditOptThreshold.text, "15.25");
}

}  // namespace
}  // namespace halvane
