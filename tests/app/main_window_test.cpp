#include "app/main_window.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>

#include "app/masked_field.h"
#include "app/window_style.h"
#include "support/image_files.h"
#include "support/test_host.h"
#include "window_driver.h"
#include "workflow/workflow.h"

namespace halvane::testing {
namespace {

class WindowTest : public ::testing::Test, public WindowUnderTest {
 protected:
  std::string Text(const char* label) const { return Find<QLabel>(label)->text().toStdString(); }
  void Click(const char* button) const { Find<QPushButton>(button)->click(); }
  QColor Background(const char* name) const {
    return Find<QWidget>(name)->palette().color(QPalette::Window);
  }
  std::vector<std::string> StatusPanels() const {
    return {Text("StatusBar1_Panel0"), Text("StatusBar1_Panel1"), Text("StatusBar1_Panel2")};
  }
  std::string FieldText(const char* name) const {
    return Find<MaskedField>(name)->text().toStdString();
  }
  ControlModel& controls() { return window->controls(); }
  const Session& session() { return window->session(); }

  std::string WriteSky() { return WriteNoisySky(dir.Path("sky.hdr")); }
  void Load(const std::string& path) {
    host->AnswerDialog(path);
    Click("Button_LoadImage");
  }

  TempDir dir;
};

TEST_F(WindowTest, AFreshWindowShowsTheFormTakesFieldEditsAndIgnoresStepsWithoutAnImage) {
  EXPECT_TRUE(Find<QCheckBox>("CheckThresholds")->isHidden() &&
              Find<QCheckBox>("CheckLumIncrease")->isHidden());
  auto* grid = Find<QTableWidget>("GridOptimized");
  ASSERT_EQ(grid->columnCount(), 11);
  EXPECT_EQ(grid->horizontalHeaderItem(5)->text().toStdString(), "diff. index");
  EXPECT_EQ(grid->rowCount(), 1);  // the control model's two rows less the header

  for (const char* name : {"ButtonCalculateStartpoints", "ButtonApplyColor",
                           "ButtonIncreaseMaxWhite", "ButtonOptimize", "ButtonReduceLights",
                           "ButtonCollapseLights", "ButtonExport", "ButtonExportMaya"}) {
    Click(name);
    EXPECT_EQ(session().workflowState, 0) << name;
  }
  EXPECT_EQ(Find<QListWidget>("ListBox1")->count(), 0);
  EXPECT_TRUE(host->messages.empty());
  EXPECT_EQ(StatusPanels(), (std::vector<std::string>{"-", "-", "-"}));

  // Masked fields write the form and show it.
  auto* field = Find<MaskedField>("EditOptThreshold");
  field->setCursorPosition(1);
  TypeText(field, QStringLiteral("27"));
  EXPECT_EQ(controls().EditOptThreshold.text, " 2.7 ");
  controls().EditRedThreshold.text = " 3. 5";
  window->RefreshAll();
  EXPECT_EQ(FieldText("EditRedThreshold"), " 3. 5");
}

TEST_F(WindowTest, LoadingAnImageShowsItEverywhereAndAMissingFileThePlaceholder) {
  const std::string path = WriteSky();
  Load(path);
  EXPECT_TRUE(Find<QWidget>("Image1")->isVisible() && !Find<QWidget>("Image3")->isVisible());
  EXPECT_TRUE(Find<QCheckBox>("CheckDisplaybackground")->isChecked());
  EXPECT_EQ(Find<QLineEdit>("EditImagename")->text().toStdString(), path);
  EXPECT_EQ(Find<QListWidget>("ListBox1")->currentRow(), 0);
  EXPECT_EQ(StatusPanels()[0], "File loaded.");
  EXPECT_EQ(Background("PanelSt1"), QColor(200, 210, 230));
  EXPECT_TRUE(Find<QLabel>("LabelSt1")->font().bold() && !Find<QLabel>("LabelSt2")->font().bold());

  // The preview shows the session's bitmap, the readout in a fixed-width font.
  const QImage shown = Find<QWidget>("Image1")->grab().toImage();
  const Bitmap& back = session().view.background;
  for (const auto& [x, y] : {std::pair{10, 10}, {240, 20}, {260, 300}, {499, 499}}) {
    const Rgb want = back.Pixel(x, y);
    EXPECT_EQ(shown.pixel(x, y), qRgb(want.r, want.g, want.b)) << x << "," << y;
  }
  EXPECT_NE(back.Pixel(10, 10), back.Pixel(260, 300));  // the picture is not uniform
  EXPECT_EQ(Find<QLabel>("LabelcordX")->font().family(), FixedWidthFont().family());

  Load(dir.Path("gone.hdr"));
  EXPECT_EQ(session().workflowState, 0);
  EXPECT_TRUE(Find<QWidget>("Image3")->isVisible() && !Find<QWidget>("Image1")->isVisible());
  EXPECT_TRUE(Find<QLineEdit>("EditImagename")->text().isEmpty());
}

// Refreshing shows the form without calling a handler; the user's edits call them.
TEST_F(WindowTest, WidgetsAndTheFormFollowEachOther) {
  ControlModel& form = controls();
  form.CheckDisplayLines.checked = true;
  form.SpinViewMin.value = 7;
  form.GridOptimized.SetRowCount(4);
  form.GridOptimized.Cell(1, 2) = "   17";
  form.GridOptimized.selectedRow = 2;
  form.ListBox1.items = {"a", "b", "c"};
  form.ListBox1.itemIndex = 1;
  window->RefreshAll();
  auto* lines = Find<QCheckBox>("CheckDisplayLines");
  auto* grid = Find<QTableWidget>("GridOptimized");
  auto* log = Find<QListWidget>("ListBox1");
  EXPECT_TRUE(lines->isChecked() && Find<QSpinBox>("SpinViewMin")->value() == 7);
  ASSERT_EQ(grid->rowCount(), 3);
  EXPECT_EQ(grid->item(1, 1)->text().toStdString(), "   17");
  EXPECT_TRUE(grid->currentRow() == 1 && log->currentRow() == 1);
  // The handlers would have redrawn and moved the maximum.
  EXPECT_EQ(Text("LabelMaxpoint"), "");
  EXPECT_EQ(form.SpinViewMax.value, 1);
  EXPECT_FALSE(session().view.showLines);
  form.ListBox1.items.push_back("d");
  form.ListBox1.itemIndex = 3;
  window->RefreshCheap();
  EXPECT_TRUE(log->count() == 4 && log->currentRow() == 3);

  lines->click();
  EXPECT_EQ(Text("LabelMaxpoint"), "0 Pnts (0 used) ");
  lines->click();
  EXPECT_TRUE(form.CheckDisplayLines.checked && session().view.showLines);
  grid->setCurrentCell(2, 0);
  EXPECT_EQ(form.GridOptimized.selectedRow, 3);
  // A minimum at or above the maximum moves the maximum along.
  Find<QSpinBox>("SpinViewMin")->setValue(5);
  EXPECT_EQ(Find<QSpinBox>("SpinViewMax")->value(), 6);
}

// A long step lets events run; clicks may arrive meanwhile.
TEST_F(WindowTest, DuringAStepOnlyAbortIsTaken) {
  bool nestedRan = false, nestedAccepted = true;
  auto* lines = Find<QCheckBox>("CheckDisplayLines");
  window->RunStep([&] {
    Click("ButtonAbort");
    nestedAccepted = window->RunStep([&] { nestedRan = true; });
    lines->click();
  });
  EXPECT_TRUE(session().abortRequested);
  EXPECT_FALSE(nestedAccepted || nestedRan);
  // The refused edit leaves control model and box as they were.
  EXPECT_FALSE(lines->isChecked() || controls().CheckDisplayLines.checked);
  EXPECT_FALSE(window->StepRunning());
}

TEST_F(WindowTest, CloseDuringAStepWaitsForTheStep) {
  int closeRequests = 0;
  host->onEvents = [&] {
    if (closeRequests++ == 0) window->close();
  };
  bool openWithAbortAndBitmaps = false;
  window->RunStep([&] {
    for (int i = 0; i < 5; ++i) window->host().ProcessEvents();
    openWithAbortAndBitmaps =
        window->isVisible() && session().abortRequested && !session().view.preview.empty();
  });
  EXPECT_TRUE(openWithAbortAndBitmaps);
  EXPECT_FALSE(window->isVisible());
  EXPECT_TRUE(session().view.preview.empty());
}

TEST_F(WindowTest, AFailingStepIsReportedAndLeavesTheWindowUsableAndClosable) {
  window->RunStep([&] {
    SetBusy(controls(), true);
    throw std::out_of_range("index 2601 outside 0..2600");
  });
  ASSERT_EQ(host->messages.size(), 1u);
  EXPECT_NE(host->messages[0].find("index 2601"), std::string::npos);
  EXPECT_TRUE(Find<QPushButton>("Button_LoadImage")->isEnabled());
  EXPECT_FALSE(window->StepRunning());
  // Without a step running the window closes at once.
  EXPECT_TRUE(window->close());
  EXPECT_FALSE(window->isVisible());
  EXPECT_TRUE(session().abortRequested && session().view.background.empty());
}

}  // namespace
}  // namespace halvane::testing
