#include "workflow/place_points.h"

#include <string>

#include "dome/start_points.h"
#include "workflow/dome_display.h"
#include "workflow/redraw.h"
#include "workflow/workflow.h"

namespace halvane {

StepOutcome PlacePoints(Session& s, ControlModel& controls, Host& host) {
  if (s.workflowState == 0) return StepOutcome::NotRun("Load an image first.");
  SetBusy(controls, true);
  s.results.count = 0;
  EmptyResultTable(controls);

  StartIcosahedron(s.dome);
  SetStatus(controls, 0, "Calculating resolution points...");
  SetStatus(controls, 1, "Level " + std::to_string(s.dome.subdivLevel));
  SetStatus(controls, 2, PointsText(s.dome.pointCount));
  const Progress progress = PointsProgress(controls, host);
  for (int pass = 1; pass < controls.SpinPointIteration.value; ++pass) {
    SetStatus(controls, 1, "Level " + std::to_string(s.dome.subdivLevel + 1));
    Subdivide(s.dome, progress);
    SetStatus(controls, 2, PointsText(s.dome.pointCount));
    host.ProcessEvents();
  }
  AnalysePositions(s.dome, s.image.width, s.image.height);
  s.dome.pointIntensity = PointIntensity(s.dome.pointCount);
  if (s.workflowState > 2) s.workflowState = 2;

  SyncDisplayChecks(s, controls);
  RedrawDome(s, controls, host);
  const std::string calculated = std::to_string(s.dome.pointCount) + " points calculated.";
  EndStep(controls, host, 2, ":  " + calculated, calculated);
  return StepOutcome::Done();
}

}  // namespace halvane
