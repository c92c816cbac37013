#include "preview/pointer_readout.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "preview/view_state.h"

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
LightValues FirstLightInBox(const Dome& dome, ImagePosition at, ImagePosition half) {
  for (uint32_t i = 1; i <= dome.pointCount; ++i) {
    const DomePoint& p = dome.points[i];
    if (p.px >= at.x - half.x && p.px <= at.x + half.x && p.py >= at.y - half.y &&
        p.py <= at.y + half.y)
      return LightValues{p.lightR, p.lightG, p.lightB, p.lightLum, p.maxLevel};
  }
  return LightValues{};
}

void ReadLightValues(PointerReadout& out, const Image& image, const Dome& dome, ImagePosition at,
                     ImagePosition half, const NumberFormat& nf) {
  const LightValues light = FirstLightInBox(dome, at, half);
  out.b = ValueWithPixel("B: ", light.b, PixelChannel(image, at, 0), nf);
  out.g = ValueWithPixel("G: ", light.g, PixelChannel(image, at, 1), nf);
  out.r = ValueWithPixel("R: ", light.r, PixelChannel(image, at, 2), nf);
  out.lum = "Lum: " + ReadoutNumber(light.lum, 2, nf);
  out.maxOpt = "MaxOpt: " + ReadoutNumber(light.maxLevel, 0, nf);
}

void ReadImageValues(PointerReadout& out, const Image& image, const SamplingSettings& sampling,
                     ImagePosition at, const NumberFormat& nf) {
  const long double range = static_cast<long double>(sampling.whitePoint) - sampling.blackPoint;
  const auto normalised = [&](float p) {
    return (p - static_cast<long double>(sampling.blackPoint)) / range;
  };
  const float b = PixelChannel(image, at, 0);
  const float g = PixelChannel(image, at, 1);
  const float r = PixelChannel(image, at, 2);
  out.b = ValueWithPixel("B: ", normalised(b), b, nf);
  out.g = ValueWithPixel("G: ", normalised(g), g, nf);
  out.r = ValueWithPixel("R: ", normalised(r), r, nf);
  out.lum = "Lum: ";
}

long long NearestImagePosition(int previewPosition, int imageSize) {
  return static_cast<long long>(
      std::nearbyint(static_cast<long double>(previewPosition) / kPreviewSize * imageSize));
}

}  // namespace

PointerReadout ReadPointer(const Image& image, const Dome& dome, const SamplingSettings& sampling,
                           ReadoutValues values, int x, int y, const NumberFormat& format) {
  PointerReadout out;
  if (image.width <= 0 || image.height <= 0) return out;
  if (x < 1 || x >= kPreviewSize || y < 1 || y >= kPreviewSize) return out;
  const ImagePosition at{NearestImagePosition(x, image.width),
                         NearestImagePosition(y, image.height)};
  const ImagePosition half{
      static_cast<long long>(std::nearbyint(image.width * 4.0L / kPreviewSize)),
      static_cast<long long>(std::nearbyint(image.height * 4.0L / kPreviewSize))};
  if (at.x < 0 || at.x > image.width || at.y > image.height) return out;
  out.x = "X: " + std::to_string(at.x);
  out.y = "Y: " + std::to_string(at.y);
  if (image.height < kSmallestReadableHeight) return out;
  // After a failed load the size may not match the pixel array: only the
  // position is shown.
  if (values == ReadoutValues::None || !image.HoldsAllPixels()) return out;
  if (values == ReadoutValues::Light) {
    ReadLightValues(out, image, dome, at, half, format);
  } else {
    ReadImageValues(out, image, sampling, at, format);
  }
  return out;
}

}  // namespace halvane
