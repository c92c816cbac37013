#include "workflow/export_intensity.h"

#include "base/number_text.h"

namespace halvane {

void ShowExportIntensity(ControlModel& controls, Host& host) {
  const double value = static_cast<double>(controls.TrackExpInt.position / 10.0L);
  controls.LabelExpIntens.caption = FormatFixed(value, 1, host.GetNumberFormat());
}

}  // namespace halvane
