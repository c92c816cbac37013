#include <gtest/gtest.h>

#include <map>
#include <stdexcept>
#include <vector>

#include "dome/colour_step.h"
#include "dome/highlight.h"
#include "dome/statistics.h"
#include "support/dome_fixture.h"

namespace halvane {
namespace {

TEST(HighlightSchedule, IncrementsSumTheStepNumbersWithoutGaps) {
  // Value 3.0, power 2.0, two steps per pass (642 points): (3^2 + 6^2) / 3, ...
  EXPECT_EQ(HighlightPasses(6, 2), 3);
  EXPECT_EQ(HighlightIncrement(1, 2, 3.0f, 2.0f), 15.0f);
  EXPECT_EQ(HighlightIncrement(2, 2, 3.0f, 2.0f), 75.0f);
  EXPECT_EQ(HighlightIncrement(3, 2, 3.0f, 2.0f), 183.0f);
  // One iteration on 162 points (three steps per pass): one pass of steps 1..3.
  EXPECT_EQ(HighlightPasses(1, 3), 1);
  EXPECT_EQ(HighlightIncrement(1, 3, 3.0f, 2.0f), 42.0f);
  EXPECT_EQ(HighlightIncrement(2, 3, 3.0f, 2.0f), 231.0f);  // steps 4, 5, 6
  EXPECT_EQ(HighlightIncrement(1, 1, 2.0f, 0.5f), static_cast<float>(std::sqrt(2.0L) / 3));
}

TEST(HighlightSchedule, PassesCoverTheRequestedIterations) {
  for (int steps = 1; steps <= 5; ++steps)
    for (int iterations = 1; iterations <= 9; ++iterations)
      EXPECT_EQ(HighlightPasses(iterations, steps), (iterations + steps - 1) / steps)
          << iterations << " iterations, " << steps << " steps per pass";
}

TEST(HighlightSchedule, StepsPerPassByResolution) {
  const int expected[] = {1, 5, 4, 3, 2, 1, 1};
  for (uint8_t level = 0; level <= 6; ++level)
    EXPECT_EQ(HighlightStepsPerPass(level), expected[level]) << int{level};
  EXPECT_EQ(HighlightStepsPerPass(255), 1);
}

class Highlight : public testing::DomeTest {
 protected:
  void Increase() { ButtonIncreaseMaxWhiteClick(s, controls, host); }

