#include "workflow/finetune.h"

#include <cmath>

#include "base/number_text.h"
#include "optimize/finetuning.h"
#include "optimize/result_table.h"
#include "rig/rig.h"
#include "workflow/median_cut_step.h"
#include "workflow/redraw.h"
#include "workflow/workflow.h"

namespace halvane {
namespace {

constexpr int kFinetuningStep = 7;

float ReduceThreshold(const ControlModel& controls) {
  return static_cast<float>(controls.TrackRedLum.position / 100.0L);
}

// The common end of both commands: redraws the preview for the chosen
// result as choosing a row does, and marks the step done.
void FinishFinetuning(Session& s, ControlModel& controls, Host& host, const SearchResult& chosen) {
  if (controls.CheckDisplayFill.checked) RedrawBackground(s, controls, host);
  DrawOverlay(s, controls, host, true, true, 1, s.dome.pointCount, chosen);
  MarkStepDone(controls, kFinetuningStep);
  SetBusy(controls, false);
}

// Median cut lights stand for image regions, not for dome points.
StepOutcome RefuseMedianCut(ControlModel& controls) {
  SetStatus(controls, 0, kNoFinetuningForMedianCut);
  return StepOutcome::NotRun(kNoFinetuningForMedianCut);
}

// The lights an export would write now.
std::size_t LightCount(const Session& s, const ControlModel& controls) {
  const RigOptions options{ScriptKind::Maya, controls.GridOptimized.selectedRow,
                           controls.SpinLightDistance.value};
  return MakeRig(s.dome, s.image, s.results, options).lights.size();
}

// "Reduce lights: 24 -> 18 lights": the window logs a finetuning's outcome.
StepOutcome CountedOutcome(const char* what, std::size_t before, std::size_t after) {
  return {StepStatus::kDone, std::string(what) + ": " + std::to_string(before) + " -> " +
                                 std::to_string(after) + " lights"};
}

}  // namespace

StepOutcome ReduceLights(Session& s, ControlModel& controls, Host& host) {
  if (s.medianCut.shown) return RefuseMedianCut(controls);
  if (s.workflowState < 3) return StepOutcome::NotRun("Apply colours first.");
  SetBusy(controls, true);
  const SearchResult& chosen = ResultForRow(s.results, controls.GridOptimized.selectedRow);
  const std::size_t before = LightCount(s, controls);
  SwitchOffDimLights(s.dome, ReduceThreshold(controls));
  FinishFinetuning(s, controls, host, chosen);
  return CountedOutcome("Reduce lights", before, LightCount(s, controls));
}

StepOutcome CollapseLights(Session& s, ControlModel& controls, Host& host) {
  if (s.medianCut.shown) return RefuseMedianCut(controls);
  const float tolerance = ReadMaskedField(controls.EditRedThreshold.text);
  if (s.workflowState < 3) return StepOutcome::NotRun("Apply colours first.");
  SetBusy(controls, true);
  const SearchResult& chosen = ResultForRow(s.results, controls.GridOptimized.selectedRow);
  const std::size_t before = LightCount(s, controls);
  MergeSimilarLights(s.dome, chosen, {controls.SpinRedGroupNr.value, tolerance});
  FinishFinetuning(s, controls, host, chosen);
  return CountedOutcome("Collapse lights", before, LightCount(s, controls));
}

void ShowReduceThreshold(ControlModel& controls, Host& host) {
  // Rounded on the decimal value the user set: position / 10 is exact when it
  // lies halfway between two tenths, so 0.85 goes to the even tenth 0.8.
  const long double tenths = std::nearbyint(controls.TrackRedLum.position / 10.0L);
  controls.LabelRedLum.caption =
      FormatFixed(static_cast<double>(tenths / 10.0L), 1, host.GetNumberFormat());
}

}  // namespace halvane
