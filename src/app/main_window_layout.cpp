// Building the main window's widgets: the eight step panels on the left; the
// preview, the view settings, the mouse readout and the log on the right.
#include <QBoxLayout>
#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QSlider>
#include <QSpinBox>
#include <QStatusBar>
#include <QTableWidget>
#include <QToolButton>

#include "app/main_window.h"
#include "app/masked_field.h"
#include "app/picture_view.h"
#include "app/pictures.h"
#include "app/window_style.h"
#include "workflow/redraw.h"

namespace halvane {
namespace {

constexpr int kLegendWidth = 120;
constexpr int kLegendHeight = 25;
constexpr int kSideWidth = 250;

QHBoxLayout* Row() {
  auto* row = new QHBoxLayout;
  row->setSpacing(6);
  return row;
}

// A caption and its control side by side.
void AddCaptioned(QBoxLayout* row, const std::string& caption, QWidget* control) {
  row->addWidget(ControlBinder::Caption(caption));
  row->addWidget(control);
}

void AddCaptioned(QGridLayout* grid, int row, int col, const std::string& caption,
                  QWidget* control) {
  grid->addWidget(ControlBinder::Caption(caption), row, col);
  grid->addWidget(control, row, col + 1, Qt::AlignLeft);
}

QSpinBox* Narrow(QSpinBox* spin, int width = 64) {
  spin->setFixedWidth(width);
  return spin;
}

QLabel* Fixed(QLabel* label) {
  label->setFont(FixedWidthFont());
  return label;
}

}  // namespace

void MainWindow::BuildWindow() {
  UseWindowPalette(this);
  auto* central = new QWidget;
  auto* columns = new QHBoxLayout(central);
  columns->setContentsMargins(6, 6, 6, 6);
  columns->setSpacing(8);
  columns->addWidget(BuildStepColumn(), 1);

  auto* right = new QGridLayout;
  right->setSpacing(8);
  right->addWidget(BuildPreview(), 0, 0, Qt::AlignTop);
  auto* side = new QWidget;
  side->setFixedWidth(kSideWidth);
  auto* sideLayout = new QVBoxLayout(side);
  sideLayout->setContentsMargins(0, 0, 0, 0);
  sideLayout->addWidget(BuildViewSettings());
  sideLayout->addWidget(BuildMousePosition());
  sideLayout->addStretch(1);
  sideLayout->addWidget(BuildAboutButton(), 0, Qt::AlignRight);
  right->addWidget(side, 0, 1);
  right->addWidget(binder_.Bind(controls_.ListBox1, "ListBox1"), 1, 0, 1, 2);
  right->setRowStretch(1, 1);
  columns->addLayout(right, 0);
  setCentralWidget(central);

  binder_.Bind(controls_.StatusBar1, "StatusBar1", statusBar());
  // Why a step did not run; hidden while there is nothing to tell.
  statusHint_ = new QLabel;
  statusHint_->setObjectName(QStringLiteral("StatusHint"));
  statusHint_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  statusHint_->hide();
  statusBar()->addPermanentWidget(statusHint_);
  resize(1580, 960);
}

QWidget* MainWindow::BuildStepColumn() {
  auto* column = new QWidget;
  auto* steps = new QVBoxLayout(column);
  steps->setContentsMargins(0, 0, 0, 0);
  steps->setSpacing(4);
  steps->addWidget(BuildStepPanel(1, BuildLoadStep()));
  steps->addWidget(BuildStepPanel(2, BuildPointsStep()));
  steps->addWidget(BuildStepPanel(3, BuildColorStep()));
  steps->addWidget(BuildStepPanel(4, BuildHighlightStep()));
  steps->addWidget(BuildStepPanel(5, BuildOptimizeStep()));
  steps->addWidget(BuildStepPanel(6, BuildChooseStep()));
  steps->addWidget(BuildStepPanel(7, BuildFinetuneStep()));
  steps->addWidget(BuildStepPanel(8, BuildExportStep()));
  steps->addStretch(1);

  auto* scroll = new QScrollArea;
  scroll->setObjectName(QStringLiteral("ScrollSteps"));
  scroll->setWidget(column);
  scroll->setWidgetResizable(true);
  scroll->setFrameShape(QFrame::NoFrame);
  // Narrow enough for the window to fit a 1280 pixels wide screen beside the
  // preview and the view settings; a narrower column scrolls sideways.
  scroll->setMinimumWidth(480);
  return scroll;
}

QFrame* MainWindow::BuildStepPanel(int step, QBoxLayout* content) {
  const std::string n = std::to_string(step);
  QFrame* panel = binder_.Bind(controls_.PanelSt[step], ("PanelSt" + n).c_str());
  UsePanelPalette(panel);
  auto* layout = new QVBoxLayout(panel);
  layout->setContentsMargins(8, 3, 8, 5);
  layout->setSpacing(4);
  layout->addWidget(binder_.Bind(controls_.LabelSt[step], ("LabelSt" + n).c_str()));
  layout->addLayout(content);
  return panel;
}

QBoxLayout* MainWindow::BuildLoadStep() {
  auto* row = Row();
  row->addWidget(
      binder_.Bind(controls_.Button_LoadImage, "Button_LoadImage", [this] { OnLoadImage(); }));
  row->addWidget(binder_.Bind(controls_.EditImagename, "EditImagename"), 1);
  return row;
}

QBoxLayout* MainWindow::BuildPointsStep() {
  auto* row = Row();
  AddCaptioned(row, controls_.SpinPointIteration.caption,
               Narrow(binder_.Bind(controls_.SpinPointIteration, "SpinPointIteration",
                                   [this] { OnSpinPointIterationChange(); })));
  row->addSpacing(12);
  row->addWidget(binder_.Bind(controls_.ButtonCalculateStartpoints, "ButtonCalculateStartpoints",
                              [this] { OnPlacePoints(); }));
  row->addStretch(1);
  return row;
}

QBoxLayout* MainWindow::BuildColorStep() {
  auto* inputs = Row();
  AddCaptioned(inputs, controls_.EditBlack.caption, binder_.Bind(controls_.EditBlack, "EditBlack"));
  AddCaptioned(inputs, controls_.EditWhite.caption, binder_.Bind(controls_.EditWhite, "EditWhite"));
  AddCaptioned(inputs, controls_.EditClampwhite.caption,
               binder_.Bind(controls_.EditClampwhite, "EditClampwhite"));
  inputs->addSpacing(12);
  inputs->addWidget(
      binder_.Bind(controls_.ButtonApplyColor, "ButtonApplyColor", [this] { OnApplyColour(); }));
  inputs->addWidget(binder_.Bind(controls_.CheckThresholds, "CheckThresholds"));
  inputs->addStretch(1);

  // The statistics labels show their values after colour application.
  auto* statistics = new QGridLayout;
  statistics->setHorizontalSpacing(24);
  statistics->setVerticalSpacing(1);
  statistics->addWidget(Fixed(binder_.Bind(controls_.LabelMinvalue, "LabelMinvalue")), 0, 0);
  statistics->addWidget(Fixed(binder_.Bind(controls_.LabelMaxvalue, "LabelMaxvalue")), 1, 0);
  statistics->addWidget(Fixed(binder_.Bind(controls_.LabelAverageValue, "LabelAverageValue")), 2,
                        0);
  statistics->addWidget(Fixed(binder_.Bind(controls_.LabelThresholdNeighb, "LabelThresholdNeighb")),
                        0, 1);
  statistics->addWidget(
      Fixed(binder_.Bind(controls_.LabelThresholdNeighColor, "LabelThresholdNeighColor")), 1, 1);
  statistics->setColumnStretch(2, 1);

  auto* step = new QVBoxLayout;
  step->addLayout(BuildColourOptions());
  step->addLayout(inputs);
  step->addLayout(statistics);
  return step;
}

void MainWindow::AddTrackRow(QGridLayout* grid, int row, TrackBar& track, const char* trackName,
                             Label& value, const char* valueName, ControlBinder::Handler onChange) {
  grid->addWidget(ControlBinder::Caption(track.caption), row, 0);
  QSlider* slider = binder_.Bind(track, trackName, std::move(onChange));
  slider->setMinimumWidth(150);
  grid->addWidget(slider, row, 1);
  QLabel* label = Fixed(binder_.Bind(value, valueName));
  label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("0.000")));
  grid->addWidget(label, row, 2);
}

