#include <gtest/gtest.h>

#include "base/number_text.h"
#include "support/test_host.h"
#include "workflow/workflow.h"

namespace halvane {
namespace {

class Workflow : public ::testing::Test {
 protected:
  void SetUp() override { StartSession(s, controls, host); }
  std::unique_ptr<Session> session = MakeSession();
  Session& s = *session;
  ControlModel controls;
  testing::TestHost host;
};

TEST_F(Workflow, StartValues) {
  EXPECT_EQ(host.seedCalls, 1);
  EXPECT_EQ(s.workflowState, 0);
  EXPECT_TRUE(s.imageMissing);
  EXPECT_EQ(s.image.width, 10);
  EXPECT_EQ(s.image.height, 10);
  EXPECT_TRUE(s.image.pixels.empty());
  EXPECT_EQ(s.dome.pointCount, 0u);
  EXPECT_EQ(s.dome.subdivLevel, 0);
  EXPECT_EQ(s.results.count, 0);
  EXPECT_EQ(s.view.background.width(), 500);
  EXPECT_EQ(s.view.preview.height(), 500);
  EXPECT_EQ(s.view.viewMin, 0.0f);
  EXPECT_EQ(s.view.viewMax, 1.0f);
  EXPECT_TRUE(s.view.updateEnabled);
  EXPECT_FALSE(controls.CheckDisplaybackground.checked);
  EXPECT_FALSE(controls.CheckDisplayFill.checked);
  EXPECT_FALSE(controls.CheckDisplayPoints.checked);
  EXPECT_FALSE(controls.CheckDisplay_unused.checked);
  EXPECT_TRUE(s.view.darkenImage);
  EXPECT_TRUE(s.view.showOutOfRange);
  EXPECT_TRUE(s.view.showCollapseNr);
  EXPECT_EQ(controls.LabelLumvalue.caption, "3.0");
  EXPECT_EQ(controls.LabelLumPower.caption, "2.0");
  EXPECT_EQ(controls.LabelLumR.caption, "1.00");
  EXPECT_EQ(controls.LabelLumG.caption, "0.90");
  EXPECT_EQ(controls.LabelLumB.caption, "0.65");
  EXPECT_EQ(s.highlight.value, 3.0f);
  EXPECT_EQ(s.highlight.g, 0.9f);
  EXPECT_EQ(controls.PanelLumColor.color, (Rgb{255, 229, 166}));
  for (const std::string& panel : controls.StatusBar1.panels) EXPECT_EQ(panel, "-");
  EXPECT_EQ(controls.GridOptimized.Cell(0, 0), "Nb.");
  EXPECT_EQ(controls.GridOptimized.Cell(5, 0), "diff. index");
  EXPECT_EQ(controls.GridOptimized.rowCount, 2);
  EXPECT_FALSE(controls.Image1.visible);
  EXPECT_TRUE(controls.Image3.visible);
  EXPECT_EQ(controls.Caption, "ZR_Halvane");
}

TEST_F(Workflow, DisplayChecksFollowTheState) {
  s.workflowState = 1;
  SyncDisplayChecks(s, controls);
  EXPECT_TRUE(controls.CheckDisplaybackground.checked);
  EXPECT_FALSE(controls.CheckDisplayPoints.checked);
  s.dome.pointCount = 12;
  SyncDisplayChecks(s, controls);
  EXPECT_TRUE(controls.CheckDisplayPoints.checked);
  EXPECT_TRUE(controls.CheckDisplay_unused.checked);
  EXPECT_FALSE(controls.CheckDisplayFill.checked);

  controls.CheckDisplayPoints.checked = false;
  s.workflowState = 3;
  SyncDisplayChecks(s, controls);
  EXPECT_TRUE(controls.CheckDisplayFill.checked);
  EXPECT_FALSE(controls.CheckDisplayPoints.checked);  // unchanged in state 3
  s.workflowState = 4;
  SyncDisplayChecks(s, controls);
  EXPECT_TRUE(controls.CheckDisplayPoints.checked);
  s.workflowState = 5;
  SyncDisplayChecks(s, controls);
  EXPECT_FALSE(controls.CheckDisplay_unused.checked);
  EXPECT_FALSE(s.view.showUnused);
  EXPECT_TRUE(s.view.showFill);
  EXPECT_TRUE(s.view.updateEnabled);
}

TEST_F(Workflow, ResolutionProposesOptimizationSettings) {
  controls.SpinOptMaxRed.value = 3;
  s.dome.subdivLevel = 3;
  ProposeSearchSettings(s, controls);
  EXPECT_EQ(controls.SpinOptMaxRed.value, 3);
  s.dome.subdivLevel = 4;
  ProposeSearchSettings(s, controls);
  EXPECT_EQ(controls.SpinOptMaxRed.value, 5);
  EXPECT_EQ(controls.SpinOptLevel1.value, 275);
  EXPECT_EQ(controls.SpinOptLevel1_min.value, 50);
  s.dome.subdivLevel = 5;
  ProposeSearchSettings(s, controls);
  EXPECT_EQ(controls.SpinOptMaxRed.value, 6);
  EXPECT_EQ(controls.SpinOptLevel1.value, 750);
  EXPECT_EQ(controls.SpinOptLevel1_min.value, 90);
}

TEST_F(Workflow, BusyStateAndStepMarks) {
  SetBusy(controls, true);
  EXPECT_FALSE(controls.Button_LoadImage.enabled);
  EXPECT_FALSE(controls.ButtonCollapseLights.enabled);
  EXPECT_FALSE(controls.GridOptimized.enabled);
  EXPECT_TRUE(controls.ButtonExportMaya.enabled);
  EXPECT_TRUE(controls.ButtonAbort.enabled);
  SetBusy(controls, false);
  EXPECT_TRUE(controls.ButtonOptimize.enabled);

  MarkStepDone(controls, 2);
  MarkStepDone(controls, 5);
  MarkStepDone(controls, 3);
  EXPECT_EQ(controls.PanelSt[2].color, kPanelDoneColor);  // earlier marks stay
  EXPECT_EQ(controls.PanelSt[3].color, kPanelDoneColor);
  EXPECT_TRUE(controls.LabelSt[3].bold);
  EXPECT_EQ(controls.PanelSt[5].color, kPanelColor);
  EXPECT_FALSE(controls.LabelSt[5].bold);
}

TEST_F(Workflow, ShorterTableMovesTheSelectionBackInside) {
  controls.GridOptimized.SetRowCount(101);
  controls.GridOptimized.selectedRow = 50;
  controls.GridOptimized.SetRowCount(2);
  EXPECT_EQ(controls.GridOptimized.selectedRow, 1);
  controls.GridOptimized.SetRowCount(11);
  controls.GridOptimized.selectedRow = 7;
  controls.GridOptimized.SetRowCount(8);
  EXPECT_EQ(controls.GridOptimized.selectedRow, 7);
}

TEST_F(Workflow, LogAbortAndClose) {
  AddLogLine(controls, host, ":  one");
  AddLogLine(controls, host, ":  two");
  EXPECT_EQ(controls.ListBox1.items.back(), "12:34:56:  two");
  EXPECT_EQ(controls.ListBox1.itemIndex, 1);
  RequestAbort(s);
  EXPECT_TRUE(s.abortRequested);
  s.abortRequested = false;
  EXPECT_TRUE(RequestClose(s));
  EXPECT_TRUE(s.abortRequested);
  ReleasePreview(s);
  EXPECT_TRUE(s.view.preview.empty());
}

TEST(NumberText, FixedDecimalsRoundHalfToEvenOnTheBinaryValue) {
  const NumberFormat dot{'.', ","};
  EXPECT_EQ(FormatFixed(0.125, 2, dot), "0.12");
  EXPECT_EQ(FormatFixed(0.375, 2, dot), "0.38");
  EXPECT_EQ(FormatFixed(0.75, 1, dot), "0.8");
  EXPECT_EQ(FormatFixed(0.85, 1, dot), "0.8");  // 0.85 is slightly below in binary
  EXPECT_EQ(FormatFixed(1234.5, 2, dot, true), "1,234.50");
  EXPECT_EQ(FormatFixed(1234567.0, 0, NumberFormat{',', "."}, true), "1.234.567");
  EXPECT_EQ(FormatFixed(-0.001, 2, dot), "0.00");
  EXPECT_EQ(FormatFixed(-2.5, 1, NumberFormat{',', "."}), "-2,5");
  EXPECT_EQ(PadLeft("0.50", 5), " 0.50");
  EXPECT_EQ(PadLeft("123.45", 5), "123.45");
}

TEST(NumberText, MaskedFieldsReadBlanksAsZeros) {
  EXPECT_EQ(ReadMaskedField("  .5 "), 0.5f);
  EXPECT_EQ(ReadMaskedField("  . 1"), 0.01f);
  EXPECT_EQ(ReadMaskedField(" 1.  "), 1.0f);
  EXPECT_EQ(ReadMaskedField(" 1.5 "), 1.5f);
  EXPECT_EQ(ReadMaskedField("1 .25"), 10.25f);
  EXPECT_EQ(ReadMaskedField("99.99"), 99.99f);
  EXPECT_EQ(ReadMaskedField("  .  "), 0.0f);
}

}  // namespace
}  // namespace halvane
