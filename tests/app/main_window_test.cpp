#include "app/main_window.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QToolButton>

#include "app/masked_field.h"
#include "app/window_style.h"
#include "support/image_files.h"
#include "window_driver.h"
#include "workflow/workflow.h"

namespace halvane::testing {
namespace {

QColor Background(const QWidget* w) {
  return w->palette().color(QPalette::Window);
}

std::string Text(const QLabel* label) {
  return label->text().toStdString();
}

class WindowTest : public ::testing::Test {
 protected:
  std::vector<std::string> StatusPanels() const {
    std::vector<std::string> texts;
    for (int i = 0; i < 3; ++i)
      texts.push_back(Text(w.Find<QLabel>(("StatusBar1_Panel" + std::to_string(i)).c_str())));
    return texts;
  }

  // A small float image (the reader wants at least 8 columns): a bright left
  // and a coloured right half.
  std::string WriteImage() {
    const Rgbe bright{128, 128, 128, 129};  // 1.0 in every channel
    const Rgbe colored{128, 64, 0, 127};
    std::vector<Rgbe> pixels;
    for (int i = 0; i < 16; ++i) pixels.push_back(i % 8 < 4 ? bright : colored);
    const std::string path = dir.Path("small.hdr");
    WriteFile(path, FlatRadiance(8, 2, pixels));
    return path;
  }

  void Load(const std::string& path) {
    w.host->AnswerDialog(path);
    w.Find<QPushButton>("Button_LoadImage")->click();
  }