QBoxLayout* MainWindow::BuildHighlightStep() {
  auto* tolerances = new QGridLayout;
  tolerances->setHorizontalSpacing(6);
  AddCaptioned(tolerances, 0, 0, controls_.EditLumTolerance.caption,
               binder_.Bind(controls_.EditLumTolerance, "EditLumTolerance"));
  AddCaptioned(tolerances, 1, 0, controls_.EditLumToleranceNeighbour.caption,
               binder_.Bind(controls_.EditLumToleranceNeighbour, "EditLumToleranceNeighbour"));
  AddCaptioned(tolerances, 2, 0, controls_.SpinLumIterations.caption,
               Narrow(binder_.Bind(controls_.SpinLumIterations, "SpinLumIterations")));
  tolerances->setRowStretch(3, 1);

  auto* strength = new QGridLayout;
  strength->setHorizontalSpacing(6);
  AddTrackRow(strength, 0, controls_.TrackLumValue, "TrackLumValue", controls_.LabelLumvalue,
              "LabelLumvalue", [this] { OnTrackLumValueChange(); });
  AddTrackRow(strength, 1, controls_.TrackLumPower, "TrackLumPower", controls_.LabelLumPower,
              "LabelLumPower", [this] { OnTrackLumPowerChange(); });
  strength->setRowStretch(2, 1);

  auto* color = new QGridLayout;
  color->setHorizontalSpacing(6);
  color->setVerticalSpacing(0);
  AddTrackRow(color, 0, controls_.TrackLumR, "TrackLumR", controls_.LabelLumR, "LabelLumR",
              [this] { OnTrackLumRChange(); });
  AddTrackRow(color, 1, controls_.TrackLumG, "TrackLumG", controls_.LabelLumG, "LabelLumG",
              [this] { OnTrackLumRChange(); });
  AddTrackRow(color, 2, controls_.TrackLumB, "TrackLumB", controls_.LabelLumB, "LabelLumB",
              [this] { OnTrackLumRChange(); });
  QFrame* swatch = binder_.Bind(controls_.PanelLumColor, "PanelLumColor");
  swatch->setFixedSize(36, 36);
  color->addWidget(swatch, 0, 3, 3, 1, Qt::AlignCenter);

  auto* top = Row();
  top->addLayout(tolerances);
  top->addSpacing(16);
  top->addLayout(strength, 1);
  top->addSpacing(16);
  top->addLayout(color, 1);

  auto* action = Row();
  action->addWidget(binder_.Bind(controls_.ButtonIncreaseMaxWhite, "ButtonIncreaseMaxWhite",
                                 [this] { OnBoostHighlights(); }));
  action->addStretch(1);

  auto* step = new QVBoxLayout;
  step->addLayout(top);
  step->addLayout(action);
  return step;
}

