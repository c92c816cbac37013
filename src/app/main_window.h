#pragma once

#include <functional>
#include <memory>

#include <QMainWindow>

#include "app/control_binder.h"
#include "workflow/control_model.h"
#include "workflow/host.h"
#include "workflow/session.h"
#include "workflow/step_outcome.h"

class QBoxLayout;
class QFrame;
class QGridLayout;
class QLabel;

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
  // RunStep for a user action, and shows its outcome: why a step did not run
  // as a hint in the status bar, a done step's message in the status bar and
  // the log. A refused action shows `whileRunning` of the step that runs.
  bool RunAction(
      const std::function<StepOutcome()>& action,
      const QString& whileRunning = QStringLiteral("Wait for the running step to finish."));

  // Loads `path` as the load step does with a file chosen in its dialog.
  void LoadFile(const QString& path);

  // Shows the control model in the widgets: what a long step updates, or everything.
  void RefreshCheap();
  void RefreshAll();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  std::unique_ptr<Host> MakeQtHost();
  void ReportStepFailure(const char* what);
  void ShowOutcome(const StepOutcome& outcome);
  StepOutcome WithRigError(StepOutcome outcome);
  void ShowHint(const QString& text);
  // The load step; a loaded image's folder is remembered for the next dialog.
  StepOutcome LoadImageWith(Host& host);
  void AddShortcuts();
  void ShowAbout();

  // Building the widgets (main_window_layout.cpp).
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
  QWidget* BuildAboutButton();
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
  QLabel* statusHint_ = nullptr;
  QString busyHint_;
  int stepsRunning_ = 0;
  bool closePending_ = false;
};

}  // namespace halvane
