#include "workflow/sun_light.h"

#include "rig/rig_sun.h"

namespace halvane {

std::optional<RigSun> SessionSun(const Session& s) {
  if (!s.sampled.sun) return std::nullopt;
  return MakeRigSun(*s.sampled.sun, s.image.width, s.image.height);
}

std::string SunLogLine(const Session& s, const NumberFormat& format) {
  const SampledView& view = s.sampled;
  if (!view.sunOption) return {};
  const std::string threshold = FormatFixed(view.sunThreshold, 2, format);
  if (!view.sun) return ":  Sun: no compact region above luminance " + threshold;
  const RigSun sun = *SessionSun(s);
  return ":  Sun: " + std::to_string(view.sun->pixels.size()) + " pixels above luminance " +
         threshold + " at x " + FormatFixed(view.sun->column, 1, format) + ", y " +
         FormatFixed(view.sun->row, 1, format) + ", " + FormatFixed(sun.angle, 2, format) +
         " degrees wide, intensity " + FormatFixed(sun.light.intensity, 3, format);
}

}  // namespace halvane
