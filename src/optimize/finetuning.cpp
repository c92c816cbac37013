#include "optimize/finetuning.h"

#include "workflow/redraw.h"
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

void FinishFinetuning(Session& s, ControlModel& controls, Host& host, const SearchResult& chosen) {
  if (controls.CheckDisplayFill.checked) RedrawBackground(s, controls, host);
  DrawOverlay(s, controls, host, true, true, 1, s.dome.pointCount, chosen);
  MarkStepDone(controls, kFinetuningStep);
}

}  // namespace halvane
