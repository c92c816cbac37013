#include "optimize/reduce_lights.h"

#include <cmath>

#include "optimize/result_table.h"
#include "preview/preview.h"
#include "session/number_text.h"
#include "session/workflow.h"

namespace halvane {
namespace {

constexpr int kFinetuningStep = 7;

float ReduceThreshold(const Form& form) {
  return static_cast<float>(form.TrackRedLum.position / 100.0L);
}

}  // namespace

void SwitchOffLight(point_typ& p) {
  p.used = false;
  p.lightLum = 0.0f;
  p.lightR = 0.0f;
  p.lightG = 0.0f;
  p.lightB = 0.0f;
}

void FinishFinetuning(Session& s, Form& form, Host& host, const optimization_typ& chosen) {
  if (form.CheckDisplayFill.checked) RedrawBackground(s, form, host);
  DrawOverlay(s, form, host, true, true, 1, s.PointCount, chosen);
  MarkStepDone(form, kFinetuningStep);
}

void ButtonReduceLightsClick(Session& s, Form& form, Host& host) {
  if (s.WorkflowState < 3) return;
  SetBusy(form, true);
  const optimization_typ& chosen = RecordForRow(s, form.GridOptimized.selectedRow);
  const float threshold = ReduceThreshold(form);
  for (uint32_t i = 1; i <= s.PointCount; ++i) {
    point_typ& p = s.Points[i];
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
