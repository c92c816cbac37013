// Reducing and collapsing the chosen result's lights: the layer functions
// on hand-made lights, and the two steps.
#include <gtest/gtest.h>

#include <cmath>
#include <tuple>
#include <vector>

#include "optimize/finetuning.h"
#include "support/optimize_fixtures.h"
#include "workflow/finetune.h"
#include "workflow/workflow.h"

namespace halvane {
namespace {

class Finetuning : public ::testing::Test, public testing::DomeRun {
 protected:
  void SetUp() override {
    s.workflowState = 5;
    s.results.count = 1;
    controls.GridOptimized.selectedRow = 1;
  }

  // A light of the chosen result with the given decision (1 single light).
  uint32_t AddLight(float lum, uint8_t decision = 1, float colour = 0.25f) {
    const uint32_t i = ++dome.pointCount;
    DomePoint& p = dome.points[i];
    std::tie(p.used, p.lightLum, p.level, chosen.decision[i]) =
        std::tuple(true, lum, decision, decision);
    p.lightR = p.lightG = p.lightB = colour;
    return i;
  }
  // A centre with neighbours of the given luminances; returns the centre.
  uint32_t AddRing(float centreLum, const std::vector<float>& ringLums) {
    const uint32_t centre = AddLight(centreLum);
    for (float lum : ringLums) testing::Link(dome, centre, AddLight(lum));
    return centre;
  }
  void Merge(int groupSize, float tolerance = 0.1f) {
    MergeSimilarLights(dome, chosen, {groupSize, tolerance});
  }

  struct Light {
    bool used;
    float lum, r, g, b;
    int32_t level;
    bool operator==(const Light&) const = default;
  };
  Light LightOf(uint32_t i) const {
    const DomePoint& p = dome.points[i];
    return {p.used, p.lightLum, p.lightR, p.lightG, p.lightB, p.level};
  }
  bool IsOff(uint32_t i) const {
    const Light l = LightOf(i);
    return l == Light{false, 0, 0, 0, 0, l.level};
  }

