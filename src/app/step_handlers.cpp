// The handlers of the window's controls: each runs its core step through
// RunStep.
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
  RunStep([this] { LoadImage(*session_, controls_, *host_); });
}

void MainWindow::OnSpinPointIterationChange() {
  RunStep([this] { ProposeSearchSettings(*session_, controls_); });
}

void MainWindow::OnPlacePoints() {
  RunStep([this] { PlacePoints(*session_, controls_, *host_); });
}

void MainWindow::OnApplyColour() {
  RunStep([this] { ApplyColour(*session_, controls_, *host_); });
}

void MainWindow::OnBoostHighlights() {
  RunStep([this] { BoostHighlights(*session_, controls_, *host_); });
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
  RunStep([this] {
    if (OptimizePoints(*session_, controls_, *host_).status != StepStatus::kNotRun)
      ShowRigError(*session_, controls_, *host_);
  });
}

// Reaches a running optimization while it lets events run, so it is not a
// step of its own.
void MainWindow::OnButtonAbortClick() {
  RequestAbort(*session_);
}

void MainWindow::OnButtonMedianCutClick() {
  RunStep([this] {
    if (RunMedianCut(*session_, controls_, *host_).done())
      ShowRigError(*session_, controls_, *host_);
  });
}

void MainWindow::OnGridOptimizedClick() {
  RunStep([this] {
    const StepOutcome chosen = session_->medianCut.shown
                                   ? ChooseMedianCutRow(*session_, controls_, *host_)
                                   : ChooseResult(*session_, controls_, *host_);
    if (chosen.done()) ShowRigError(*session_, controls_, *host_);
  });
}

void MainWindow::OnTrackRedLumChange() {
  RunStep([this] { ShowReduceThreshold(controls_, *host_); });
}

void MainWindow::OnButtonReduceLightsClick() {
  RunStep([this] {
    if (ReduceLights(*session_, controls_, *host_).done())
      ShowRigError(*session_, controls_, *host_);
  });
}

void MainWindow::OnButtonCollapseLightsClick() {
  RunStep([this] {
    if (CollapseLights(*session_, controls_, *host_).done())
      ShowRigError(*session_, controls_, *host_);
  });
}

void MainWindow::OnTrackExpIntChange() {
  RunStep([this] { ShowExportIntensity(controls_, *host_); });
}

void MainWindow::OnButtonExportClick() {
  RunStep([this] { ExportRig(*session_, controls_, *host_, ScriptKind::Xsi); });
}

void MainWindow::OnButtonExportMayaClick() {
  RunStep([this] { ExportRig(*session_, controls_, *host_, MayaScriptKind(controls_)); });
}

void MainWindow::OnButtonExportUsdClick() {
  RunStep([this] { ExportRig(*session_, controls_, *host_, ScriptKind::Usd); });
}

void MainWindow::OnButtonExportBlenderClick() {
  RunStep([this] { ExportRig(*session_, controls_, *host_, ScriptKind::Blender); });
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