QBoxLayout* MainWindow::BuildOptimizeStep() {
  auto* inputs = new QGridLayout;
  inputs->setHorizontalSpacing(6);
  inputs->setVerticalSpacing(3);
  AddCaptioned(inputs, 0, 0, controls_.EditOptThreshold.caption,
               binder_.Bind(controls_.EditOptThreshold, "EditOptThreshold"));
  AddCaptioned(inputs, 1, 0, controls_.SpinOptLevel1.caption,
               Narrow(binder_.Bind(controls_.SpinOptLevel1, "SpinOptLevel1")));
  inputs->addWidget(binder_.Bind(controls_.CheckOptHalt1, "CheckOptHalt1"), 2, 0, 1, 2);
  inputs->setColumnMinimumWidth(2, 12);
  AddCaptioned(inputs, 0, 3, controls_.SpinOptMaxRed.caption,
               Narrow(binder_.Bind(controls_.SpinOptMaxRed, "SpinOptMaxRed")));
  AddCaptioned(inputs, 1, 3, controls_.SpinOptLevel1_min.caption,
               Narrow(binder_.Bind(controls_.SpinOptLevel1_min, "SpinOptLevel1_min")));
  inputs->addWidget(binder_.Bind(controls_.CheckLumIncrease, "CheckLumIncrease"), 2, 3, 1, 2);
  inputs->setColumnStretch(5, 1);

  auto* run = Row();
  run->addWidget(binder_.Bind(controls_.ButtonOptimize, "ButtonOptimize",
                              [this] { OnButtonOptimizeClick(); }));
  run->addWidget(
      binder_.Bind(controls_.ButtonAbort, "ButtonAbort", [this] { OnButtonAbortClick(); }));
  run->addWidget(binder_.Bind(controls_.ButtonMedianCut, "ButtonMedianCut",
                              [this] { OnButtonMedianCutClick(); }));
  QGroupBox* level = binder_.Bind(controls_.RadioLevelNr, "RadioLevelNr");
  level->layout()->setContentsMargins(6, 0, 6, 0);
  run->addWidget(level);
  QProgressBar* gauge = binder_.Bind(controls_.GaugeOpt2, "GaugeOpt2");
  gauge->setMinimumWidth(120);
  run->addWidget(gauge, 1);

  // The hint lines are broken where their author wanted; a small font lets
  // them stand unwrapped.
  QPlainTextEdit* memo = binder_.Bind(controls_.Memo1, "Memo1");
  QFont small = memo->font();
  small.setPointSizeF(small.pointSizeF() * 0.8);
  memo->setFont(small);
  memo->setFixedHeight(memo->fontMetrics().lineSpacing() * 9 + 16);

  auto* step = new QVBoxLayout;
  step->addLayout(inputs);
  step->addLayout(run);
  step->addWidget(memo);
  return step;
}