  WindowUnderTest w;
  TempDir dir;
};

TEST_F(WindowTest, StartsWithTheStartUpValues) {
  EXPECT_EQ(w.window->windowTitle().toStdString(), "ZR_Halvane");
  EXPECT_EQ(Text(w.Find<QLabel>("LabelLumvalue")), "3.0");
  EXPECT_EQ(Text(w.Find<QLabel>("LabelLumPower")), "2.0");
  EXPECT_EQ(Text(w.Find<QLabel>("LabelLumR")), "1.00");
  EXPECT_EQ(Text(w.Find<QLabel>("LabelLumG")), "0.90");
  EXPECT_EQ(Text(w.Find<QLabel>("LabelLumB")), "0.65");
  EXPECT_EQ(Background(w.Find<QWidget>("PanelLumColor")), QColor(255, 229, 166));
  EXPECT_EQ(w.window->session().workflowState, 0);
  for (const char* name :
       {"CheckDisplaybackground", "CheckDisplayFill", "CheckDisplayPoints", "CheckDisplay_unused"})
    EXPECT_FALSE(w.Find<QCheckBox>(name)->isChecked()) << name;
  EXPECT_EQ(StatusPanels(), (std::vector<std::string>{"-", "-", "-"}));
  EXPECT_TRUE(w.Find<QWidget>("Image3")->isVisible());
  EXPECT_FALSE(w.Find<QWidget>("Image1")->isVisible());
  EXPECT_TRUE(w.Find<QCheckBox>("CheckThresholds")->isHidden());
  EXPECT_TRUE(w.Find<QCheckBox>("CheckLumIncrease")->isHidden());
  for (int i = 1; i <= 8; ++i)
    EXPECT_EQ(Background(w.Find<QWidget>(("PanelSt" + std::to_string(i)).c_str())),
              QColor(181, 185, 192));
}

TEST_F(WindowTest, GridShowsTheFormsHeaderAndColumns) {
  auto* grid = w.Find<QTableWidget>("GridOptimized");
  ASSERT_EQ(grid->columnCount(), 11);
  EXPECT_EQ(grid->horizontalHeaderItem(0)->text().toStdString(), "Nb.");
  EXPECT_EQ(grid->horizontalHeaderItem(5)->text().toStdString(), "diff. index");
  for (int col = 0; col < 11; ++col)
    EXPECT_EQ(grid->columnWidth(col), w.window->controls().GridOptimized.colWidths[col]);
  EXPECT_EQ(grid->rowCount(), 1);  // the control model's two rows less the header
}

TEST_F(WindowTest, MaskedFieldsShowTheirFiveCharactersAndWriteTheForm) {
  EXPECT_EQ(w.Find<MaskedField>("EditWhite")->text().toStdString(), " 1.  ");
  EXPECT_EQ(w.Find<MaskedField>("EditOptThreshold")->text().toStdString(), "  .5 ");
  EXPECT_EQ(w.Find<MaskedField>("EditLumTolerance")->text().toStdString(), "  . 1");

  auto* field = w.Find<MaskedField>("EditOptThreshold");
  field->setCursorPosition(1);
  TypeText(field, QStringLiteral("27"));
  EXPECT_EQ(w.window->controls().EditOptThreshold.text, " 2.7 ");

  w.window->controls().EditRedThreshold.text = " 3. 5";
  w.window->RefreshAll();
  EXPECT_EQ(w.Find<MaskedField>("EditRedThreshold")->text().toStdString(), " 3. 5");
}

TEST_F(WindowTest, LoadingAnImageShowsItEverywhere) {
  const std::string path = WriteImage();
  Load(path);

  EXPECT_EQ(w.window->session().workflowState, 1);
  EXPECT_TRUE(w.Find<QWidget>("Image1")->isVisible());
  EXPECT_FALSE(w.Find<QWidget>("Image3")->isVisible());
  EXPECT_TRUE(w.Find<QCheckBox>("CheckDisplaybackground")->isChecked());
  EXPECT_FALSE(w.Find<QCheckBox>("CheckDisplayPoints")->isChecked());
  EXPECT_EQ(w.Find<QLineEdit>("EditImagename")->text().toStdString(), path);

  auto* log = w.Find<QListWidget>("ListBox1");
  ASSERT_EQ(log->count(), 1);
  EXPECT_EQ(log->item(0)->text().toStdString(), "12:34:56:  File loaded (\"" + path + "\").");
  EXPECT_EQ(log->currentRow(), 0);
  EXPECT_EQ(StatusPanels(), (std::vector<std::string>{"File loaded.", "", "\"" + path + "\""}));

  EXPECT_EQ(Background(w.Find<QWidget>("PanelSt1")), QColor(200, 210, 230));
  EXPECT_TRUE(w.Find<QLabel>("LabelSt1")->font().bold());
  EXPECT_FALSE(w.Find<QLabel>("LabelSt2")->font().bold());
  EXPECT_TRUE(w.Find<QPushButton>("ButtonOptimize")->isEnabled());
}

TEST_F(WindowTest, PreviewShowsTheCoresBitmap) {
  Load(WriteImage());
  const QImage shown = w.Find<QWidget>("Image1")->grab().toImage();
  const Bitmap& back = w.window->session().view.background;
  for (const auto& [x, y] : {std::pair{10, 10}, {240, 20}, {260, 300}, {499, 499}}) {
    const Rgb want = back.Pixel(x, y);
    EXPECT_EQ(shown.pixel(x, y), qRgb(want.r, want.g, want.b)) << x << "," << y;
  }
  EXPECT_NE(back.Pixel(10, 10), back.Pixel(260, 300));  // the picture is not uniform
}

TEST_F(WindowTest, MovingOverThePreviewShowsTheImagePosition) {
  Load(WriteImage());
  QMouseEvent move(QEvent::MouseMove, QPointF(250, 1), QPointF(250, 1), Qt::NoButton, Qt::NoButton,
                   Qt::NoModifier);
  QCoreApplication::sendEvent(w.Find<QWidget>("Image1"), &move);
  EXPECT_EQ(Text(w.Find<QLabel>("LabelcordX")), "X: 4");
  EXPECT_EQ(Text(w.Find<QLabel>("LabelcordY")), "Y: 0");
  EXPECT_EQ(w.Find<QLabel>("LabelcordX")->font().family(), FixedWidthFont().family());
}

TEST_F(WindowTest, AMissingFileBringsBackThePlaceholder) {
  Load(WriteImage());
  Load(dir.Path("gone.hdr"));
  EXPECT_EQ(w.window->session().workflowState, 0);
  EXPECT_TRUE(w.Find<QWidget>("Image3")->isVisible());
  EXPECT_FALSE(w.Find<QWidget>("Image1")->isVisible());
  EXPECT_TRUE(w.Find<QLineEdit>("EditImagename")->text().isEmpty());
}

TEST_F(WindowTest, StepButtonsDoNothingWithoutAnImage) {
  for (const char* name : {"ButtonCalculateStartpoints", "ButtonApplyColor",
                           "ButtonIncreaseMaxWhite", "ButtonOptimize", "ButtonReduceLights",
                           "ButtonCollapseLights", "ButtonExport", "ButtonExportMaya"}) {
    w.Find<QPushButton>(name)->click();
    EXPECT_EQ(w.window->session().workflowState, 0) << name;
  }
  EXPECT_EQ(w.Find<QListWidget>("ListBox1")->count(), 0);
  EXPECT_TRUE(w.host->messages.empty());
  EXPECT_EQ(StatusPanels(), (std::vector<std::string>{"-", "-", "-"}));
}

TEST_F(WindowTest, ViewSettingsCallTheirHandlers) {
  w.Find<QCheckBox>("CheckDisplayLines")->click();
  EXPECT_TRUE(w.window->controls().CheckDisplayLines.checked);
  EXPECT_TRUE(w.window->session().view.showLines);
  EXPECT_EQ(Text(w.Find<QLabel>("LabelMaxpoint")), "0 Pnts (0 used) ");

  // Raising the minimum past the maximum moves the maximum along.
  w.Find<QSpinBox>("SpinViewMin")->setValue(5);
  EXPECT_EQ(w.Find<QSpinBox>("SpinViewMax")->value(), 6);
  EXPECT_EQ(w.window->session().view.viewMin, 5.0f);

  w.Find<QToolButton>("SpinButton1_Up")->click();
  EXPECT_EQ(w.Find<QSpinBox>("SpinViewMin")->value(), 6);
  EXPECT_EQ(w.Find<QSpinBox>("SpinViewMax")->value(), 7);
}

TEST_F(WindowTest, RefreshingNeverCallsHandlers) {
  ControlModel& controls = w.window->controls();
  controls.CheckDisplayLines.checked = true;
  controls.SpinViewMin.value = 7;
  w.window->RefreshAll();
  EXPECT_TRUE(w.Find<QCheckBox>("CheckDisplayLines")->isChecked());
  EXPECT_EQ(w.Find<QSpinBox>("SpinViewMin")->value(), 7);
  // UpdateView and SpinViewMinChange would have redrawn and moved the maximum.
  EXPECT_EQ(Text(w.Find<QLabel>("LabelMaxpoint")), "");
  EXPECT_EQ(controls.SpinViewMax.value, 1);
  EXPECT_FALSE(w.window->session().view.showLines);
}

TEST_F(WindowTest, GridAndLogFollowTheForm) {
  ControlModel& controls = w.window->controls();
  controls.GridOptimized.SetRowCount(4);
  controls.GridOptimized.Cell(1, 2) = "   17";
  controls.GridOptimized.selectedRow = 2;
  controls.ListBox1.items = {"a", "b", "c"};
  controls.ListBox1.itemIndex = 1;
  w.window->RefreshAll();

  auto* grid = w.Find<QTableWidget>("GridOptimized");
  ASSERT_EQ(grid->rowCount(), 3);
  EXPECT_EQ(grid->item(1, 1)->text().toStdString(), "   17");
  EXPECT_EQ(grid->currentRow(), 1);
  grid->setCurrentCell(2, 0);
  EXPECT_EQ(controls.GridOptimized.selectedRow, 3);

  auto* log = w.Find<QListWidget>("ListBox1");
  EXPECT_EQ(log->count(), 3);
  EXPECT_EQ(log->currentRow(), 1);
  controls.ListBox1.items.push_back("d");
  controls.ListBox1.itemIndex = 3;
  w.window->RefreshCheap();
  EXPECT_EQ(log->count(), 4);
  EXPECT_EQ(log->currentRow(), 3);
  controls.ListBox1.items = {"x"};
  controls.ListBox1.itemIndex = 0;
  w.window->RefreshCheap();
  ASSERT_EQ(log->count(), 1);
  EXPECT_EQ(log->item(0)->text().toStdString(), "x");
}

// A long step lets events run; clicks may arrive meanwhile.
TEST_F(WindowTest, DuringAStepOnlyAbortIsTaken) {
  bool nestedRan = false, nestedAccepted = true;
  auto* lines = w.Find<QCheckBox>("CheckDisplayLines");
  w.window->RunStep([&] {
    w.Find<QPushButton>("ButtonAbort")->click();
    nestedAccepted = w.window->RunStep([&] { nestedRan = true; });
    lines->click();
  });
  EXPECT_TRUE(w.window->session().abortRequested);
  EXPECT_FALSE(nestedAccepted);
  EXPECT_FALSE(nestedRan);
  // The refused edit leaves control model and box as they were.
  EXPECT_FALSE(lines->isChecked());
  EXPECT_FALSE(w.window->controls().CheckDisplayLines.checked);
  EXPECT_FALSE(w.window->StepRunning());
}

TEST_F(WindowTest, CloseDuringAStepWaitsForTheStep) {
  int closeRequests = 0;
  w.host->onEvents = [&] {
    if (closeRequests++ == 0) w.window->close();
  };
  bool visibleAfterRequest = false, abortSeen = false, bitmapsKept = false;
  w.window->RunStep([&] {
    for (int i = 0; i < 5; ++i) w.window->host().ProcessEvents();
    visibleAfterRequest = w.window->isVisible();
    abortSeen = w.window->session().abortRequested;
    bitmapsKept = !w.window->session().view.preview.empty();
  });
  EXPECT_TRUE(visibleAfterRequest);
  EXPECT_TRUE(abortSeen);
  EXPECT_TRUE(bitmapsKept);
  EXPECT_FALSE(w.window->isVisible());
  EXPECT_TRUE(w.window->session().view.preview.empty());
}

TEST_F(WindowTest, CloseWithoutAStepClosesAtOnce) {
  EXPECT_TRUE(w.window->close());
  EXPECT_FALSE(w.window->isVisible());
  EXPECT_TRUE(w.window->session().abortRequested);
  EXPECT_TRUE(w.window->session().view.background.empty());
}

TEST_F(WindowTest, AFailingStepIsReportedAndLeavesTheWindowUsable) {
  w.window->RunStep([&] {
    SetBusy(w.window->controls(), true);
    throw std::out_of_range("index 2601 outside 0..2600");
  });
  ASSERT_EQ(w.host->messages.size(), 1u);
  EXPECT_NE(w.host->messages[0].find("index 2601"), std::string::npos);
  EXPECT_TRUE(w.Find<QPushButton>("Button_LoadImage")->isEnabled());
  EXPECT_FALSE(w.window->StepRunning());
}

}  // namespace
}  // namespace halvane::testing
