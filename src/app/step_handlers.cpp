// The handlers of the window's controls: each runs its core step through
// RunStep.
#include "app/form_main.h"
#include "optimize/collapse_lights.h"
#include "optimize/optimize_step.h"
#include "optimize/reduce_lights.h"
#include "optimize/result_table.h"
#include "workflow/apply_colour.h"
#include "workflow/boost_highlights.h"
#include "workflow/export_intensity.h"
#include "workflow/export_rig.h"
#include "workflow/highlight_sliders.h"
#include "workflow/load_image.h"
#include "workflow/place_points.h"
#include "workflow/readout.h"
#include "workflow/view_settings.h"
#include "workflow/workflow.h"

namespace halvane {

void TForm_main::OnButton_LoadImageClick() {
  RunStep([this] { LoadImage(*session_, controls_, *host_); });
}

void TForm_main::OnSpinPointIterationChange() {
  RunStep([this] { SpinPointIterationChange(*session_, controls_); });
}

void TForm_main::OnButtonCalculateStartpointsClick() {
  RunStep([this] { PlacePoints(*session_, controls_, *host_); });
}

void TForm_main::OnButtonApplyColorClick() {
  RunStep([this] { ApplyColour(*session_, controls_, *host_); });
}

void TForm_main::OnButtonIncreaseMaxWhiteClick() {
  RunStep([this] { BoostHighlights(*session_, controls_, *host_); });
}

void TForm_main::OnTrackLumValueChange() {
  RunStep([this] { ShowHighlightValue(*session_, controls_, *host_); });
}

void TForm_main::OnTrackLumPowerChange() {
  RunStep([this] { ShowHighlightPower(*session_, controls_, *host_); });
}

// Shared by TrackLumR, TrackLumG and TrackLumB.
void TForm_main::OnTrackLumRChange() {
  RunStep([this] { ShowHighlightColour(*session_, controls_, *host_); });
}

void TForm_main::OnButtonOptimizeClick() {
  RunStep([this] { ButtonOptimizeClick(*session_, controls_, *host_); });
}

// Reaches a running optimization while it lets events run, so it is not a
// step of its own.
void TForm_main::OnButtonAbortClick() {
  ButtonAbortClick(*session_);
}

void TForm_main::OnGridOptimizedClick() {
  RunStep([this] { GridOptimizedClick(*session_, controls_, *host_); });
}

void TForm_main::OnTrackRedLumChange() {
  RunStep([this] { TrackRedLumChange(controls_, *host_); });
}

void TForm_main::OnButtonReduceLightsClick() {
  RunStep([this] { ButtonReduceLightsClick(*session_, controls_, *host_); });
}

void TForm_main::OnButtonCollapseLightsClick() {
  RunStep([this] { ButtonCollapseLightsClick(*session_, controls_, *host_); });
}

void TForm_main::OnTrackExpIntChange() {
  RunStep([this] { ShowExportIntensity(controls_, *host_); });
}

void TForm_main::OnButtonExportClick() {
  RunStep([this] { ExportRig(*session_, controls_, *host_, ScriptKind::Xsi); });
}

void TForm_main::OnButtonExportMayaClick() {
  RunStep([this] { ExportRig(*session_, controls_, *host_, MayaScriptKind(controls_)); });
}

void TForm_main::OnButtonExportUsdClick() {
  RunStep([this] { ExportRig(*session_, controls_, *host_, ScriptKind::Usd); });
}

void TForm_main::OnButtonExportBlenderClick() {
  RunStep([this] { ExportRig(*session_, controls_, *host_, ScriptKind::Blender); });
}

void TForm_main::OnUpdateView() {
  RunStep([this] { ApplyOverlaySettings(*session_, controls_, *host_); });
}

void TForm_main::OnUpdateViewback() {
  RunStep([this] { ApplyBackgroundSettings(*session_, controls_, *host_); });
}

void TForm_main::OnSpinViewMinChange() {
  RunStep([this] { ChangeViewMinimum(*session_, controls_, *host_); });
}

void TForm_main::OnSpinViewMaxChange() {
  RunStep([this] { ChangeViewMaximum(*session_, controls_, *host_); });
}

void TForm_main::OnSpinButton1UpClick() {
  RunStep([this] { ShiftViewRangeUp(*session_, controls_, *host_); });
}

void TForm_main::OnSpinButton1DownClick() {
  RunStep([this] { ShiftViewRangeDown(*session_, controls_, *host_); });
}

// Shared by Image1 and Image3. The readout only writes its labels, so it is
// no step: it also works while a step lets events run.
void TForm_main::OnImage1MouseMove(int x, int y) {
  ShowReadoutAt(*session_, controls_, *host_, x, y);
  binder_.RefreshCheap();
}

}  // namespace halvane
