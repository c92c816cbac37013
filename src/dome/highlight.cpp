#include "dome/highlight.h"

#include <cmath>
#include <string>

#include "base/luminance.h"
#include "base/number_text.h"
#include "dome/colour_step.h"
#include "dome/statistics.h"
#include "workflow/redraw.h"
#include "workflow/workflow.h"

namespace halvane {
namespace {

bool Qualifies(const Session& s, const DomePoint& p, float tolLum, float tolNb) {
  if (!(p.lum >= static_cast<long double>(s.statistics.maxLum) - tolLum)) return false;
  for (std::size_t slot = 1; slot <= kNeighbourSlots; ++slot) {
    const int32_t n = p.nb[slot];
    if (n == 0) continue;
    if (!(s.dome.points[static_cast<std::size_t>(n)].lum >=
          static_cast<long double>(s.statistics.maxLum) - tolNb))
      return false;
  }
  return true;
}

void Increase(const Session& s, DomePoint& p, float d) {
  p.r = static_cast<float>(p.r + static_cast<long double>(d) * s.highlight.r);
  p.lightR = p.r;
  p.g = static_cast<float>(p.g + static_cast<long double>(d) * s.highlight.g);
  p.lightG = p.g;
  p.b = static_cast<float>(p.b + static_cast<long double>(d) * s.highlight.b);
  p.lightB = p.b;
  p.lum = Luminance(p.r, p.g, p.b);
  p.lightLum = p.lum;
}

int IncreasePass(Session& s, ControlModel& controls, Host& host, float d, float tolLum,
                 float tolNb) {
  int count = 0;
  for (uint32_t i = 1; i <= s.dome.pointCount; ++i) {
    if (i % 500 == 0) {
      SetStatus(controls, 2, PointProgressText(i, s.dome.pointCount));
      host.ProcessEvents();
    }
    DomePoint& p = s.dome.points[i];
    if (!Qualifies(s, p, tolLum, tolNb)) continue;
    ++count;
    Increase(s, p, d);
  }
  return count;
}

uint8_t ColorChannel(float fraction) {
  return static_cast<uint8_t>(std::nearbyint(255.0L * fraction));
}

}  // namespace

int HighlightStepsPerPass(uint8_t subdivLevel) {
  switch (subdivLevel) {
    case 1:
      return 5;
    case 2:
      return 4;
    case 3:
      return 3;
    case 4:
      return 2;
    default:
      return 1;
  }
}

int HighlightPasses(int iterations, int stepsPerPass) {
  return static_cast<int>(
      std::nearbyint(static_cast<long double>(iterations) / stepsPerPass + 0.49L));
}

float HighlightIncrement(int pass, int stepsPerPass, float value, float power) {
  float d = 0.0f;
  for (int q = 1; q <= stepsPerPass; ++q) {
    const long double step = static_cast<long double>((pass - 1) * stepsPerPass + q);
    d = static_cast<float>(d + std::pow(step * value, static_cast<long double>(power)) / 3.0L);
  }
  return d;
}

void ButtonIncreaseMaxWhiteClick(Session& s, ControlModel& controls, Host& host) {
  if (s.workflowState == 0) return;
  if (s.workflowState < 3) {
    ButtonApplyColorClick(s, controls, host);
    if (s.workflowState < 3) return;  // the colours could not be applied
  }
  SetBusy(controls, true);
  SetStatus(controls, 0, "Increase Luminance");
  SetStatus(controls, 1, "");
  SetStatus(controls, 2, "");
  const float tolLum = ReadMaskedField(controls.EditLumTolerance.text);
  const float tolNb = ReadMaskedField(controls.EditLumToleranceNeighbour.text);
  const bool thresholdsChecked = controls.CheckThresholds.checked;
  controls.CheckThresholds.checked = false;
  AddLogLine(controls, host, ":  Luminance increase ...");

  const int steps = HighlightStepsPerPass(s.dome.subdivLevel);
  const int passes = HighlightPasses(controls.SpinLumIterations.value, steps);
  for (int k = 1; k <= passes; ++k) {
    const float d = HighlightIncrement(k, steps, s.highlight.value, s.highlight.power);
    const int count = IncreasePass(s, controls, host, d, tolLum, tolNb);
    SetStatus(controls, 1, "Level " + std::to_string(k));
    SetStatus(controls, 2, "");
    host.ProcessEvents();
    LuminanceStatistics(s, controls, host);  // the ring sums follow once after the last pass
    ProposeOptimizationThresholds(s, controls);
    if (count > 0) {
      AddLogLine(controls, host,
                 ":        Level " + std::to_string(k) + ": " + std::to_string(count) +
                     " points increased.");
      host.ProcessEvents();
    }
  }
  controls.CheckThresholds.checked = thresholdsChecked;
  StatisticsPass(s, controls, host);
  ProposeOptimizationThresholds(s, controls);
  s.workflowState = 4;
  SortPoints(s, controls, host);

  SyncDisplayChecks(s, controls);
  RedrawDome(s, controls, host);
  EndStep(controls, host, 4, ":        Luminance increase done.", "Luminance increase done.");
}

void TrackLumValueChange(Session& s, ControlModel& controls, Host& host) {
  s.highlight.value = static_cast<float>(controls.TrackLumValue.position / 10.0L);
  controls.LabelLumvalue.caption = FormatFixed(s.highlight.value, 1, host.GetNumberFormat());
}

void TrackLumPowerChange(Session& s, ControlModel& controls, Host& host) {
  s.highlight.power = static_cast<float>(controls.TrackLumPower.position / 10.0L);
  controls.LabelLumPower.caption = FormatFixed(s.highlight.power, 1, host.GetNumberFormat());
}

void TrackLumRChange(Session& s, ControlModel& controls, Host& host) {
  s.highlight.r = static_cast<float>(controls.TrackLumR.position / 20.0L);
  s.highlight.g = static_cast<float>(controls.TrackLumG.position / 20.0L);
  s.highlight.b = static_cast<float>(controls.TrackLumB.position / 20.0L);
  const NumberFormat nf = host.GetNumberFormat();
  controls.LabelLumR.caption = FormatFixed(s.highlight.r, 2, nf);
  controls.LabelLumG.caption = FormatFixed(s.highlight.g, 2, nf);
  controls.LabelLumB.caption = FormatFixed(s.highlight.b, 2, nf);
  controls.PanelLumColor.color =
      Rgb{ColorChannel(s.highlight.r), ColorChannel(s.highlight.g), ColorChannel(s.highlight.b)};
}

}  // namespace halvane
