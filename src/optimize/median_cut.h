#pragma once

#include <array>
#include <vector>

#include "image/image.h"

namespace halvane {

// One region of a median cut of the environment and the light standing for
// it. Energies are radiance (the sampled values: black and white point
// applied) times solid angle.
struct MedianCutLight {
  double column = 0.0, row = 0.0;  // energy centroid, continuous image coordinates
  std::array<double, 3> energy{};  // red, green, blue summed over the region
  double luminanceEnergy = 0.0;    // what the cuts balance and the lights are ordered by
  double meanLuminance = 0.0;      // over the region's solid angle
  double solidAngle = 0.0;
};

// The light counts the median cut offers.
constexpr std::array<int, 5> kMedianCutCounts = {8, 16, 32, 64, 128};

// The largest grid the cut works on; larger images are summed onto it first.
constexpr int kMedianCutGridWidth = 1024;
constexpr int kMedianCutGridHeight = 512;

// Cuts the environment into `count` (a power of two) regions of equal
// luminance energy: each region is cut across its longer side, the width
// weighted by the cosine of the latitude, where the energy on both sides is
// the same. Returns one light per region, numbered (ordered) by falling
// energy; fewer when a region of one cell cannot be cut. Throws
// std::invalid_argument when the image does not hold its pixels, the black
// and white points are equal or `count` is not a power of two.
std::vector<MedianCutLight> MedianCut(const Image& image, float blackPoint, float whitePoint,
                                      int count);

// The same for every count of kMedianCutCounts, from one cut.
std::vector<std::vector<MedianCutLight>> MedianCutRows(const Image& image, float blackPoint,
                                                       float whitePoint);

}  // namespace halvane
