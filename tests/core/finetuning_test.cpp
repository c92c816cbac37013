#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "optimize/collapse_lights.h"
#include "optimize/reduce_lights.h"
#include "support/session_fixture.h"

namespace halvane {
namespace {

class Finetuning : public testing::SessionTest {
 protected:
  void SetUp() override {
    SessionTest::SetUp();
    s.workflowState = 5;
    s.results.count = 1;
    controls.GridOptimized.selectedRow = 1;
  }

  // A light of the chosen optimization with the given decision (1 single light).
  uint32_t AddLight(float lum, uint8_t decision = 1, float colour = 0.25f) {
    const uint32_t i = ++s.dome.pointCount;
    DomePoint& p = s.dome.points[i];
    p.used = true;
    p.lightLum = lum;
    p.lightR = p.lightG = p.lightB = colour;
    p.level = decision;
    s.results.results[1].decision[i] = decision;
    return i;
  }

  void Link(uint32_t a, uint32_t b) {
    AddNeighbour(s.dome.points[a], b);
    AddNeighbour(s.dome.points[b], a);
  }

  static void AddNeighbour(DomePoint& p, uint32_t n) {
    for (std::size_t slot = 1; slot <= kNeighbourSlots; ++slot)
      if (p.nb[slot] == 0) {
        p.nb[slot] = static_cast<int32_t>(n);
        return;
      }
  }

  // A centre with six neighbours of the given luminances; returns the centre.
  uint32_t AddRing(float centreLum, std::vector<float> ringLums) {
    const uint32_t centre = AddLight(centreLum);
    for (float lum : ringLums) Link(centre, AddLight(lum));
    return centre;
  }

  void Reduce(int position) {
    controls.TrackRedLum.position = position;
    ButtonReduceLightsClick(s, controls, host);
  }

  void Collapse(int groupSize, const char* tolerance = "  .1 ") {
    controls.SpinRedGroupNr.value = groupSize;
    controls.EditRedThreshold.text = tolerance;
    ButtonCollapseLightsClick(s, controls, host);
  }

