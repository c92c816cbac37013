#include "preview/preview.h"
#include "workflow/workflow.h"

namespace halvane {
namespace {

void CopySettings(Session& s, const Form& form) {
  ReadDisplayChecks(s, form);
  s.view.viewMin = static_cast<float>(form.SpinViewMin.value);
  s.view.viewMax = static_cast<float>(form.SpinViewMax.value);
}

void Redraw(Session& s, Form& form, Host& host, bool background) {
  CopySettings(s, form);
  if (!s.view.updateEnabled) return;
  if (background) RedrawBackground(s, form, host);
  DrawOverlay(s, form, host, false, false, 1, s.dome.pointCount, s.results.results[1]);
}

}  // namespace

void RedrawDome(Session& s, Form& form, Host& host) {
  RedrawBackground(s, form, host);
  DrawOverlay(s, form, host, false, false, 1, s.dome.pointCount, s.results.results[1]);
}

void UpdateView(Session& s, Form& form, Host& host) {
  Redraw(s, form, host, false);
}

void UpdateViewback(Session& s, Form& form, Host& host) {
  Redraw(s, form, host, true);
}

void SpinViewMinChange(Session& s, Form& form, Host& host) {
  SpinEdit& lo = form.SpinViewMin;
  SpinEdit& hi = form.SpinViewMax;
  if (hi.value <= lo.value) {
    if (hi.value < hi.maxValue) {
      hi.value = lo.value + 1;
    } else {
      lo.value = hi.value - 1;
    }
  }
  UpdateViewback(s, form, host);
}

void SpinViewMaxChange(Session& s, Form& form, Host& host) {
  SpinEdit& lo = form.SpinViewMin;
  SpinEdit& hi = form.SpinViewMax;
  if (lo.value >= hi.value) {
    if (lo.value > lo.minValue) {
      lo.value = hi.value - 1;
    } else {
      hi.value = lo.value + 1;
    }
  }
  UpdateViewback(s, form, host);
}

void SpinButton1DownClick(Session& s, Form& form, Host& host) {
  s.view.updateEnabled = false;
  if (form.SpinViewMin.value > form.SpinViewMin.minValue) {
    form.SpinViewMin.value -= 1;
    form.SpinViewMax.value -= 1;
  }
  s.view.updateEnabled = true;
  UpdateViewback(s, form, host);
}

void SpinButton1UpClick(Session& s, Form& form, Host& host) {
  s.view.updateEnabled = false;
  if (form.SpinViewMax.value < form.SpinViewMax.maxValue) {
    form.SpinViewMin.value += 1;
    form.SpinViewMax.value += 1;
  }
  s.view.updateEnabled = true;
  UpdateViewback(s, form, host);
}

}  // namespace halvane