  Dome& dome = s.dome;
  SearchResult& chosen = s.results.results[1];
};

TEST_F(Finetuning, ReduceSwitchesOffLightsBelowTheSlidersThresholdOnly) {
  const uint32_t atThreshold = AddLight(0.75f);
  const uint32_t below = AddLight(std::nextafter(0.75f, 0.0f), 2);
  const uint32_t unusedDim = AddLight(0.5f);
  dome.points[unusedDim].used = false;
  controls.TrackRedLum.position = 75;
  EXPECT_TRUE(ReduceLights(s, controls, host).done());
  EXPECT_FALSE(IsOff(atThreshold));
  EXPECT_TRUE(IsOff(below) && IsOff(unusedDim));
  EXPECT_TRUE(dome.points[below].level == 2 && chosen.decision[below] == 2)
      << "level and decision stay for a later choice";

  // The slider's label is rounded to even tenths.
  for (auto [position, label] :
       {std::pair{80, "0.8"}, {75, "0.8"}, {85, "0.8"}, {65, "0.6"}, {200, "2.0"}, {21, "0.2"}}) {
    controls.TrackRedLum.position = position;
    ShowReduceThreshold(controls, host);
    EXPECT_EQ(controls.LabelRedLum.caption, label) << position;
  }
  host.numberFormat.decimalSeparator = ',';
  ShowReduceThreshold(controls, host);
  EXPECT_EQ(controls.LabelRedLum.caption, "0,2");
}

TEST_F(Finetuning, BothStepsNeedColoursMarkStepSevenAndRedrawFillsOnlyWhenShown) {
  const uint32_t a = AddLight(0.5f);
  testing::Link(dome, a, AddLight(0.55f));
  for (auto step : {&ReduceLights, &CollapseLights}) {
    s.workflowState = 2;
    const Light before = LightOf(a);
    EXPECT_EQ(step(s, controls, host).status, StepStatus::kNotRun);
    EXPECT_EQ(LightOf(a), before);
    EXPECT_FALSE(controls.LabelSt[7].bold);
    s.workflowState = 5;
    MarkStepDone(controls, 8);
    s.view.background.Fill(Rgb{9, 9, 9});
    controls.CheckDisplayFill.checked = false;
    EXPECT_TRUE(step(s, controls, host).done());
    EXPECT_EQ(s.view.preview.Pixel(100, 100), (Rgb{9, 9, 9}));
    EXPECT_TRUE(controls.LabelSt[7].bold && !controls.LabelSt[8].bold);
    EXPECT_TRUE(controls.ButtonReduceLights.enabled && controls.GridOptimized.enabled);
    controls.CheckDisplayFill.checked = true;  // the background is rebuilt (black: no image)
    step(s, controls, host);
    EXPECT_EQ(s.view.preview.Pixel(100, 100), Rgb{});
    MarkStepDone(controls, 6);
  }
  EXPECT_TRUE(controls.ListBox1.items.empty());
}

TEST_F(Finetuning, NeighboursAtTheToleranceOrBeyondStayApart) {
  const uint32_t centre = AddLight(0.0f), atTolerance = AddLight(0.1f);
  testing::Link(dome, centre, atTolerance);
  Merge(2);
  EXPECT_FALSE(IsOff(atTolerance));
  dome.points[atTolerance].lightLum = std::nextafter(0.1f, 0.0f);
  Merge(2, 0.0f);
  EXPECT_FALSE(IsOff(atTolerance));
  Merge(2);
  EXPECT_TRUE(IsOff(atTolerance));
}

TEST_F(Finetuning, GroupsOfSevenMergeOnlyFullRingsAndBecomeLevelTwo) {
  const uint32_t full = AddRing(0.5f, {0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f});
  const uint32_t partial = AddRing(0.5f, {0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 0.9f});
  Merge(7);
  EXPECT_EQ(LightOf(full), (Light{true, 3.5f, 1.75f, 1.75f, 1.75f, 2}));
  for (uint32_t n = full + 1; n <= full + 6; ++n) EXPECT_TRUE(IsOff(n));
  for (uint32_t n = partial; n <= partial + 6; ++n) EXPECT_FALSE(IsOff(n));
  EXPECT_EQ(LightOf(partial).level, 1);
}

// Three groups apart: a pair, a result's collapse centre beside a chain of
// single lights, and a hub whose group is larger than its first neighbour's.
TEST_F(Finetuning, PairsMergeIntoTheLowerNumberedLightLargerGroupsFirstCentresNever) {
  const uint32_t a = AddLight(0.50f, 1, 0.125f), b = AddLight(0.55f, 1, 0.5f);
  testing::Link(dome, a, b);
  const uint32_t centre = AddLight(0.5f, 3), single = AddLight(0.5f), other = AddLight(0.5f);
  testing::Link(dome, centre, single);
  testing::Link(dome, single, other);
  const uint32_t edge = AddLight(0.5f), hub = AddRing(0.5f, {0.5f, 0.5f});
  testing::Link(dome, edge, hub);
  Merge(2);
  EXPECT_EQ(LightOf(a), (Light{true, 1.05f, 0.625f, 0.625f, 0.625f, 1}));
  EXPECT_TRUE(IsOff(b) && chosen.decision[b] == 1);
  EXPECT_TRUE(LightOf(centre).lum == 0.5f && LightOf(single).lum == 1.0f && IsOff(other));
  EXPECT_TRUE(IsOff(edge));
  EXPECT_EQ(LightOf(hub), (Light{true, 2.0f, 1.0f, 1.0f, 1.0f, 2}));  // four make level 2
}

TEST_F(Finetuning, ColoursRoundAtEveryAdditionAndTheLuminanceSumOnce) {
  const float tiny = std::ldexp(1.0f, -24);  // half an ulp of 1.0
  const uint32_t centre = AddLight(1.0f, 1, 1.0f);
  for (int k = 0; k < 2; ++k) testing::Link(dome, centre, AddLight(tiny, 1, tiny));
  Merge(2, 99.99f);
  // Each half-ulp addition ties back to 1.0; a group of three keeps its level.
  EXPECT_EQ(LightOf(centre), (Light{true, 1.0f + 2 * tiny, 1.0f, 1.0f, 1.0f, 1}));
}

}  // namespace
}  // namespace halvane
