#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "rig/export_step.h"
#include "rig/script_text.h"
#include "support/export_fixtures.h"
#include "support/image_files.h"
#include "support/test_host.h"
#include "workflow/control_model.h"
#include "workflow/workflow.h"

namespace halvane {
namespace {

namespace fs = std::filesystem;

// Counts the letter draws of an export.
class DrawCountingHost : public testing::TestHost {
 public:
  int RandomInt(int range) override {
    ++draws;
    return TestHost::RandomInt(range);
  }
  int draws = 0;
};

std::string ReadWhole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<std::string> FolderEntries(const std::string& dir) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir))
    names.push_back(entry.path().filename().string());
  return names;
}

class ExportStep : public ::testing::Test {
 protected:
  ExportStep() { host.nextRandom = 16; }  // the letter Q

  bool Busy() const { return !controls.ButtonExport.enabled || !controls.Button_LoadImage.enabled; }
  bool StepEightDone() const {
    return controls.LabelSt[8].bold && controls.PanelSt[8].color == kPanelDoneColor;
  }

  std::unique_ptr<Session> session = testing::MakeExportSession();
  ControlModel controls;
  DrawCountingHost host;
  testing::TempDir dir;
};

TEST_F(ExportStep, NothingHappensBeforeColoursAreApplied) {
  session->workflowState = 2;
  host.AnswerDialog(dir.Path("rig.mel"));
  ButtonExportMayaClick(*session, controls, host);
  ButtonExportClick(*session, controls, host);
  EXPECT_EQ(host.answers.size(), 1u);  // no dialog was shown
  EXPECT_TRUE(FolderEntries(dir.dir()).empty());
  EXPECT_FALSE(StepEightDone());
}

TEST_F(ExportStep, CancelledDialogWritesNothing) {
  host.AnswerDialog(std::nullopt);
  ButtonExportMayaClick(*session, controls, host);
  EXPECT_EQ(host.lastExtension, ".mel");
  EXPECT_EQ(host.lastFilter, "*.mel|*.mel");
  EXPECT_TRUE(FolderEntries(dir.dir()).empty());
  EXPECT_EQ(host.draws, 0);
  EXPECT_FALSE(StepEightDone());
  EXPECT_FALSE(Busy());
}

TEST_F(ExportStep, MayaExportWritesTheScriptAndMarksStepEight) {
  MarkStepDone(controls, 7);
  const std::string path = dir.Path("rig.mel");
  host.AnswerDialog(path);
  ButtonExportMayaClick(*session, controls, host);

  EXPECT_EQ(ReadWhole(path), BuildScript(*session, ScriptKind::Maya, {1, 100}, 'Q'));
  EXPECT_EQ(host.draws, 1);
  EXPECT_TRUE(StepEightDone());
  EXPECT_TRUE(controls.LabelSt[7].bold);
  EXPECT_FALSE(Busy());
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(FolderEntries(dir.dir()), std::vector<std::string>{"rig.mel"});
}

TEST_F(ExportStep, XsiExportUsesTheDistanceAndSelectedRowOfTheForm) {
  const std::string path = dir.Path("rig.vbs");
  controls.SpinLightDistance.value = 250;
  controls.GridOptimized.selectedRow = 0;
  host.AnswerDialog(path);
  ButtonExportClick(*session, controls, host);

  EXPECT_EQ(host.lastExtension, ".vbs");
  EXPECT_EQ(host.lastFilter, "*.vbs|*.vbs");
  EXPECT_EQ(ReadWhole(path), BuildScript(*session, ScriptKind::Xsi, {0, 250}, 'Q'));
  EXPECT_TRUE(StepEightDone());
}

TEST_F(ExportStep, ExportReplacesAnExistingFileWhole) {
  const std::string path = dir.Path("rig.vbs");
  testing::WriteText(path, std::string(100000, 'x'));
  host.AnswerDialog(path);
  ButtonExportClick(*session, controls, host);
  EXPECT_EQ(ReadWhole(path), BuildScript(*session, ScriptKind::Xsi, {1, 100}, 'Q'));
}

TEST_F(ExportStep, MissingFolderShowsTheSystemErrorAndLeavesTheBusyState) {
  const std::string path = dir.Path("missing/rig.mel");
  host.AnswerDialog(path);
  ButtonExportMayaClick(*session, controls, host);

  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_NE(host.messages[0].find(path), std::string::npos);
  EXPECT_NE(host.messages[0].find("No such file or directory"), std::string::npos);
  EXPECT_FALSE(Busy());
  EXPECT_FALSE(StepEightDone());
  EXPECT_TRUE(FolderEntries(dir.dir()).empty());
}

// The script is complete in a temporary file before it takes the chosen
// name; when that last step fails the temporary file goes too.
TEST_F(ExportStep, FailureAfterWritingLeavesNoTemporaryFile) {
  const std::string path = dir.Path("rig.vbs");
  fs::create_directory(path);  // a folder cannot be replaced by the script
  host.AnswerDialog(path);
  ButtonExportClick(*session, controls, host);

  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_NE(host.messages[0].find(path), std::string::npos);
  EXPECT_FALSE(Busy());
  EXPECT_FALSE(StepEightDone());
  EXPECT_EQ(FolderEntries(dir.dir()), std::vector<std::string>{"rig.vbs"});
  EXPECT_TRUE(fs::is_empty(path));
}

TEST_F(ExportStep, IntensityLabelShowsPositionOverTenInTheUsersFormat) {
  controls.TrackExpInt.position = 5;
  TrackExpIntChange(controls, host);
  EXPECT_EQ(controls.LabelExpIntens.caption, "0.5");
  controls.TrackExpInt.position = 20;
  TrackExpIntChange(controls, host);
  EXPECT_EQ(controls.LabelExpIntens.caption, "2.0");
  host.numberFormat.decimalSeparator = ',';
  controls.TrackExpInt.position = 13;
  TrackExpIntChange(controls, host);
  EXPECT_EQ(controls.LabelExpIntens.caption, "1,3");
}

}  // namespace
}  // namespace halvane
