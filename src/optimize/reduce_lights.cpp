#include "optimize/reduce_lights.h"

#include <cmath>

#include "base/number_text.h"
#include "optimize/finetuning.h"
#include "optimize/result_table.h"
#include "workflow/workflow.h"

namespace halvane {
namespace {

float ReduceThreshold(const ControlModel& controls) {
  return static_cast<float>(controls.TrackRedLum.position / 100.0L);
}

}  // namespace

void ButtonReduceLightsClick(Session& s, ControlModel& controls, Host& host) {
  if (s.workflowState < 3) return;
  SetBusy(controls, true);
  const SearchResult& chosen = RecordForRow(s, controls.GridOptimized.selectedRow);
  const float threshold = ReduceThreshold(controls);
  for (uint32_t i = 1; i <= s.dome.pointCount; ++i) {
    DomePoint& p = s.dome.points[i];
    if (p.lightLum < threshold) SwitchOffLight(p);
  }
  FinishFinetuning(s, controls, host, chosen);
  SetBusy(controls, false);
}

void TrackRedLumChange(ControlModel& controls, Host& host) {
  // Rounded on the decimal value the user set: position / 10 is exact when it
  // lies halfway between two tenths, so 0.85 goes to the even tenth 0.8.
  const long double tenths = std::nearbyint(controls.TrackRedLum.position / 10.0L);
  controls.LabelRedLum.caption =
      FormatFixed(static_cast<double>(tenths / 10.0L), 1, host.GetNumberFormat());
}

}  // namespace halvane