  struct Light {
    bool used;
    float lum, r, g, b;
    int32_t level;
    bool operator==(const Light&) const = default;
  };
  std::vector<Light> Lights() const {
    std::vector<Light> all;
    for (uint32_t i = 1; i <= s.dome.pointCount; ++i) {
      const DomePoint& p = s.dome.points[i];
      all.push_back({p.used, p.lightLum, p.lightR, p.lightG, p.lightB, p.level});
    }
    return all;
  }
  bool IsOff(uint32_t i) const {
    const DomePoint& p = s.dome.points[i];
    return !p.used && p.lightLum == 0 && p.lightR == 0 && p.lightG == 0 && p.lightB == 0;
  }
};

TEST_F(Finetuning, ReduceSwitchesOffLightsBelowTheThresholdOnly) {
  const uint32_t atThreshold = AddLight(0.8f);
  const uint32_t below = AddLight(std::nextafter(0.8f, 0.0f), 2);
  const uint32_t unusedDim = AddLight(0.5f);
  s.dome.points[unusedDim].used = false;
  Reduce(80);
  EXPECT_FALSE(IsOff(atThreshold));
  EXPECT_TRUE(IsOff(below));
  EXPECT_TRUE(IsOff(unusedDim));
  EXPECT_EQ(s.dome.points[below].level, 2);  // level and decision stay for a later choice
  EXPECT_EQ(s.results.results[1].decision[below], 2);
  const auto afterFirst = Lights();
  Reduce(80);
  EXPECT_EQ(Lights(), afterFirst);
  EXPECT_EQ(controls.LabelMaxpoint.caption, "3 Pnts (1 used) ");
}

TEST_F(Finetuning, ReduceUsesTheSliderValueWhileTheLabelRoundsToEvenTenths) {
  const uint32_t above = AddLight(0.76f), below = AddLight(0.74f);
  Reduce(75);
  EXPECT_FALSE(IsOff(above));
  EXPECT_TRUE(IsOff(below));
  for (auto [position, label] :
       {std::pair{80, "0.8"}, {75, "0.8"}, {85, "0.8"}, {65, "0.6"}, {200, "2.0"}, {21, "0.2"}}) {
    controls.TrackRedLum.position = position;
    TrackRedLumChange(controls, host);
    EXPECT_EQ(controls.LabelRedLum.caption, label) << position;
  }
  host.numberFormat.decimalSeparator = ',';
  TrackRedLumChange(controls, host);
  EXPECT_EQ(controls.LabelRedLum.caption, "0,2");
}

TEST_F(Finetuning, NothingHappensBeforeColoursAreApplied) {
  AddLight(0.5f);
  Link(1, AddLight(0.55f));
  const auto before = Lights();
  s.workflowState = 2;
  Reduce(80);
  Collapse(2, "ab.cd");
  EXPECT_EQ(Lights(), before);
  EXPECT_FALSE(controls.LabelSt[7].bold);
  EXPECT_TRUE(controls.ButtonCollapseLights.enabled);
}

TEST_F(Finetuning, BothCommandsMarkStepSevenAndRedrawFillsOnlyWhenShown) {
  AddLight(1.0f);
  for (auto command : {&ButtonReduceLightsClick, &ButtonCollapseLightsClick}) {
    MarkStepDone(controls, 8);
    s.view.background.Fill(Rgb{9, 9, 9});
    controls.CheckDisplayFill.checked = false;
    command(s, controls, host);
    EXPECT_EQ(s.view.preview.Pixel(100, 100), (Rgb{9, 9, 9}));
    EXPECT_TRUE(controls.LabelSt[7].bold);
    EXPECT_EQ(controls.PanelSt[7].color, kPanelDoneColor);
    EXPECT_FALSE(controls.LabelSt[8].bold);
    EXPECT_EQ(controls.PanelSt[8].color, kPanelColor);
    EXPECT_TRUE(controls.ButtonReduceLights.enabled);
    EXPECT_TRUE(controls.GridOptimized.enabled);
    controls.CheckDisplayFill.checked = true;  // the background is rebuilt (black: image off)
    command(s, controls, host);
    EXPECT_EQ(s.view.preview.Pixel(100, 100), Rgb{});
  }
  EXPECT_TRUE(controls.ListBox1.items.empty());
  EXPECT_EQ(controls.StatusBar1.panels[0], "-");
}

TEST_F(Finetuning, CollapseMergesAPairIntoTheLowerNumberedLight) {
  const uint32_t a = AddLight(0.50f, 1, 0.125f), b = AddLight(0.55f, 1, 0.5f);
  Link(a, b);
  Collapse(2);
  EXPECT_EQ(Lights()[a - 1], (Light{true, 1.05f, 0.625f, 0.625f, 0.625f, 1}));
  EXPECT_TRUE(IsOff(b));
  EXPECT_EQ(s.results.results[1].decision[b], 1);
}

TEST_F(Finetuning, NeighboursAtTheToleranceOrBeyondStayApart) {
  const uint32_t centre = AddLight(0.0f);
  const uint32_t atTolerance = AddLight(0.1f);  // float(0.1) is the field's value exactly
  Link(centre, atTolerance);
  Collapse(2);
  EXPECT_FALSE(IsOff(atTolerance));
  s.dome.points[atTolerance].lightLum = std::nextafter(0.1f, 0.0f);
  Collapse(2, "  .  ");  // no digits: tolerance 0
  EXPECT_FALSE(IsOff(atTolerance));
  Collapse(2);
  EXPECT_TRUE(IsOff(atTolerance));
}

TEST_F(Finetuning, CollapseCentresOfTheOptimizationNeverTakePart) {
  const uint32_t centre = AddLight(0.5f, 3), single = AddLight(0.5f), other = AddLight(0.5f);
  Link(centre, single);
  Link(single, other);
  Collapse(2);
  EXPECT_FALSE(IsOff(centre));
  EXPECT_EQ(s.dome.points[centre].lightLum, 0.5f);
  EXPECT_EQ(s.dome.points[single].lightLum, 1.0f);
  EXPECT_TRUE(IsOff(other));
}

TEST_F(Finetuning, GroupsOfSevenMergeOnlyFullRingsAndBecomeLevelTwo) {
  const uint32_t full = AddRing(0.5f, {0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f});
  const uint32_t partial = AddRing(0.5f, {0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 0.9f});
  Collapse(7);
  EXPECT_EQ(Lights()[full - 1], (Light{true, 3.5f, 1.75f, 1.75f, 1.75f, 2}));
  for (uint32_t n = full + 1; n <= full + 6; ++n) EXPECT_TRUE(IsOff(n));
  for (uint32_t n = partial; n <= partial + 6; ++n) EXPECT_FALSE(IsOff(n));
  EXPECT_EQ(s.dome.points[partial].level, 1);
}

TEST_F(Finetuning, LargerGroupsAreFormedFirst) {
  // Point 1 comes first in index order but point 2 has the larger group.
  const uint32_t edge = AddLight(0.5f), hub = AddLight(0.5f);
  Link(edge, hub);
  for (int k = 0; k < 2; ++k) Link(hub, AddLight(0.5f));
  Collapse(2);
  EXPECT_TRUE(IsOff(edge));
  EXPECT_EQ(Lights()[hub - 1], (Light{true, 2.0f, 1.0f, 1.0f, 1.0f, 2}));  // four make level 2
}

TEST_F(Finetuning, ColoursRoundAtEveryAdditionAndTheLuminanceSumOnce) {
  const float tiny = std::ldexp(1.0f, -24);  // half an ulp of 1.0
  const uint32_t centre = AddLight(1.0f, 1, 1.0f);
  Link(centre, AddLight(tiny, 1, tiny));
  Link(centre, AddLight(tiny, 1, tiny));
  Collapse(2, "99.99");
  EXPECT_EQ(s.dome.points[centre].lightR, 1.0f);  // each half-ulp addition ties back to 1.0
  EXPECT_EQ(s.dome.points[centre].lightLum, 1.0f + 2 * tiny);
  EXPECT_EQ(s.dome.points[centre].level, 1);  // a group of three keeps its level
}

TEST_F(Finetuning, RunningCollapseAgainCanMergeFurther) {
  const uint32_t bright = AddLight(1.1f), a = AddLight(0.5f), b = AddLight(0.55f);
  Link(bright, a);
  Link(a, b);
  Collapse(2);
  EXPECT_FALSE(IsOff(bright));
  EXPECT_TRUE(IsOff(b));
  Collapse(2);
  EXPECT_TRUE(IsOff(a));
  EXPECT_EQ(s.dome.points[bright].lightLum, 1.1f + (0.5f + 0.55f));
}

TEST_F(Finetuning, ARowOutsideTheResultsChoosesNoLights) {
  const uint32_t dim = AddLight(0.1f), bright = AddLight(0.9f);
  Link(dim, bright);
  for (int row : {-1, 5001, 100000}) {
    controls.GridOptimized.selectedRow = row;
    Collapse(2, "99.99");
    EXPECT_EQ(s.dome.points[dim].lightLum, 0.1f) << row;
    EXPECT_FALSE(IsOff(bright)) << row;
  }
  Reduce(80);  // the removal does not depend on the row
  EXPECT_TRUE(IsOff(dim));
  EXPECT_FALSE(IsOff(bright));
}

}  // namespace
}  // namespace halvane