QBoxLayout* MainWindow::BuildChooseStep() {
  QTableWidget* grid =
      binder_.Bind(controls_.GridOptimized, "GridOptimized", [this] { OnGridOptimizedClick(); });
  QFont small = grid->font();
  small.setPointSizeF(small.pointSizeF() * 0.8);
  grid->setFont(small);
  // The control model's column widths are narrow for the header texts: let them wrap.
  grid->horizontalHeader()->setDefaultAlignment(Qt::Alignment(Qt::AlignCenter | Qt::TextWordWrap));
  grid->horizontalHeader()->setFixedHeight(2 * grid->fontMetrics().lineSpacing() + 6);
  grid->setFixedHeight(128);
  auto* row = new QVBoxLayout;
  row->addWidget(grid);
  row->addWidget(binder_.Bind(controls_.LabelRigError, "LabelRigError"));
  return row;
}

QBoxLayout* MainWindow::BuildFinetuneStep() {
  auto* reduce = Row();
  AddCaptioned(
      reduce, controls_.TrackRedLum.caption,
      binder_.Bind(controls_.TrackRedLum, "TrackRedLum", [this] { OnTrackRedLumChange(); }));
  QLabel* value = Fixed(binder_.Bind(controls_.LabelRedLum, "LabelRedLum"));
  value->setMinimumWidth(value->fontMetrics().horizontalAdvance(QStringLiteral("00.00")));
  reduce->addWidget(value);
  reduce->addWidget(binder_.Bind(controls_.ButtonReduceLights, "ButtonReduceLights",
                                 [this] { OnButtonReduceLightsClick(); }));

  auto* collapse = Row();
  AddCaptioned(collapse, controls_.SpinRedGroupNr.caption,
               Narrow(binder_.Bind(controls_.SpinRedGroupNr, "SpinRedGroupNr"), 48));
  AddCaptioned(collapse, controls_.EditRedThreshold.caption,
               binder_.Bind(controls_.EditRedThreshold, "EditRedThreshold"));
  collapse->addWidget(binder_.Bind(controls_.ButtonCollapseLights, "ButtonCollapseLights",
                                   [this] { OnButtonCollapseLightsClick(); }));
  collapse->addStretch(1);

  auto* step = new QVBoxLayout;
  step->addLayout(reduce);
  step->addLayout(collapse);
  return step;
}

