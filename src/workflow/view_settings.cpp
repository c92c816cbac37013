#include "workflow/view_settings.h"

#include "workflow/redraw.h"
#include "workflow/workflow.h"

namespace halvane {
namespace {

void CopySettings(Session& s, const ControlModel& controls) {
  ReadDisplayChecks(s, controls);
  s.view.viewMin = static_cast<float>(controls.SpinViewMin.value);
  s.view.viewMax = static_cast<float>(controls.SpinViewMax.value);
}

void Redraw(Session& s, ControlModel& controls, Host& host, bool background) {
  CopySettings(s, controls);
  if (!s.view.updateEnabled) return;
  if (background) RedrawBackground(s, controls, host);
  DrawOverlay(s, controls, host, false, false, 1, s.dome.pointCount, s.results.results[1]);
}

}  // namespace

void ApplyOverlaySettings(Session& s, ControlModel& controls, Host& host) {
  Redraw(s, controls, host, false);
}

void ApplyBackgroundSettings(Session& s, ControlModel& controls, Host& host) {
  Redraw(s, controls, host, true);
}

void ChangeViewMinimum(Session& s, ControlModel& controls, Host& host) {
  SpinEdit& lo = controls.SpinViewMin;
  SpinEdit& hi = controls.SpinViewMax;
  if (hi.value <= lo.value) {
    if (hi.value < hi.maxValue) {
      hi.value = lo.value + 1;
    } else {
      lo.value = hi.value - 1;
    }
  }
  ApplyBackgroundSettings(s, controls, host);
}

void ChangeViewMaximum(Session& s, ControlModel& controls, Host& host) {
  SpinEdit& lo = controls.SpinViewMin;
  SpinEdit& hi = controls.SpinViewMax;
  if (lo.value >= hi.value) {
    if (lo.value > lo.minValue) {
      lo.value = hi.value - 1;
    } else {
      hi.value = lo.value + 1;
    }
  }
  ApplyBackgroundSettings(s, controls, host);
}

void ShiftViewRangeDown(Session& s, ControlModel& controls, Host& host) {
  s.view.updateEnabled = false;
  if (controls.SpinViewMin.value > controls.SpinViewMin.minValue) {
    controls.SpinViewMin.value -= 1;
    controls.SpinViewMax.value -= 1;
  }
  s.view.updateEnabled = true;
  ApplyBackgroundSettings(s, controls, host);
}

void ShiftViewRangeUp(Session& s, ControlModel& controls, Host& host) {
  s.view.updateEnabled = false;
  if (controls.SpinViewMax.value < controls.SpinViewMax.maxValue) {
    controls.SpinViewMin.value += 1;
    controls.SpinViewMax.value += 1;
  }
  s.view.updateEnabled = true;
  ApplyBackgroundSettings(s, controls, host);
}

}  // namespace halvane
