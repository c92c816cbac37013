// The handlers of the window's controls: each runs its core step through
// RunStep.
#include "app/form_main.h"
#include "dome/colour_step.h"
#include "dome/highlight.h"
#include "dome/start_points.h"
#include "image/load_step.h"
#include "preview/mouse_readout.h"
#include "preview/preview.h"
#include "rig/export_step.h"
#include "workflow/choose_result.h"
#include "workflow/finetune.h"
#include "workflow/optimize_points.h"
#include "workflow/workflow.h"

namespace halvane {

void TForm_main::OnButton_LoadImageClick() {
  RunStep([this] { Button_LoadImageClick(*session_, controls_, *host_); });
}

void TForm_main::OnSpinPointIterationChange() {
  RunStep([this] { SpinPointIterationChange(*session_, controls_); });
}

void TForm_main::OnButtonCalculateStartpointsClick() {
  RunStep([this] { ButtonCalculateStartpointsClick(*session_, controls_, *host_); });
}

void TForm_main::OnButtonApplyColorClick() {
  RunStep([this] { ButtonApplyColorClick(*session_, controls_, *host_); });
}

void TForm_main::OnButtonIncreaseMaxWhiteClick() {
  RunStep([this] { ButtonIncreaseMaxWhiteClick(*session_, controls_, *host_); });
}

void TForm_main::OnTrackLumValueChange() {
  RunStep([this] { TrackLumValueChange(*session_, controls_, *host_); });
}

void TForm_main::OnTrackLumPowerChange() {
  RunStep([this] { TrackLumPowerChange(*session_, controls_, *host_); });
}

// Shared by TrackLumR, TrackLumG and TrackLumB.
void TForm_main::OnTrackLumRChange() {
  RunStep([this] { TrackLumRChange(*session_, controls_, *host_); });
}

void TForm_main::OnButtonOptimizeClick() {
  RunStep([this] { OptimizePoints(*session_, controls_, *host_); });
}

// Reaches a running optimization while it lets events run, so it is not a
// step of its own.
void TForm_main::OnButtonAbortClick() {
  ButtonAbortClick(*session_);
}

void TForm_main::OnGridOptimizedClick() {
  RunStep([this] { ChooseResult(*session_, controls_, *host_); });
}

void TForm_main::OnTrackRedLumChange() {
  RunStep([this] { ShowReduceThreshold(controls_, *host_); });
}

void TForm_main::OnButtonReduceLightsClick() {
  RunStep([this] { ReduceLights(*session_, controls_, *host_); });
}

void TForm_main::OnButtonCollapseLightsClick() {
  RunStep([this] { CollapseLights(*session_, controls_, *host_); });
}

void TForm_main::OnTrackExpIntChange() {
  RunStep([this] { TrackExpIntChange(controls_, *host_); });
}

void TForm_main::OnButtonExportClick() {
  RunStep([this] { ButtonExportClick(*session_, controls_, *host_); });
}

void TForm_main::OnButtonExportMayaClick() {
  RunStep([this] { ButtonExportMayaClick(*session_, controls_, *host_); });
}

void TForm_main::OnUpdateView() {
  RunStep([this] { UpdateView(*session_, controls_, *host_); });
}

void TForm_main::OnUpdateViewback() {
  RunStep([this] { UpdateViewback(*session_, controls_, *host_); });
}

void TForm_main::OnSpinViewMinChange() {
  RunStep([this] { SpinViewMinChange(*session_, controls_, *host_); });
}

void TForm_main::OnSpinViewMaxChange() {
  RunStep([this] { SpinViewMaxChange(*session_, controls_, *host_); });
}

void TForm_main::OnSpinButton1UpClick() {
  RunStep([this] { SpinButton1UpClick(*session_, controls_, *host_); });
}

void TForm_main::OnSpinButton1DownClick() {
  RunStep([this] { SpinButton1DownClick(*session_, controls_, *host_); });
}

// Shared by Image1 and Image3. The readout only writes its labels, so it is
// no step: it also works while a step lets events run.
void TForm_main::OnImage1MouseMove(int x, int y) {
  Image1MouseMove(*session_, controls_, *host_, x, y);
  binder_.RefreshCheap();
}

}  // namespace halvane