// The settings on the first row; the export buttons on the second, the Maya
// script's renderer choice next to its button.
QBoxLayout* MainWindow::BuildExportStep() {
  auto* settings = Row();
  AddCaptioned(settings, controls_.SpinLightDistance.caption,
               Narrow(binder_.Bind(controls_.SpinLightDistance, "SpinLightDistance"), 72));
  settings->addSpacing(8);
  QSlider* intensity =
      binder_.Bind(controls_.TrackExpInt, "TrackExpInt", [this] { OnTrackExpIntChange(); });
  intensity->setMinimumWidth(100);
  AddCaptioned(settings, controls_.TrackExpInt.caption, intensity);
  settings->addWidget(Fixed(binder_.Bind(controls_.LabelExpIntens, "LabelExpIntens")));
  settings->addStretch(1);

  auto* buttons = Row();
  buttons->addWidget(
      binder_.Bind(controls_.ButtonExport, "ButtonExport", [this] { OnButtonExportClick(); }));
  buttons->addWidget(binder_.Bind(controls_.ButtonExportMaya, "ButtonExportMaya",
                                  [this] { OnButtonExportMayaClick(); }));
  QGroupBox* renderer = binder_.Bind(controls_.RadioMayaRenderer, "RadioMayaRenderer");
  renderer->setToolTip(QStringLiteral("The renderer the Maya script is written for"));
  renderer->layout()->setContentsMargins(4, 0, 4, 0);
  buttons->addWidget(renderer);
  buttons->addWidget(binder_.Bind(controls_.ButtonExportUsd, "ButtonExportUsd",
                                  [this] { OnButtonExportUsdClick(); }));
  buttons->addWidget(binder_.Bind(controls_.ButtonExportBlender, "ButtonExportBlender",
                                  [this] { OnButtonExportBlenderClick(); }));
  buttons->addStretch(1);

  auto* step = new QVBoxLayout;
  step->addLayout(settings);
  step->addLayout(buttons);
  return step;
}

// Image1 and the title picture Image3 share one place; Image1 lies on top.
QWidget* MainWindow::BuildPreview() {
  auto* place = new QWidget;
  place->setFixedSize(kPreviewSize, kPreviewSize);
  auto* stack = new QGridLayout(place);
  stack->setContentsMargins(0, 0, 0, 0);

  const QImage title = TitlePicture(kPreviewSize, kPreviewSize);
  auto* placeholder = new PictureView(kPreviewSize, kPreviewSize, [title] { return title; });
  placeholder->setObjectName(QStringLiteral("Image3"));
  preview_ = new PictureView(kPreviewSize, kPreviewSize,
                             [this] { return WrapBitmap(ShownPreview(*session_, controls_)); });
  preview_->setObjectName(QStringLiteral("Image1"));
  stack->addWidget(placeholder, 0, 0);
  stack->addWidget(preview_, 0, 0);

  binder_.BindVisibility(controls_.Image3, placeholder);
  binder_.BindVisibility(controls_.Image1, preview_);
  for (PictureView* picture : {placeholder, preview_})
    connect(picture, &PictureView::PointerMoved, this,
            [this](int x, int y) { OnImage1MouseMove(x, y); });
  return place;
}

