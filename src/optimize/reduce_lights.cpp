#include "optimize/reduce_lights.h"

#include <cmath>

#include "optimize/finetuning.h"
#include "optimize/result_table.h"
#include "base/number_text.h"
#include "workflow/workflow.h"

namespace halvane {
namespace {

float ReduceThreshold(const Form& form) {
  return static_cast<float>(form.TrackRedLum.position / 100.0L);
}

}  // namespace

void ButtonReduceLightsClick(Session& s, Form& form, Host& host) {
  if (s.workflowState < 3) return;
  SetBusy(form, true);
  const SearchResult& chosen = RecordForRow(s, form.GridOptimized.selectedRow);
  const float threshold = ReduceThreshold(form);
  for (uint32_t i = 1; i <= s.dome.pointCount; ++i) {
    DomePoint& p = s.dome.points[i];
    if (p.lightLum < threshold) SwitchOffLight(p);
  }
  FinishFinetuning(s, form, host, chosen);
  SetBusy(form, false);
}

void TrackRedLumChange(Form& form, Host& host) {
  // Rounded on the decimal value the user set: position / 10 is exact when it
  // lies halfway between two tenths, so 0.85 goes to the even tenth 0.8.
  const long double tenths = std::nearbyint(form.TrackRedLum.position / 10.0L);
  form.LabelRedLum.caption =
      FormatFixed(static_cast<double>(tenths / 10.0L), 1, host.GetNumberFormat());
}

}  // namespace halvane
