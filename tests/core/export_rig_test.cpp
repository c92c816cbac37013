#include <gtest/gtest.h>

#include <filesystem>

#include "rig/arnold_script.h"
#include "rig/blender_script.h"
#include "rig/usd_stage.h"
#include "support/image_files.h"
#include "support/rig_fixtures.h"
#include "support/test_host.h"
#include "workflow/export_intensity.h"
#include "workflow/export_rig.h"
#include "workflow/workflow.h"

namespace halvane {
namespace {

namespace fs = std::filesystem;

// Counts the letter draws of an export.
struct DrawCountingHost : testing::TestHost {
  int RandomInt(int range) override {
    ++draws;
    return TestHost::RandomInt(range);
  }
  int draws = 0;
};

class ExportRigStep : public ::testing::Test {
 protected:
  ExportRigStep() {
    testing::FillRigFixture(s.dome, s.image, s.results);
    s.workflowState = 5;
    host.nextRandom = 16;  // the letter Q
  }

  StepOutcome Export(ScriptKind kind, const std::optional<std::string>& answer) {
    host.AnswerDialog(answer);
    return ExportRig(s, controls, host, kind);
  }
  std::vector<std::string> Files() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir.dir()))
      names.push_back(entry.path().filename().string());
    return names;
  }
  bool Busy() const { return !controls.ButtonExport.enabled || !controls.Button_LoadImage.enabled; }
  bool StepEightDone() const {
    return controls.LabelSt[8].bold && controls.PanelSt[8].color == kPanelDoneColor;
  }

  std::unique_ptr<Session> session = MakeSession();
  Session& s = *session;
  ControlModel controls;
  DrawCountingHost host;
  testing::TempDir dir;
};

TEST_F(ExportRigStep, NotRunBeforeColoursOrWhenTheDialogIsCancelled) {
  s.workflowState = 2;
  EXPECT_EQ(Export(ScriptKind::Maya, dir.Path("rig.mel")).status, StepStatus::kNotRun);
  EXPECT_EQ(host.answers.size(), 1u);  // no dialog was shown
  s.workflowState = 5;
  host.answers.clear();
  EXPECT_EQ(Export(ScriptKind::Maya, std::nullopt).status, StepStatus::kNotRun);
  EXPECT_EQ(host.lastExtension, ".mel");
  EXPECT_EQ(host.lastFilter, "*.mel|*.mel");
  EXPECT_TRUE(Files().empty());
  EXPECT_EQ(host.draws, 0);
  EXPECT_FALSE(StepEightDone());
  EXPECT_FALSE(Busy());
}

TEST_F(ExportRigStep, MayaExportWritesTheScriptAndMarksStepEight) {
  MarkStepDone(controls, 7);
  EXPECT_TRUE(Export(ScriptKind::Maya, dir.Path("rig.mel")).done());
  EXPECT_EQ(testing::ReadText(dir.Path("rig.mel")), testing::GoldenScript("candidate.mel"));
  EXPECT_EQ(host.draws, 1);
  EXPECT_TRUE(StepEightDone());
  EXPECT_TRUE(controls.LabelSt[7].bold);
  EXPECT_FALSE(Busy());
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(Files(), std::vector<std::string>{"rig.mel"});
}

TEST_F(ExportRigStep, XsiExportUsesTheFormsRowAndDistanceAndReplacesAFileWhole) {
  const std::string path = dir.Path("rig.vbs");
  testing::WriteText(path, std::string(100000, 'x'));
  controls.SpinLightDistance.value = 250;
  controls.GridOptimized.selectedRow = 0;
  EXPECT_TRUE(Export(ScriptKind::Xsi, path).done());
  EXPECT_EQ(host.lastFilter, "*.vbs|*.vbs");
  EXPECT_EQ(testing::ReadText(path), testing::GoldenScript("plain.vbs"));
}