QWidget* MainWindow::BuildViewSettings() {
  auto* group = new QGroupBox(QStringLiteral("View Settings"));
  group->setObjectName(QStringLiteral("GroupViewSettings"));
  viewSettings_ = group;

  QSpinBox* viewMin =
      binder_.Bind(controls_.SpinViewMin, "SpinViewMin", [this] { OnSpinViewMinChange(); });
  QSpinBox* viewMax =
      binder_.Bind(controls_.SpinViewMax, "SpinViewMax", [this] { OnSpinViewMaxChange(); });
  auto* range = Row();
  for (QSpinBox* spin : {viewMin, viewMax}) UseSpinPalette(Narrow(spin, 48));
  AddCaptioned(range, controls_.SpinViewMin.caption, viewMin);
  AddCaptioned(range, controls_.SpinViewMax.caption, viewMax);
  auto* shift = new QWidget;
  shift->setObjectName(QStringLiteral("SpinButton1"));
  auto* arrows = new QVBoxLayout(shift);
  arrows->setContentsMargins(0, 0, 0, 0);
  arrows->setSpacing(0);
  for (const bool up : {true, false}) {
    auto* arrow = new QToolButton;
    arrow->setObjectName(up ? QStringLiteral("SpinButton1_Up")
                            : QStringLiteral("SpinButton1_Down"));
    arrow->setArrowType(up ? Qt::UpArrow : Qt::DownArrow);
    arrow->setFixedSize(20, 11);
    connect(arrow, &QToolButton::clicked, this,
            [this, up] { up ? OnSpinButton1UpClick() : OnSpinButton1DownClick(); });
    arrows->addWidget(arrow);
  }
  range->addWidget(shift);
  range->addStretch(1);

  // The legend sits under its check box, indented to the box's text.
  auto* outOfRange = Row();
  outOfRange->addSpacing(20);
  const QImage legendPicture = OutOfRangeLegend(kLegendWidth, kLegendHeight);
  auto* legend =
      new PictureView(kLegendWidth, kLegendHeight, [legendPicture] { return legendPicture; });
  legend->setObjectName(QStringLiteral("Image2"));
  legend->setMouseTracking(false);
  outOfRange->addWidget(legend);
  outOfRange->addStretch(1);

  auto* layout = new QVBoxLayout(group);
  layout->setSpacing(2);
  layout->addLayout(range);
  // Checks that change the background redraw it; the others only the overlay.
  const auto back = [this] { OnUpdateViewback(); };
  const auto overlay = [this] { OnUpdateView(); };
  layout->addWidget(binder_.Bind(controls_.CheckDarken, "CheckDarken", back));
  layout->addWidget(binder_.Bind(controls_.CheckViewOutRange, "CheckViewOutRange", back));
  layout->addLayout(outOfRange);
  layout->addWidget(binder_.Bind(controls_.CheckDisplaybackground, "CheckDisplaybackground", back));
  layout->addWidget(binder_.Bind(controls_.CheckDisplayFill, "CheckDisplayFill", back));
  layout->addWidget(binder_.Bind(controls_.CheckDisplayPoints, "CheckDisplayPoints", overlay));
  layout->addWidget(binder_.Bind(controls_.CheckDisplay_unused, "CheckDisplay_unused", overlay));
  layout->addWidget(binder_.Bind(controls_.CheckDisplayLines, "CheckDisplayLines", overlay));
  layout->addWidget(binder_.Bind(controls_.CheckDisplayNr, "CheckDisplayNr", overlay));
  layout->addWidget(
      binder_.Bind(controls_.CheckDisplayCollapseNr, "CheckDisplayCollapseNr", overlay));
  layout->addWidget(binder_.Bind(controls_.LabelMaxpoint, "LabelMaxpoint"));
  return group;
}

// Below the mouse readout, in the room the preview leaves, so that it moves nothing.
QWidget* MainWindow::BuildAboutButton() {
  auto* about = new QPushButton(QStringLiteral("About Halvane"));
  about->setObjectName(QStringLiteral("ButtonAbout"));
  connect(about, &QPushButton::clicked, this, &MainWindow::ShowAbout);
  return about;
}

QWidget* MainWindow::BuildMousePosition() {
  auto* group = new QGroupBox(QString::fromStdString(controls_.GroupBox3));
  group->setObjectName(QStringLiteral("GroupBox3"));
  auto* layout = new QVBoxLayout(group);
  layout->setSpacing(1);
  layout->addWidget(Fixed(binder_.Bind(controls_.LabelcordX, "LabelcordX")));
  layout->addWidget(Fixed(binder_.Bind(controls_.LabelcordY, "LabelcordY")));
  layout->addWidget(Fixed(binder_.Bind(controls_.LabelcordR, "LabelcordR")));
  layout->addWidget(Fixed(binder_.Bind(controls_.LabelcordG, "LabelcordG")));
  layout->addWidget(Fixed(binder_.Bind(controls_.LabelcordB, "LabelcordB")));
  layout->addWidget(Fixed(binder_.Bind(controls_.LabelcordLum, "LabelcordLum")));
  layout->addWidget(Fixed(binder_.Bind(controls_.Labelmaxopt, "Labelmaxopt")));
  return group;
}

}  // namespace halvane
