#include <gtest/gtest.h>

#include "base/number_text.h"
#include "support/session_fixture.h"

namespace halvane {
namespace {

class Workflow : public testing::SessionTest {};

// The start-up values the later steps and the window rely on.
TEST_F(Workflow, StartValues) {
  EXPECT_EQ(host.seedCalls, 1);
  EXPECT_TRUE(s.workflowState == 0 && s.imageMissing && s.image.pixels.empty());
  EXPECT_EQ(controls.PanelLumColor.color, (Rgb{255, 229, 166}));  // 0.9f * 255 is below 229.5
  EXPECT_EQ(controls.StatusBar1.panels, (std::array<std::string, 3>{"-", "-", "-"}));
  EXPECT_TRUE(controls.Image3.visible && !controls.Image1.visible);
}

// Background, fill, points and unused boxes ("1" checked) after each state.
TEST_F(Workflow, DisplayChecksFollowTheState) {
  const auto boxes = [&](int state, uint32_t points) {
    s.workflowState = state;
    s.dome.pointCount = points;
    SyncDisplayChecks(s, controls);
    std::string shown;
    for (const CheckBox* box : {&controls.CheckDisplaybackground, &controls.CheckDisplayFill,
                                &controls.CheckDisplayPoints, &controls.CheckDisplay_unused})
      shown += box->checked ? '1' : '0';
    return shown;
  };
  EXPECT_EQ(boxes(1, 0), "1000");
  EXPECT_EQ(boxes(2, 12), "1011");
  controls.CheckDisplayPoints.checked = false;
  EXPECT_EQ(boxes(3, 12), "1101");  // the points box as the user left it
  EXPECT_EQ(boxes(4, 12), "1111");
  EXPECT_EQ(boxes(5, 12), "1110");
  EXPECT_TRUE(s.view.showFill && !s.view.showUnused && s.view.updateEnabled);  // read back
  EXPECT_EQ(boxes(0, 12), "0000");
}

TEST_F(Workflow, BusyStateAndStepMarks) {
  const Button* steps[] = {&controls.Button_LoadImage,     &controls.ButtonCalculateStartpoints,
                           &controls.ButtonApplyColor,     &controls.ButtonIncreaseMaxWhite,
                           &controls.ButtonOptimize,       &controls.ButtonReduceLights,
                           &controls.ButtonCollapseLights, &controls.ButtonExport};
  for (bool busy : {true, false}) {
    SetBusy(controls, busy);
    for (const Button* b : steps) EXPECT_EQ(b->enabled, !busy) << busy;
    EXPECT_EQ(controls.GridOptimized.enabled, !busy);
    EXPECT_TRUE(controls.ButtonExportMaya.enabled && controls.ButtonAbort.enabled);
  }

  MarkStepDone(controls, 2);
  MarkStepDone(controls, 5);
  MarkStepDone(controls, 3);
  EXPECT_EQ(controls.PanelSt[2].color, kPanelDoneColor);  // earlier marks stay
  EXPECT_TRUE(controls.PanelSt[3].color == kPanelDoneColor && controls.LabelSt[3].bold);
  EXPECT_TRUE(controls.PanelSt[5].color == kPanelColor && !controls.LabelSt[5].bold);
}

TEST(NumberText, FixedDecimalsRoundHalfToEvenOnTheBinaryValue) {
  const NumberFormat dot{'.', ","};
  EXPECT_EQ(FormatFixed(0.125, 2, dot), "0.12");
  EXPECT_EQ(FormatFixed(0.375, 2, dot), "0.38");
  EXPECT_EQ(FormatFixed(0.85, 1, dot), "0.8");  // 0.85 is slightly below in binary
  EXPECT_EQ(FormatFixed(1234.5, 2, dot, true), "1,234.50");
  EXPECT_EQ(FormatFixed(1234567.0, 0, NumberFormat{',', "."}, true), "1.234.567");
  EXPECT_EQ(FormatFixed(-0.001, 2, dot), "0.00");
  EXPECT_EQ(FormatFixed(-2.5, 1, NumberFormat{',', "."}), "-2,5");
  EXPECT_EQ(PadLeft("0.50", 5), " 0.50");
  EXPECT_EQ(PadLeft("123.45", 5), "123.45");
}

TEST(NumberText, MaskedFieldsReadBlanksAsZeros) {
  for (auto [text, value] : {std::pair{"  .5 ", 0.5f},
                             {"  . 1", 0.01f},
                             {" 1.  ", 1.0f},
                             {"1 .25", 10.25f},
                             {"99.99", 99.99f},
                             {"  .  ", 0.0f}})
    EXPECT_EQ(ReadMaskedField(text), value) << text;
}

}  // namespace
}  // namespace halvane
