#include "preview/mouse_readout.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "base/number_text.h"

namespace halvane {
namespace {

constexpr int kSmallestReadableHeight = 30;
constexpr long double kFixedPointScale = 10000.0L;  // values are held with four decimals
constexpr long double kFixedPointLimit = 9.0e18L;   // what a 64-bit integer holds
constexpr std::size_t kNumberWidth = 5;

// `value` divided by `divisor`, rounded half to even.
long long DivideHalfEven(long long value, long long divisor) {
  const long long magnitude = value < 0 ? -value : value;
  long long quotient = magnitude / divisor;
  const long long remainder = magnitude % divisor;
  if (2 * remainder > divisor || (2 * remainder == divisor && quotient % 2 != 0)) ++quotient;
  return value < 0 ? -quotient : quotient;
}

// The value is first fixed to four decimals, then written with `decimals`
// (0 or 2) in the user's format with thousands separators, at least five
// characters wide. Values beyond the fixed-point range, infinities and NaN
// are written from the value itself.
std::string ReadoutNumber(long double value, int decimals, const NumberFormat& format) {
  const long double fixed = std::nearbyint(value * kFixedPointScale);
  if (!(std::fabs(fixed) < kFixedPointLimit))
    return PadLeft(FormatFixed(static_cast<double>(value), decimals, format, true), kNumberWidth);
  const long long unit = decimals == 0 ? 1 : 100;
  const long long shown = DivideHalfEven(static_cast<long long>(fixed), 10000 / unit);
  const long long magnitude = shown < 0 ? -shown : shown;
  std::string text = shown < 0 ? "-" : "";
  text += FormatFixed(static_cast<double>(magnitude / unit), 0, format, true);
  if (decimals > 0) {
    const long long fraction = magnitude % unit;
    text += format.decimalSeparator;
    text += static_cast<char>('0' + fraction / 10);
    text += static_cast<char>('0' + fraction % 10);
  }
  return PadLeft(text, kNumberWidth);
}

std::string ValueWithPixel(const char* prefix, long double value, float pixel,
                           const NumberFormat& format) {
  return prefix + ReadoutNumber(value, 2, format) + " (" + ReadoutNumber(pixel, 2, format) + ")";
}

struct ImagePosition {
  long long x, y;
};

// Channel k (0 blue, 1 green, 2 red) of the pixel at `at`; a position rounded
// onto the right or bottom border reads the edge pixel.
float PixelChannel(const Image& image, ImagePosition at, int k) {
  const int x = static_cast<int>(std::min<long long>(at.x, image.width - 1));
  const int y = static_cast<int>(std::min<long long>(at.y, image.height - 1));
  return image.pixels.at(static_cast<std::size_t>(image.ChannelIndex(x, y, k)));
}

struct LightValues {
  float r = 0.0f, g = 0.0f, b = 0.0f, lum = 0.0f;
  int32_t maxLevel = 0;
};

// The light of the first point, in index order, inside the box of half
// sizes `half` around `at`; zeros when there is none.
LightValues FirstLightInBox(const Session& s, ImagePosition at, ImagePosition half) {
  for (uint32_t i = 1; i <= s.dome.pointCount; ++i) {
    const DomePoint& p = s.dome.points[i];
    if (p.px >= at.x - half.x && p.px <= at.x + half.x && p.py >= at.y - half.y &&
        p.py <= at.y + half.y)
      return LightValues{p.lightR, p.lightG, p.lightB, p.lightLum, p.maxLevel};
  }
  return LightValues{};
}

void ShowLightValues(const Session& s, ControlModel& controls, ImagePosition at, ImagePosition half,
                     const NumberFormat& nf) {
  const LightValues light = FirstLightInBox(s, at, half);
  controls.LabelcordB.caption = ValueWithPixel("B: ", light.b, PixelChannel(s.image, at, 0), nf);
  controls.LabelcordG.caption = ValueWithPixel("G: ", light.g, PixelChannel(s.image, at, 1), nf);
  controls.LabelcordR.caption = ValueWithPixel("R: ", light.r, PixelChannel(s.image, at, 2), nf);
  controls.LabelcordLum.caption = "Lum: " + ReadoutNumber(light.lum, 2, nf);
  controls.Labelmaxopt.caption = "MaxOpt: " + ReadoutNumber(light.maxLevel, 0, nf);
}

void ShowNormalisedValues(const Session& s, ControlModel& controls, ImagePosition at,
                          const NumberFormat& nf) {
  const long double range = static_cast<long double>(s.sampling.whitePoint) - s.sampling.blackPoint;
  const auto normalised = [&](float p) {
    return (p - static_cast<long double>(s.sampling.blackPoint)) / range;
  };
  const float b = PixelChannel(s.image, at, 0);
  const float g = PixelChannel(s.image, at, 1);
  const float r = PixelChannel(s.image, at, 2);
  controls.LabelcordB.caption = ValueWithPixel("B: ", normalised(b), b, nf);
  controls.LabelcordG.caption = ValueWithPixel("G: ", normalised(g), g, nf);
  controls.LabelcordR.caption = ValueWithPixel("R: ", normalised(r), r, nf);
  controls.LabelcordLum.caption = "Lum: ";
}

long long NearestImagePosition(int previewPosition, int imageSize) {
  return static_cast<long long>(
      std::nearbyint(static_cast<long double>(previewPosition) / kPreviewSize * imageSize));
}

}  // namespace

void Image1MouseMove(Session& s, ControlModel& controls, Host& host, int x, int y) {
  const Image& image = s.image;
  if (image.width <= 0 || image.height <= 0) return;
  if (x < 1 || x >= kPreviewSize || y < 1 || y >= kPreviewSize) return;
  const ImagePosition at{NearestImagePosition(x, image.width),
                         NearestImagePosition(y, image.height)};
  const ImagePosition half{
      static_cast<long long>(std::nearbyint(image.width * 4.0L / kPreviewSize)),
      static_cast<long long>(std::nearbyint(image.height * 4.0L / kPreviewSize))};
  if (at.x < 0 || at.x > image.width || at.y > image.height) return;
  controls.LabelcordX.caption = "X: " + std::to_string(at.x);
  controls.LabelcordY.caption = "Y: " + std::to_string(at.y);
  if (image.height < kSmallestReadableHeight) return;
  // Without a loaded image (after a failed load the size may not match the
  // pixel array) only the position is shown.
  if (s.imageMissing || !image.HoldsAllPixels()) return;
  const NumberFormat nf = host.GetNumberFormat();
  if (s.workflowState >= 3) {
    ShowLightValues(s, controls, at, half, nf);
  } else {
    ShowNormalisedValues(s, controls, at, nf);
  }
}

}  // namespace halvane
