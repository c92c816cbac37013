#include "workflow/highlight_sliders.h"

#include <cmath>
#include <cstdint>

#include "base/number_text.h"

namespace halvane {
namespace {

uint8_t ColorChannel(float fraction) {
  return static_cast<uint8_t>(std::nearbyint(255.0L * fraction));
}

}  // namespace

void ShowHighlightValue(Session& s, ControlModel& controls, Host& host) {
  s.highlight.value = static_cast<float>(controls.TrackLumValue.position / 10.0L);
  controls.LabelLumvalue.caption = FormatFixed(s.highlight.value, 1, host.GetNumberFormat());
}

void ShowHighlightPower(Session& s, ControlModel& controls, Host& host) {
  s.highlight.power = static_cast<float>(controls.TrackLumPower.position / 10.0L);
  controls.LabelLumPower.caption = FormatFixed(s.highlight.power, 1, host.GetNumberFormat());
}

void ShowHighlightColour(Session& s, ControlModel& controls, Host& host) {
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
