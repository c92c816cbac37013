#include "optimize/finetuning.h"

#include "preview/preview.h"
#include "session/workflow.h"

namespace halvane {
namespace {

constexpr int kFinetuningStep = 7;

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

}  // namespace halvane
