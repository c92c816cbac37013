#include "image/display_color.h"

#include <cmath>

#include "base/luminance.h"

namespace halvane {
namespace {

void FalseColour(float& red, float& green, float& blue) {
  if (red < 0 && green < 0 && blue < 0) {
    const float l = Luminance(red, green, blue);
    red = static_cast<float>(1.0L - std::fabs(static_cast<long double>(l) + 1.0L));
    blue = -l;
  } else if (red > 1 && green > 1 && blue > 1) {
    const float l = Luminance(red, green, blue);
    if (l < 2) {
      green = static_cast<float>(2.0L - l);
      blue = static_cast<float>(2.0L - l);
      red = l;
    } else {
      blue = static_cast<float>((static_cast<long double>(l) - 8.0L) / 8.0L);
      green = static_cast<float>((static_cast<long double>(l) - 2.0L) / 2.0L);
      red = static_cast<float>(2.0L - 0.25L * l);
    }
  }
}

void ClampAndScale(float& v, float factor, bool darken) {
  if (v < 0) v = 0;
  if (v > 1) v = 1;
  v = static_cast<float>(v * 255.0L);
  if (darken) v = static_cast<float>(static_cast<long double>(v) * factor);
}

}  // namespace

bool DisplayColor(float red, float green, float blue, float factor, const DisplaySettings& settings,
                  uint32_t& color) {
  const long double range =
      static_cast<long double>(settings.viewMax) - static_cast<long double>(settings.viewMin);
  red = static_cast<float>((red - static_cast<long double>(settings.viewMin)) / range);
  green = static_cast<float>((green - static_cast<long double>(settings.viewMin)) / range);
  blue = static_cast<float>((blue - static_cast<long double>(settings.viewMin)) / range);
  if (settings.showOutOfRange) FalseColour(red, green, blue);
  ClampAndScale(red, factor, settings.darken);
  ClampAndScale(green, factor, settings.darken);
  ClampAndScale(blue, factor, settings.darken);
  if (std::isnan(red) || std::isnan(green) || std::isnan(blue)) return false;
  const auto r = static_cast<uint32_t>(std::nearbyint(red));
  const auto g = static_cast<uint32_t>(std::nearbyint(green));
  const auto b = static_cast<uint32_t>(std::nearbyint(blue));
  color = r + 256 * g + 65536 * b;
  return true;
}

}  // namespace halvane
