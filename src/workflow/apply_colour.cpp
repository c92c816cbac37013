#include "workflow/apply_colour.h"

#include "base/number_text.h"
#include "dome/point_colours.h"
#include "dome/statistics.h"
#include "workflow/dome_display.h"
#include "workflow/median_cut_step.h"
#include "workflow/place_points.h"
#include "workflow/redraw.h"
#include "workflow/sampled_image.h"
#include "workflow/sun_light.h"
#include "workflow/workflow.h"

namespace halvane {

StepOutcome ApplyColour(Session& s, ControlModel& controls, Host& host) {
  if (s.workflowState == 0) return StepOutcome::NotRun("Load an image first.");
  if (ReadMaskedField(controls.EditBlack.text) == ReadMaskedField(controls.EditWhite.text)) {
    host.ShowMessage(kBlackWhiteMustDiffer);
    return StepOutcome::Failed(kBlackWhiteMustDiffer);
  }
  if (s.dome.pointCount == 0) PlacePoints(s, controls, host);
  s.results.count = 0;
  LeaveMedianCut(s, controls);
  EmptyResultTable(controls);
  SetBusy(controls, true);
  s.sampling.blackPoint = ReadMaskedField(controls.EditBlack.text);
  s.sampling.whitePoint = ReadMaskedField(controls.EditWhite.text);
  s.sampling.clampLum = ReadMaskedField(controls.EditClampwhite.text);

  SetStatus(controls, 0, "Apply color to points...");
  SetStatus(controls, 1, "");
  SetStatus(controls, 2, "");
  const Progress progress = PointsProgress(controls, host);
  ColourPoints(s.dome, PrepareSampledImage(s, controls), s.sampling, progress);
  StatisticsPass(s, controls, host);
  ProposeOptimizationThresholds(s.statistics, controls);
  ProposeHighlightTolerances(s.statistics, controls);

  s.workflowState = 3;
  SyncDisplayChecks(s, controls);
  SortPoints(s.dome, progress);
  RedrawDome(s, controls, host);
  if (const std::string sun = SunLogLine(s, host.GetNumberFormat()); !sun.empty())
    AddLogLine(controls, host, sun);
  EndStep(controls, host, 3, ":  Color copied from image to points", "Color copy applied.");
  return StepOutcome::Done();
}

}  // namespace halvane
