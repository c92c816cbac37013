// The handlers of the window's controls: each runs its core step through
// RunStep, a user action through RunAction.
#include "app/main_window.h"
#include "optimize/result_table.h"
#include "workflow/apply_colour.h"
#include "workflow/boost_highlights.h"
#include "workflow/choose_result.h"
#include "workflow/export_intensity.h"
#include "workflow/export_rig.h"
#include "workflow/finetune.h"
#include "workflow/highlight_sliders.h"
#include "workflow/load_image.h"
#include "workflow/median_cut_step.h"
#include "workflow/optimize_points.h"
#include "workflow/place_points.h"
#include "workflow/readout.h"
#include "workflow/rig_error_display.h"
#include "workflow/view_settings.h"
#include "workflow/workflow.h"

namespace halvane {

void MainWindow::OnLoadImage() {
  RunAction([this] { return LoadImageWith(*host_); });
}

void MainWindow::OnSpinPointIterationChange() {
  RunStep([this] { ProposeSearchSettings(*session_, controls_); });
}

void MainWindow::OnPlacePoints() {
  RunAction([this] { return PlacePoints(*session_, controls_, *host_); });
}

void MainWindow::OnApplyColour() {
  RunAction([this] { return ApplyColour(*session_, controls_, *host_); });
}

void MainWindow::OnBoostHighlights() {
  RunAction([this] { return BoostHighlights(*session_, controls_, *host_); });
}

void MainWindow::OnTrackLumValueChange() {
  RunStep([this] { ShowHighlightValue(*session_, controls_, *host_); });
}

void MainWindow::OnTrackLumPowerChange() {
  RunStep([this] { ShowHighlightPower(*session_, controls_, *host_); });
}

// Shared by TrackLumR, TrackLumG and TrackLumB.
void MainWindow::OnTrackLumRChange() {
  RunStep([this] { ShowHighlightColour(*session_, controls_, *host_); });
}

void MainWindow::OnButtonOptimizeClick() {
  RunAction(
      [this] {
        const StepOutcome outcome = OptimizePoints(*session_, controls_, *host_);
        return outcome.status == StepStatus::kNotRun ? outcome : WithRigError(outcome);
      },
      QStringLiteral("Wait for the optimization to finish."));
}

// Reaches a running optimization while it lets events run, so it is not a
// step of its own.
void MainWindow::OnButtonAbortClick() {
  RequestAbort(*session_);
}

void MainWindow::OnButtonMedianCutClick() {
  RunAction([this] { return WithRigError(RunMedianCut(*session_, controls_, *host_)); });
}

void MainWindow::OnGridOptimizedClick() {
  RunAction([this] {
    return WithRigError(session_->medianCut.shown ? ChooseMedianCutRow(*session_, controls_, *host_)
                                                  : ChooseResult(*session_, controls_, *host_));
  });
}

void MainWindow::OnTrackRedLumChange() {
  RunStep([this] { ShowReduceThreshold(controls_, *host_); });
}

void MainWindow::OnButtonReduceLightsClick() {
  RunAction([this] { return WithRigError(ReduceLights(*session_, controls_, *host_)); });
}

void MainWindow::OnButtonCollapseLightsClick() {
  RunAction([this] { return WithRigError(CollapseLights(*session_, controls_, *host_)); });
}

void MainWindow::OnTrackExpIntChange() {
  RunStep([this] { ShowExportIntensity(controls_, *host_); });
}

void MainWindow::OnButtonExportClick() {
  RunAction([this] { return ExportRig(*session_, controls_, *host_, ScriptKind::Xsi); });
}

void MainWindow::OnButtonExportMayaClick() {
  RunAction([this] { return ExportRig(*session_, controls_, *host_, MayaScriptKind(controls_)); });
}

void MainWindow::OnButtonExportUsdClick() {
  RunAction([this] { return ExportRig(*session_, controls_, *host_, ScriptKind::Usd); });
}

void MainWindow::OnButtonExportBlenderClick() {
  RunAction([this] { return ExportRig(*session_, controls_, *host_, ScriptKind::Blender); });
}

void MainWindow::OnUpdateView() {
  RunStep([this] { ApplyOverlaySettings(*session_, controls_, *host_); });
}

void MainWindow::OnUpdateViewback() {
  RunStep([this] { ApplyBackgroundSettings(*session_, controls_, *host_); });
}

void MainWindow::OnSpinViewMinChange() {
  RunStep([this] { ChangeViewMinimum(*session_, controls_, *host_); });
}

void MainWindow::OnSpinViewMaxChange() {
  RunStep([this] { ChangeViewMaximum(*session_, controls_, *host_); });
}

void MainWindow::OnSpinButton1UpClick() {
  RunStep([this] { ShiftViewRangeUp(*session_, controls_, *host_); });
}

void MainWindow::OnSpinButton1DownClick() {
  RunStep([this] { ShiftViewRangeDown(*session_, controls_, *host_); });
}

// Shared by Image1 and Image3. The readout only writes its labels, so it is
// no step: it also works while a step lets events run.
void MainWindow::OnImage1MouseMove(int x, int y) {
  ShowReadoutAt(*session_, controls_, *host_, x, y);
  binder_.RefreshCheap();
}

}  // namespace halvane