  std::vector<std::string> LogSince(std::size_t first) const {
    return {controls.ListBox1.items.begin() + static_cast<std::ptrdiff_t>(first),
            controls.ListBox1.items.end()};
  }
};

// Grey hand-made points with colours applied; one pass (five-level points
// take one step per pass) adds 3 times the highlight colour: (1 * 3)^2 / 3.
class HandMadeHighlight : public Highlight {
 protected:
  void SetUp() override {
    Highlight::SetUp();
    UseUniformImage(20, 10, 0.0f);
    s.dome.subdivLevel = 5;
    controls.SpinLumIterations.value = 1;
  }
  void Grey(uint32_t i, float lum, std::initializer_list<int32_t> nbs) {
    PlacePoint(i, static_cast<uint16_t>(i), 5, nbs);
    DomePoint& p = s.dome.points[i];
    p.r = p.g = p.b = p.lum = lum;
    p.lightR = p.lightG = p.lightB = p.lightLum = lum;
    p.used = true;
  }
  void ColoursApplied(const char* tolLum, const char* tolNb) {
    controls.EditLumTolerance.text = tolLum;
    controls.EditLumToleranceNeighbour.text = tolNb;
    StatisticsPass(s, controls, host);
    s.workflowState = 3;
  }
  // The point made as number `id` (the step sorts the points).
  const DomePoint& Made(uint32_t id) const {
    for (uint32_t i = 1; i <= s.dome.pointCount; ++i)
      if (s.dome.points[i].px == id) return s.dome.points[i];
    throw std::runtime_error("point lost");
  }
  bool Increased(uint32_t id, float lum) const { return Made(id).r != lum; }
};

TEST_F(HandMadeHighlight, OnlyBrightPointsWithBrightNeighboursIncrease) {
  Grey(1, 10.0f, {2});  // at the maximum, neighbour within tolerance
  Grey(2, 9.5f, {1});   // below the maximum with a tolerance of 0
  Grey(3, 10.0f, {4});  // at the maximum, but a neighbour too dark
  Grey(4, 8.5f, {3});
  Grey(5, 9.99f, {6});
  Grey(6, 10.0f, {5});
  ColoursApplied("  .  ", " 1.  ");
  Increase();

  EXPECT_TRUE(Increased(1, 10.0f));
  EXPECT_FALSE(Increased(2, 9.5f));
  EXPECT_FALSE(Increased(3, 10.0f));
  EXPECT_FALSE(Increased(4, 8.5f));
  EXPECT_FALSE(Increased(5, 9.99f));
  EXPECT_TRUE(Increased(6, 10.0f));
  EXPECT_EQ(Made(1).r, 13.0f);
  EXPECT_EQ(Made(1).g, static_cast<float>(10 + 3 * static_cast<long double>(0.9f)));
  EXPECT_EQ(Made(1).b, static_cast<float>(10 + 3 * static_cast<long double>(0.65f)));
  EXPECT_EQ(Made(1).lightG, Made(1).g);
  EXPECT_EQ(Made(1).lightLum, Made(1).lum);
  EXPECT_GT(Made(1).lum, 12.0f);
  EXPECT_EQ(controls.ListBox1.items.at(1), "12:34:56:        Level 1: 2 points increased.");
}

TEST_F(HandMadeHighlight, NeighbourIncreasedEarlierInThePassCountsWithItsNewValue) {
  Grey(1, 8.5f, {2});   // within tolLum 2 of the maximum; its neighbour is bright
  Grey(2, 10.0f, {1});  // its neighbour is below MaxLum - tolNb until it is increased
  ColoursApplied(" 2.  ", " 1.  ");
  Increase();
  EXPECT_TRUE(Increased(1, 8.5f));
  EXPECT_TRUE(Increased(2, 10.0f));
}

TEST_F(HandMadeHighlight, EachPassMeasuresAgainstTheRaisedMaximum) {
  Grey(1, 10.0f, {2});
  Grey(2, 8.0f, {1});  // within tolNb 3 of 10, but not of the raised maximum
  ColoursApplied(" 0.50", " 3.  ");
  controls.SpinLumIterations.value = 2;  // two passes, increments 3 and 12
  Increase();
  EXPECT_EQ(Made(1).r, 13.0f);  // the first pass only
  EXPECT_FALSE(Increased(2, 8.0f));
  EXPECT_EQ(controls.ListBox1.items.at(1), "12:34:56:        Level 1: 1 points increased.");
  EXPECT_EQ(controls.ListBox1.items.at(2), "12:34:56:        Luminance increase done.");
}

class GridHighlight : public Highlight {
 protected:
  // 642 points on a flat picture of 1: every point sits at the maximum.
  void FlatColoursApplied() {
    UseUniformImage(800, 400, 1.0f);
    GeneratePoints(4);
    ButtonApplyColorClick(s, controls, host);
  }
};

TEST_F(GridHighlight, DefaultColourAndIncrementsOfEachPass) {
  FlatColoursApplied();
  ASSERT_EQ(controls.EditLumTolerance.text, " 0.10");
  const std::size_t logStart = controls.ListBox1.items.size();
  controls.SpinLumIterations.value = 2;  // one pass of two steps
  Increase();
  for (uint32_t i = 1; i <= s.dome.pointCount; ++i) {
    const DomePoint& p = s.dome.points[i];
    ASSERT_EQ(p.r, 16.0f) << i;         // + 15
    ASSERT_FLOAT_EQ(p.g, 14.5f) << i;   // + 13.5
    ASSERT_FLOAT_EQ(p.b, 10.75f) << i;  // + 9.75
    ASSERT_EQ(p.lightR, p.r) << i;
    ASSERT_EQ(p.lightB, p.b) << i;
    ASSERT_EQ(p.lightLum, p.lum) << i;
    ASSERT_FLOAT_EQ(p.lum, 0.3f * 16 + 0.59f * 14.5f + 0.11f * 10.75f) << i;
  }
  EXPECT_EQ(LogSince(logStart),
            (std::vector<std::string>{"12:34:56:  Luminance increase ...",
                                      "12:34:56:        Level 1: 642 points increased.",
                                      "12:34:56:        Luminance increase done."}));

  FlatColoursApplied();
  const std::size_t secondStart = controls.ListBox1.items.size();
  controls.SpinLumIterations.value = 6;  // three passes: 15, 75 and 183
  Increase();
  EXPECT_EQ(s.dome.points[1].r, 1.0f + 15 + 75 + 183);
  EXPECT_EQ(s.dome.points[642].r, 274.0f);
  const std::vector<std::string> log = LogSince(secondStart);
  ASSERT_EQ(log.size(), 5u);
  EXPECT_EQ(log[2], "12:34:56:        Level 2: 642 points increased.");
  EXPECT_EQ(log[3], "12:34:56:        Level 3: 642 points increased.");
}

TEST_F(GridHighlight, PassWithoutIncreasesWritesNoLevelLine) {
  UseGradientImage(400, 200);
  GeneratePoints(4);
  ButtonApplyColorClick(s, controls, host);
  // No tolerance at all: the brightest point's neighbours are all darker.
  controls.EditLumTolerance.text = "  .  ";
  controls.EditLumToleranceNeighbour.text = "  .  ";
  std::map<testing::Direction, float> lums;  // the step sorts the points again
  for (uint32_t i = 1; i <= s.dome.pointCount; ++i)
    lums[testing::DirectionOf(s.dome.points[i])] = s.dome.points[i].lum;
  const std::size_t logStart = controls.ListBox1.items.size();
  Increase();
  EXPECT_EQ(LogSince(logStart),
            (std::vector<std::string>{"12:34:56:  Luminance increase ...",
                                      "12:34:56:        Luminance increase done."}));
  for (uint32_t i = 1; i <= s.dome.pointCount; ++i)
    ASSERT_EQ(s.dome.points[i].lum, lums.at(testing::DirectionOf(s.dome.points[i]))) << i;
  EXPECT_EQ(s.workflowState, 4);
}

TEST_F(GridHighlight, PointsEndSortedAndStatisticsIncludeThePairsAgain) {
  UseGradientImage(400, 200);
  GeneratePoints(4);
  const testing::GridShape shape = testing::ShapeOf(s);
  ButtonApplyColorClick(s, controls, host);
  const float maxBefore = s.statistics.maxLum;
  std::vector<bool> checkedDuringPasses;
  host.onEvents = [&] { checkedDuringPasses.push_back(controls.CheckThresholds.checked); };
  const std::size_t logStart = controls.ListBox1.items.size();
  Increase();

  ASSERT_GE(LogSince(logStart).size(), 3u);  // at least one pass increased points
  EXPECT_GT(s.statistics.maxLum, maxBefore);
  testing::ExpectSortedGrid(s, shape, 0.17);
  for (uint32_t i = 1; i <= s.dome.pointCount; ++i)
    ASSERT_EQ(s.dome.points[i].lightLum, s.dome.points[i].lum);
  EXPECT_TRUE(controls.CheckThresholds.checked);
  EXPECT_GT(s.statistics.avgLumDiff, 0.0f);
  EXPECT_GT(s.statistics.avgColorDiff, 0.0f);
  // The proposals come from the final statistics, with the pairs.
  EXPECT_EQ(controls.EditOptThreshold.text,
            FieldTextRounded(static_cast<long double>(s.statistics.avgColorDiff) * 3 + 0.25L));
  ASSERT_FALSE(checkedDuringPasses.empty());
  EXPECT_FALSE(checkedDuringPasses.front());

  controls.CheckThresholds.checked = false;
  Increase();
  EXPECT_FALSE(controls.CheckThresholds.checked);
  EXPECT_EQ(s.statistics.avgColorDiff, 0.0f);
}

TEST_F(GridHighlight, StateStatusAndMarks) {
  FlatColoursApplied();
  MarkStepDone(controls, 6);
  Increase();
  EXPECT_EQ(s.workflowState, 4);
  EXPECT_EQ(controls.StatusBar1.panels[0], "Luminance increase done.");
  EXPECT_EQ(controls.StatusBar1.panels[1], "");
  EXPECT_EQ(controls.StatusBar1.panels[2], "");
  EXPECT_TRUE(controls.LabelSt[4].bold);
  EXPECT_EQ(controls.PanelSt[4].color, kPanelDoneColor);
  for (int later = 5; later <= 8; ++later) {
    EXPECT_FALSE(controls.LabelSt[later].bold) << later;
    EXPECT_EQ(controls.PanelSt[later].color, kPanelColor) << later;
  }
  EXPECT_TRUE(controls.ButtonIncreaseMaxWhite.enabled);
  EXPECT_TRUE(controls.CheckDisplayPoints.checked);

  // Running again adds again, from the raised maximum.
  const float r = s.dome.points[1].r;
  Increase();
  EXPECT_GT(s.dome.points[1].r, r);
  EXPECT_EQ(s.workflowState, 4);
}

TEST_F(GridHighlight, AppliesTheColoursFirstWhenNeeded) {
  UseUniformImage(800, 400, 1.0f);  // state 1, no points yet
  controls.SpinLumIterations.value = 2;
  Increase();
  EXPECT_EQ(s.workflowState, 4);
  ASSERT_EQ(controls.ListBox1.items.size(), 5u);
  EXPECT_EQ(controls.ListBox1.items[0], "12:34:56:  642 points calculated.");
  EXPECT_EQ(controls.ListBox1.items[1], "12:34:56:  Color copied from image to points");
  EXPECT_EQ(controls.ListBox1.items[2], "12:34:56:  Luminance increase ...");
  EXPECT_EQ(s.dome.points[1].r, 16.0f);

  GeneratePoints(4);  // back to state 2: the colours are gone
  ASSERT_EQ(s.workflowState, 2);
  Increase();
  EXPECT_EQ(controls.ListBox1.items.at(6), "12:34:56:  Color copied from image to points");
  EXPECT_EQ(s.dome.points[1].r, 16.0f);

  // At state 3 or more the applied colours are used as they are.
  const std::size_t logStart = controls.ListBox1.items.size();
  Increase();
  EXPECT_EQ(LogSince(logStart).front(), "12:34:56:  Luminance increase ...");
}

TEST_F(GridHighlight, NothingWhenTheColoursCannotBeApplied) {
  Increase();  // no image
  EXPECT_EQ(s.workflowState, 0);
  EXPECT_TRUE(controls.ListBox1.items.empty());

  UseUniformImage(400, 200, 1.0f);
  controls.EditBlack.text = " 1.  ";
  Increase();
  EXPECT_EQ(host.messages, std::vector<std::string>{"Black point and white point must differ."});
  EXPECT_EQ(s.workflowState, 1);
  EXPECT_TRUE(controls.ListBox1.items.empty());
  EXPECT_FALSE(controls.LabelSt[4].bold);
}

class HighlightTracks : public Highlight {};

TEST_F(HighlightTracks, ValueAndPowerLabelsHaveOneDecimal) {
  controls.TrackLumValue.position = 25;
  TrackLumValueChange(s, controls, host);
  EXPECT_EQ(s.highlight.value, 2.5f);
  EXPECT_EQ(controls.LabelLumvalue.caption, "2.5");
  controls.TrackLumValue.position = 80;
  TrackLumValueChange(s, controls, host);
  EXPECT_EQ(controls.LabelLumvalue.caption, "8.0");

  host.numberFormat = NumberFormat{',', "."};
  controls.TrackLumPower.position = 5;
  TrackLumPowerChange(s, controls, host);
  EXPECT_EQ(s.highlight.power, 0.5f);
  EXPECT_EQ(controls.LabelLumPower.caption, "0,5");
  controls.TrackLumPower.position = 37;
  TrackLumPowerChange(s, controls, host);
  EXPECT_EQ(s.highlight.power, 3.7f);
  EXPECT_EQ(controls.LabelLumPower.caption, "3,7");
}

TEST_F(HighlightTracks, ColourLabelsAndPanelFromSinglePrecision) {
  // Round(255 * position / 20) on the single-precision fraction, ties to even:
  // 0.5 gives 127.5 -> 128; 0.9f is a little below 0.9, so 229 (not 230).
  const uint8_t expected[] = {128, 140, 153, 166, 178, 191, 204, 217, 229, 242, 255};
  const char* const labels[] = {"0.50", "0.55", "0.60", "0.65", "0.70", "0.75",
                                "0.80", "0.85", "0.90", "0.95", "1.00"};
  for (int position = 10; position <= 20; ++position) {
    const int k = position - 10;
    controls.TrackLumR.position = position;
    controls.TrackLumG.position = 30 - position;
    controls.TrackLumB.position = position;
    TrackLumRChange(s, controls, host);
    EXPECT_EQ(controls.PanelLumColor.color.r, expected[k]) << position;
    EXPECT_EQ(controls.PanelLumColor.color.g, expected[10 - k]) << position;
    EXPECT_EQ(controls.PanelLumColor.color.b, expected[k]) << position;
    EXPECT_EQ(controls.LabelLumR.caption, labels[k]) << position;
    EXPECT_EQ(controls.LabelLumG.caption, labels[10 - k]) << position;
    EXPECT_EQ(controls.LabelLumB.caption, labels[k]) << position;
  }
  EXPECT_EQ(s.highlight.r, 1.0f);
  EXPECT_EQ(s.highlight.g, 0.5f);
}

}  // namespace
}  // namespace halvane
