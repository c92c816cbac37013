#include "workflow/boost_highlights.h"

#include <string>
#include <vector>

#include "base/number_text.h"
#include "dome/highlight.h"
#include "dome/statistics.h"
#include "workflow/apply_colour.h"
#include "workflow/dome_display.h"
#include "workflow/redraw.h"
#include "workflow/workflow.h"

namespace halvane {

StepOutcome BoostHighlights(Session& s, ControlModel& controls, Host& host) {
  if (s.workflowState == 0) return StepOutcome::NotRun("Load an image first.");
  if (s.workflowState < 3) {
    const StepOutcome colours = ApplyColour(s, controls, host);
    if (!colours.done()) return colours;
  }
  SetBusy(controls, true);
  SetStatus(controls, 0, "Increase Luminance");
  SetStatus(controls, 1, "");
  SetStatus(controls, 2, "");
  const HighlightParameters parameters{controls.SpinLumIterations.value,
                                       ReadMaskedField(controls.EditLumTolerance.text),
                                       ReadMaskedField(controls.EditLumToleranceNeighbour.text)};
  // The passes measure luminances only; the neighbour differences come once
  // with the ring sums after the last pass.
  const bool thresholdsChecked = controls.CheckThresholds.checked;
  controls.CheckThresholds.checked = false;
  AddLogLine(controls, host, ":  Luminance increase ...");

  const Progress progress = PointsProgress(controls, host);
  const std::vector<float> increments =
      HighlightIncrements(s.highlight, parameters, s.dome.subdivLevel);
  for (std::size_t k = 1; k <= increments.size(); ++k) {
    const int count = RaiseHighlights(s.dome, s.statistics.maxLum, s.highlight, parameters,
                                      increments.at(k - 1), progress);
    SetStatus(controls, 1, "Level " + std::to_string(k));
    SetStatus(controls, 2, "");
    host.ProcessEvents();
    LuminanceStatistics(s, controls, host);
    ProposeOptimizationThresholds(s.statistics, controls);
    if (count > 0) {
      AddLogLine(controls, host,
                 ":        Level " + std::to_string(k) + ": " + std::to_string(count) +
                     " points increased.");
      host.ProcessEvents();
    }
  }
  controls.CheckThresholds.checked = thresholdsChecked;
  StatisticsPass(s, controls, host);
  ProposeOptimizationThresholds(s.statistics, controls);
  s.workflowState = 4;
  SortPoints(s.dome, progress);

  SyncDisplayChecks(s, controls);
  RedrawDome(s, controls, host);
  EndStep(controls, host, 4, ":        Luminance increase done.", "Luminance increase done.");
  return StepOutcome::Done();
}

}  // namespace halvane
