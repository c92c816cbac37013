#include "workflow/median_cut_step.h"

#include <string>

#include "base/number_text.h"
#include "dome/start_points.h"
#include "preview/light_markers.h"
#include "rig/median_cut_rig.h"
#include "rig/rig_error.h"
#include "workflow/apply_colour.h"
#include "workflow/redraw.h"
#include "workflow/rig_error_display.h"
#include "workflow/sampled_image.h"
#include "workflow/sun_light.h"
#include "workflow/workflow.h"

namespace halvane {
namespace {

constexpr int kOptimizeStep = 5;

void ShowRows(Session& s, ControlModel& controls, Host& host) {
  StringGrid& grid = controls.GridOptimized;
  const NumberFormat nf = host.GetNumberFormat();
  const EnvironmentIrradiance& env = SampledEnvironment(s);
  grid.SetRowCount(static_cast<int>(s.medianCut.rows.size()) + 1);
  grid.Cell(kRigErrorColumn, 0) = "rig error %";
  for (std::size_t i = 0; i < s.medianCut.rows.size(); ++i) {
    const int r = static_cast<int>(i) + 1;
    const auto& lights = s.medianCut.rows[i];
    Rig rig = MakeMedianCutRig(lights, s.image.width, s.image.height, ScriptKind::Maya, 100);
    rig.sun = SessionSun(s);
    for (int col = 2; col <= 5; ++col) grid.Cell(col, r).clear();
    grid.Cell(0, r) = PadLeft(std::to_string(r), 4);
    grid.Cell(1, r) = PadLeft(std::to_string(lights.size()), 5);
    grid.Cell(kRigErrorColumn, r) =
        PadLeft(FormatFixed(MeasureRigError(rig, env).relativeRms * 100.0, 2, nf), 5);
  }
  grid.selectedRow = 1;
}

constexpr int kChooseStep = 6;

std::vector<PixelPosition> LightPixels(const Rig& rig, const Image& image) {
  std::vector<PixelPosition> pixels;
  for (const RigLight& light : rig.lights) {
    int column = 0, row = 0;
    DirectionToPixel(light.dirX, light.dirY, light.dirZ, image.width, image.height, column, row);
    pixels.push_back({column, row});
  }
  return pixels;
}

}  // namespace

const std::vector<MedianCutLight>* ChosenMedianCutLights(const Session& s,
                                                         const ControlModel& controls) {
  const int row = controls.GridOptimized.selectedRow;
  if (!s.medianCut.shown || row < 1 || row > static_cast<int>(s.medianCut.rows.size()))
    return nullptr;
  return &s.medianCut.rows[static_cast<std::size_t>(row - 1)];
}

StepOutcome ChooseMedianCutRow(Session& s, ControlModel& controls, Host& host) {
  const auto* lights = ChosenMedianCutLights(s, controls);
  if (lights == nullptr) return StepOutcome::NotRun("Choose a row of the table.");
  const Rig rig = MakeMedianCutRig(*lights, s.image.width, s.image.height, ScriptKind::Maya, 100);
  DrawLightMarkers(s.view, LightPixels(rig, s.image), s.image.width, s.image.height);
  controls.Image1Layer = PreviewLayer::Overlay;
  host.PreviewChanged();
  SetStatus(controls, 1, "Median cut selected.");
  SetStatus(controls, 2, std::to_string(lights->size()) + " lights");
  MarkStepDone(controls, kChooseStep);
  return StepOutcome::Done();
}

void LeaveMedianCut(Session& s, ControlModel& controls) {
  if (!s.medianCut.shown) return;
  s.medianCut = {};
  StringGrid& grid = controls.GridOptimized;
  for (auto& row : grid.cells) row[kRigErrorColumn].clear();
}

StepOutcome RunMedianCut(Session& s, ControlModel& controls, Host& host) {
  if (s.workflowState == 0) return StepOutcome::NotRun("Load an image first.");
  if (s.workflowState < 3) {
    const StepOutcome coloured = ApplyColour(s, controls, host);
    if (!coloured.done()) return coloured;
  }
  SetBusy(controls, true);
  SetStatus(controls, 0, "Median cut...");
  s.results.count = 0;  // the table no longer lists the seed method's results
  s.medianCut.rows = MedianCutRows(SampledImage(s), s.sampling.blackPoint, s.sampling.whitePoint);
  s.medianCut.shown = true;
  s.workflowState = 5;
  ShowRows(s, controls, host);
  ChooseMedianCutRow(s, controls, host);
  EndStep(controls, host, kOptimizeStep, ":  Median cut: 8 to 128 lights", "Median cut done.");
  return StepOutcome::Done();
}

}  // namespace halvane
