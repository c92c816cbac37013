#pragma once

#include <functional>
#include <memory>

#include <QMainWindow>

#include "app/control_binder.h"
#include "workflow/control_model.h"
#include "workflow/host.h"
#include "workflow/session.h"

class QBoxLayout;
class QFrame;
class QGridLayout;

namespace halvane {

class PictureView;

// The main window: a projection of the control model. Every widget carries its
// control's name as object name; a user's edit writes the control model and runs the
// control's handler; after each handler, and whenever the host lets events
// run during a long step, the widgets show the control model again.
class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit MainWindow(QWidget* parent = nullptr);
  // Runs with `host` in place of the Qt host (tests).
  explicit MainWindow(std::unique_ptr<Host> host, QWidget* parent = nullptr);
  ~MainWindow() override;

  Session& session() { return *session_; }
  ControlModel& controls() { return controls_; }
  Host& host() { return *host_; }

  // Runs one step on the user-interface thread. While a step runs (it may let
  // events run, so clicks and close requests arrive meanwhile) a second one
  // is refused and false returned. Afterwards the widgets show the control model, and
  // a close requested during the step is carried out.
  bool RunStep(const std::function<void()>& step);
  bool StepRunning() const { return stepsRunning_ > 0; }

  // Shows the control model in the widgets: what a long step updates, or everything.
  void RefreshCheap();
  void RefreshAll();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  std::unique_ptr<Host> MakeQtHost();
  void ReportStepFailure(const char* what);

  // Building the widgets (form_layout.cpp).
  void BuildWindow();
  QWidget* BuildStepColumn();
  QFrame* BuildStepPanel(int step, QBoxLayout* content);
  QBoxLayout* BuildLoadStep();
  QBoxLayout* BuildPointsStep();
  QBoxLayout* BuildColorStep();
  QBoxLayout* BuildColourOptions();  // rig quality options before the colour step
  QBoxLayout* BuildHighlightStep();
  QBoxLayout* BuildOptimizeStep();
  QBoxLayout* BuildChooseStep();
  QBoxLayout* BuildFinetuneStep();
  QBoxLayout* BuildExportStep();
  QWidget* BuildPreview();
  QWidget* BuildViewSettings();
  QWidget* BuildMousePosition();
  void AddTrackRow(QGridLayout* grid, int row, TrackBar& track, const char* trackName, Label& value,
                   const char* valueName, ControlBinder::Handler onChange);

  // The handlers of the controls (step_handlers.cpp), one per control event.
  void OnLoadImage();
  void OnSpinPointIterationChange();
  void OnPlacePoints();
  void OnApplyColour();
  void OnBoostHighlights();
  void OnTrackLumValueChange();
  void OnTrackLumPowerChange();
  void OnTrackLumRChange();
  void OnButtonOptimizeClick();
  void OnButtonAbortClick();
  void OnButtonMedianCutClick();
  void OnGridOptimizedClick();
  void OnTrackRedLumChange();
  void OnButtonReduceLightsClick();
  void OnButtonCollapseLightsClick();
  void OnTrackExpIntChange();
  void OnButtonExportClick();
  void OnButtonExportMayaClick();
  void OnButtonExportUsdClick();
  void OnButtonExportBlenderClick();
  void OnUpdateView();
  void OnUpdateViewback();
  void OnSpinViewMinChange();
  void OnSpinViewMaxChange();
  void OnSpinButton1UpClick();
  void OnSpinButton1DownClick();
  void OnImage1MouseMove(int x, int y);

  std::unique_ptr<Session> session_;
  ControlModel controls_;
  std::unique_ptr<Host> host_;
  ControlBinder binder_;
  PictureView* preview_ = nullptr;
  QWidget* viewSettings_ = nullptr;
  int stepsRunning_ = 0;
  bool closePending_ = false;
};

}  // namespace halvane
