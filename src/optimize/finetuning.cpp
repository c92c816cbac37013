#include "optimize/finetuning.h"

#include "preview/preview.h"
#include "workflow/workflow.h"

namespace halvane {
namespace {

constexpr int kFinetuningStep = 7;

}  // namespace

void SwitchOffLight(DomePoint& p) {
  p.used = false;
  p.lightLum = 0.0f;
  p.lightR = 0.0f;
  p.lightG = 0.0f;
  p.lightB = 0.0f;
}

void FinishFinetuning(Session& s, Form& form, Host& host, const SearchResult& chosen) {
  if (form.CheckDisplayFill.checked) RedrawBackground(s, form, host);
  DrawOverlay(s, form, host, true, true, 1, s.dome.pointCount, chosen);
  MarkStepDone(form, kFinetuningStep);
}

}  // namespace halvane
