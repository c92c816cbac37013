#pragma once

#include <array>
#include <optional>
#include <vector>

#include "image/image.h"

namespace halvane {

// The sun of an environment: the connected pixels above a luminance threshold
// around the brightest pixel. Energies are radiance (the sampled values: black
// and white point applied) times solid angle, above the fill the region's
// pixels get (FillSunRegion), so the region's energy moves whole from the
// picture into the sun.
struct SunRegion {
  std::vector<std::size_t> pixels;  // y * width + x, ascending
  std::array<float, 3> fill{};      // blue, green, red: the mean of the ring around the region
  double column = 0.0, row = 0.0;   // energy centroid, continuous image coordinates
  std::array<double, 3> energy{};   // red, green, blue summed over the region
  double solidAngle = 0.0;          // steradians
  double angle = 0.0;               // angular diameter of a cap of that solid angle, degrees
};

// A sun must be compact: a region wider than this (a bright window, an
// overcast sky) is no sun.
constexpr double kMaxSunSolidAngle = 0.1;

// The automatic threshold: this many times the environment's mean luminance
// (the luminance averaged over the sphere, each pixel weighted by its solid
// angle).
constexpr long double kSunThresholdPerMeanLuminance = 50.0L;

// kSunThresholdPerMeanLuminance times the mean luminance of `image`. Throws
// std::invalid_argument when the image does not hold its pixels.
float DefaultSunThreshold(const Image& image);

// The sun of `image`: the pixels 8-connected (across the longitude seam too)
// to the brightest pixel whose luminance is above `threshold`. None when the
// brightest pixel is not above it or the region is wider than
// kMaxSunSolidAngle. Throws std::invalid_argument when the image does not hold
// its pixels or the black and white points are equal.
std::optional<SunRegion> FindSun(const Image& image, float threshold, float blackPoint,
                                 float whitePoint);

// `image` with every pixel of `sun` set to its fill colour.
Image FillSunRegion(const Image& image, const SunRegion& sun);

}  // namespace halvane
