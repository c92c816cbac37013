#include "workflow/choose_result.h"

#include <string>

#include "optimize/result_lights.h"
#include "workflow/redraw.h"
#include "workflow/workflow.h"

namespace halvane {
namespace {

constexpr int kChooseStep = 6;

}  // namespace

StepOutcome ChooseResult(Session& s, ControlModel& controls, Host& host) {
  if (s.workflowState < 5) return StepOutcome::NotRun("Optimize points first.");
  const int row = controls.GridOptimized.selectedRow;
  if (row < 1 || row > s.results.count) return StepOutcome::NotRun("Choose a row of the table.");
  const SearchResult& chosen = s.results.results[static_cast<std::size_t>(row)];
  ApplyResultLights(s.dome, chosen);
  SetStatus(controls, 1, "Optimization selected.");
  SetStatus(controls, 2, "Optimization #" + std::to_string(row));
  if (controls.CheckDisplayFill.checked) RedrawBackground(s, controls, host);
  DrawOverlay(s, controls, host, true, true, 1, s.dome.pointCount, chosen);
  MarkStepDone(controls, kChooseStep);
  return StepOutcome::Done();
}

}  // namespace halvane
