// One artist's road through the window: every step from its button, checked
// on what the widgets show.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>

#include "support/image_files.h"
#include "support/rig_fixtures.h"
#include "window_driver.h"

namespace halvane::testing {
namespace {

std::string Text(const QLabel* label) {
  return label->text().toStdString();
}

class StepsThroughWindow : public ::testing::Test {
 protected:
  std::string WriteSky() { return WriteNoisySky(dir.Path("sky.hdr")); }

  void Click(const char* button) { w.Find<QPushButton>(button)->click(); }
  std::string LastLog(int before = 0) const {
    const QListWidget* log = w.Find<QListWidget>("ListBox1");
    return log->item(log->count() - 1 - before)->text().toStdString();
  }
  void MoveMouse(int x, int y) {
    QMouseEvent move(QEvent::MouseMove, QPointF(x, y), QPointF(x, y), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(w.Find<QWidget>("Image1"), &move);
  }

  TempDir dir;
  WindowUnderTest w;
};

TEST_F(StepsThroughWindow, FromImageToScripts) {
  w.host->AnswerDialog(WriteSky());
  Click("Button_LoadImage");
  w.Find<QSpinBox>("SpinPointIteration")->setValue(3);

  Click("ButtonCalculateStartpoints");
  EXPECT_EQ(Text(w.Find<QLabel>("LabelMaxpoint")), "162 Pnts (0 used) ");
  EXPECT_NE(LastLog().find(":  162 points calculated."), std::string::npos);

  Click("ButtonApplyColor");
  EXPECT_EQ(Text(w.Find<QLabel>("LabelMaxpoint")), "162 Pnts (162 used) ");
  EXPECT_EQ(Text(w.Find<QLabel>("LabelMinvalue")).rfind("Min Luminance:", 0), 0u);
  EXPECT_NE(Text(w.Find<QLabel>("LabelMaxvalue")).find('.'), std::string::npos);
  EXPECT_NE(LastLog().find(":  Color copied from image to points"), std::string::npos);
  MoveMouse(250, 100);
  EXPECT_EQ(Text(w.Find<QLabel>("LabelcordX")), "X: 32");
  EXPECT_EQ(Text(w.Find<QLabel>("LabelcordLum")).rfind("Lum: ", 0), 0u);

  Click("ButtonIncreaseMaxWhite");
  EXPECT_NE(LastLog().find(":        Luminance increase done."), std::string::npos);
  EXPECT_EQ(w.window->session().workflowState, 4);

  // The Maya export button stays enabled, but an export while the
  // optimization runs would write a half-finished state: it is refused.
  std::string hintDuringOptimization;
  w.host->onEvents = [&] {
    if (!hintDuringOptimization.empty()) return;
    Click("ButtonExportMaya");
    hintDuringOptimization = Text(w.Find<QLabel>("StatusHint"));
  };
  Click("ButtonOptimize");
  w.host->onEvents = nullptr;
  EXPECT_EQ(hintDuringOptimization, "Wait for the optimization to finish.");
  EXPECT_TRUE(w.Find<QLabel>("StatusHint")->isHidden());
  EXPECT_EQ(w.window->session().workflowState, 5);
  EXPECT_NE(LastLog(1).find(":  Optimization done. "), std::string::npos);
  EXPECT_NE(LastLog().find(":  Rig error: "), std::string::npos);  // the chosen row's
  const QTableWidget* grid = w.Find<QTableWidget>("GridOptimized");
  ASSERT_GE(grid->rowCount(), 1);
  ASSERT_NE(grid->item(0, 1), nullptr);
  const int lightsOfRow1 = std::stoi(grid->item(0, 1)->text().toStdString());
  EXPECT_EQ(w.window->session().statistics.usedPointCount, lightsOfRow1);

  w.Find<QSpinBox>("SpinRedGroupNr")->setValue(2);
  Click("ButtonReduceLights");
  const std::regex counted(R"(12:34:56:  (Reduce|Collapse) lights: (\d+) -> (\d+) lights)");
  std::smatch reduced, collapsed;
  const std::string reduceLine = LastLog(1);  // the rig error follows
  ASSERT_TRUE(std::regex_match(reduceLine, reduced, counted)) << reduceLine;
  EXPECT_EQ(std::stoi(reduced[2]), lightsOfRow1);
  Click("ButtonCollapseLights");
  const std::string collapseLine = LastLog(1);
  EXPECT_NE(LastLog().find(":  Rig error: "), std::string::npos);
  ASSERT_TRUE(std::regex_match(collapseLine, collapsed, counted)) << collapseLine;
  EXPECT_EQ(collapsed[2], reduced[3]);
  EXPECT_LE(w.window->session().statistics.usedPointCount, lightsOfRow1);

  const std::string mel = dir.Path("rig.mel"), vbs = dir.Path("rig.vbs");
  w.host->AnswerDialog(mel);
  Click("ButtonExportMaya");
  const std::string written =
      "Maya script written: " + mel + " (" + collapsed[3].str() + " lights)";
  EXPECT_EQ(Text(w.Find<QLabel>("StatusBar1_Panel0")), written);
  EXPECT_EQ(LastLog(), "12:34:56:  " + written);
  w.host->AnswerDialog(vbs);
  Click("ButtonExport");
  EXPECT_GT(std::filesystem::file_size(mel), 2000u);
  EXPECT_GT(std::filesystem::file_size(vbs), 1000u);
  EXPECT_TRUE(w.window->controls().LabelSt[8].bold);
  EXPECT_TRUE(w.host->messages.size() <= 1);  // at most the load's closing remark

  // Today's targets: a USD stage, a Blender script and, with Arnold chosen
  // next to the Maya button, the Maya script for Arnold.
  const std::string usda = dir.Path("rig.usda"), py = dir.Path("rig.py"),
                    arnold = dir.Path("rig-arnold.mel");
  w.host->AnswerDialog(usda);
  Click("ButtonExportUsd");
  w.host->AnswerDialog(py);
  Click("ButtonExportBlender");
  w.Find<QRadioButton>("RadioMayaRenderer_1")->click();
  w.host->AnswerDialog(arnold);
  Click("ButtonExportMaya");
  EXPECT_EQ(ReadText(usda).rfind("#usda 1.0\n", 0), 0u);
  EXPECT_NE(ReadText(py).find("\nimport bpy\n"), std::string::npos);
  EXPECT_NE(ReadText(arnold).find("zrHalvaneLight($root"), std::string::npos);
  EXPECT_EQ(ReadText(arnold).find("Mayatomr"), std::string::npos);
  EXPECT_NE(ReadText(mel).find("Mayatomr"), std::string::npos);
}

}  // namespace
}  // namespace halvane::testing