// The script is complete in a temporary file before it takes the chosen
// name; when that fails the temporary file goes too. The message names the
// file and the reason, in the message box, the log and the status bar.
TEST_F(ExportRigStep, WriteFailuresAreShownAndLeaveNoFile) {
  const std::string missing = dir.Path("missing/rig.mel");
  const StepOutcome outcome = Export(ScriptKind::Maya, missing);
  EXPECT_EQ(outcome.status, StepStatus::kFailed);
  EXPECT_EQ(outcome.message, "Cannot write \"" + missing + "\": no such folder");
  EXPECT_EQ(host.messages, std::vector<std::string>{outcome.message});
  ASSERT_FALSE(controls.ListBox1.items.empty());
  EXPECT_TRUE(controls.ListBox1.items.back().ends_with(":  " + outcome.message));
  EXPECT_EQ(controls.StatusBar1.panels[0], outcome.message);
  EXPECT_TRUE(Files().empty());

  const std::string folder = dir.Path("rig.vbs");
  fs::create_directory(folder);  // a folder cannot be replaced by the script
  EXPECT_EQ(Export(ScriptKind::Xsi, folder).status, StepStatus::kFailed);
  EXPECT_NE(host.messages.at(1).find(folder), std::string::npos);
  EXPECT_EQ(Files(), std::vector<std::string>{"rig.vbs"});
  EXPECT_TRUE(fs::is_empty(folder));
  EXPECT_FALSE(Busy());
  EXPECT_FALSE(StepEightDone());
}

// The USD, Blender and Arnold exports write their writer's text for the
// form's row with one letter drawn, record the image's file name, and the
// USD and Blender buttons are held while a step runs, like the XSI button.
TEST_F(ExportRigStep, NewTargetsWriteTheirWritersTextWithTheImagesName) {
  controls.EditImagename.text = "/pictures/studio.hdr";
  Rig rig = MakeRig(s.dome, s.image, s.results, {ScriptKind::Usd, 1, 100});
  rig.source = "studio.hdr";

  EXPECT_TRUE(Export(ScriptKind::Usd, dir.Path("rig.usda")).done());
  EXPECT_EQ(host.lastFilter, "*.usda|*.usda");
  EXPECT_EQ(host.lastExtension, ".usda");
  EXPECT_EQ(testing::ReadText(dir.Path("rig.usda")), UsdStage(rig, 'Q'));
  EXPECT_TRUE(Export(ScriptKind::Blender, dir.Path("rig.py")).done());
  EXPECT_EQ(host.lastFilter, "*.py|*.py");
  EXPECT_EQ(testing::ReadText(dir.Path("rig.py")), BlenderScript(rig, 'Q'));
  EXPECT_EQ(MayaScriptKind(controls), ScriptKind::Maya);  // mental ray stays the default
  controls.RadioMayaRenderer.itemIndex = kMayaRendererArnold;
  EXPECT_TRUE(Export(MayaScriptKind(controls), dir.Path("rig.mel")).done());
  EXPECT_EQ(host.lastFilter, "*.mel|*.mel");
  EXPECT_EQ(testing::ReadText(dir.Path("rig.mel")), ArnoldScript(rig, 'Q'));
  EXPECT_EQ(host.draws, 3);

  SetBusy(controls, true);
  EXPECT_FALSE(controls.ButtonExportUsd.enabled || controls.ButtonExportBlender.enabled);
  SetBusy(controls, false);
  EXPECT_TRUE(controls.ButtonExportUsd.enabled && controls.ButtonExportBlender.enabled);
}

TEST(ScriptKinds, ExtensionsNameTheKindInAnyCase) {
  EXPECT_EQ(ScriptKindForPath("a/rig.USDA"), ScriptKind::Usd);
  EXPECT_EQ(ScriptKindForPath("rig.py"), ScriptKind::Blender);
  EXPECT_EQ(ScriptKindForPath("rig.Mel"), ScriptKind::Maya);
  EXPECT_EQ(ScriptKindForPath("rig.mel", MayaRenderer::Arnold), ScriptKind::MayaArnold);
  EXPECT_EQ(ScriptKindForPath("rig.vbs", MayaRenderer::Arnold), ScriptKind::Xsi);
  EXPECT_EQ(ScriptKindForPath("rig.usd"), std::nullopt);
  EXPECT_EQ(ScriptKindForPath("rig.usdc"), std::nullopt);
  EXPECT_EQ(ScriptKindForPath("py"), std::nullopt);
}

TEST_F(ExportRigStep, IntensityLabelShowsPositionOverTenInTheUsersFormat) {
  controls.TrackExpInt.position = 5;
  ShowExportIntensity(controls, host);
  EXPECT_EQ(controls.LabelExpIntens.caption, "0.5");
  host.numberFormat.decimalSeparator = ',';
  controls.TrackExpInt.position = 13;
  ShowExportIntensity(controls, host);
  EXPECT_EQ(controls.LabelExpIntens.caption, "1,3");
}

}  // namespace
}  // namespace halvane
