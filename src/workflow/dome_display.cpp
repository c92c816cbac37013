#include "workflow/dome_display.h"

#include <cmath>

#include "base/number_text.h"
#include "dome/statistics.h"
#include "workflow/workflow.h"

namespace halvane {
namespace {

void WriteStatisticsLabels(const DomeStatistics& st, ControlModel& controls,
                           const NumberFormat& nf) {
  const auto text = [&](const char* prefix, float v) {
    return std::string(prefix) + PadLeft(FormatFixed(v, 2, nf), 5);
  };
  controls.LabelMinvalue.caption = text("Min Luminance:                     ", st.minLum);
  controls.LabelMaxvalue.caption = text("Max Luminance:                     ", st.maxLum);
  controls.LabelAverageValue.caption = text("Average Luminane:                  ", st.avgLum);
  controls.LabelThresholdNeighb.caption =
      text("Av. Lum. diff. (neighbour points): ", st.avgLumDiff);
  controls.LabelThresholdNeighColor.caption =
      text("Av. Color diff. (neighbour points):", st.avgColorDiff);
}

}  // namespace

Progress PointsProgress(ControlModel& controls, Host& host) {
  return Progress{[&controls, &host](const std::string& text, double) {
    SetStatus(controls, 2, text);
    host.ProcessEvents();
  }};
}

void StatisticsPass(Session& s, ControlModel& controls, Host& host) {
  ComputeRingSums(s.dome);
  LuminanceStatistics(s, controls, host);
}

void LuminanceStatistics(Session& s, ControlModel& controls, Host& host) {
  const std::string panel2 = controls.StatusBar1.panels[2];
  const Progress progress{[&](const std::string& text, double) {
    SetStatus(controls, 2, panel2 + text);
    host.ProcessEvents();
  }};
  s.statistics = MeasureStatistics(s.dome, controls.CheckThresholds.checked, progress);
  SetStatus(controls, 2, panel2);
  WriteStatisticsLabels(s.statistics, controls, host.GetNumberFormat());
}

std::string FieldTextRounded(long double value) {
  if (value > 99.99L) return "99.99";
  return PadLeft(FormatFixed(static_cast<double>(value), 2, NumberFormat{'.', ""}), 5);
}

std::string FieldTextTruncated(float value) {
  if (value > 99.99f) return "99.99";
  const long double t = value > 0 ? value : 0.0f;  // the field holds no sign
  const long long whole = static_cast<long long>(std::trunc(t));
  const long long hundredths = static_cast<long long>(std::trunc((t - whole) * 100.0L));
  return PadLeft(std::to_string(whole), 2) + "." + PadLeft(std::to_string(hundredths), 2);
}

void ProposeOptimizationThresholds(const DomeStatistics& st, ControlModel& controls) {
  controls.EditOptThreshold.text =
      FieldTextRounded(static_cast<long double>(st.avgColorDiff) * 3 + 0.25L);
  controls.EditRedThreshold.text =
      FieldTextRounded(static_cast<long double>(st.avgColorDiff) * 0.5L + 0.05L);
}

void ProposeHighlightTolerances(const DomeStatistics& st, ControlModel& controls) {
  const float t = static_cast<float>(0.3L * st.maxLum);
  controls.EditLumToleranceNeighbour.text = FieldTextTruncated(t);
  controls.EditLumTolerance.text = FieldTextTruncated(static_cast<float>(t / 3.0L));
}

}  // namespace halvane
