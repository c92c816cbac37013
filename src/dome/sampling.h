#pragma once

#include <cstdint>

#include "dome/dome.h"
#include "image/image.h"

namespace halvane {

struct SampledColor {
  float r = 0, g = 0, b = 0;
};

// The mean colour around point i of `dome`: over the grid triangles meeting at
// the point, the mean normalised pixel colour of each triangle shrunk to half
// size towards the point. The black and white points of `sampling` must differ.
SampledColor SamplePoint(const Image& image, const Dome& dome, uint32_t i,
                         const SamplingSettings& sampling);

// Sums of the normalised pixel colours of one rasterised triangle.
struct TriangleSums {
  double r = 0, g = 0, b = 0;
  uint32_t pixels = 0;
};

// Rasterises triangle (p, a, c) in image columns and rows after shrinking a
// and c halfway towards p; columns and rows wrap once around the image.
TriangleSums RasterTriangle(const Image& image, const SamplingSettings& sampling, double px,
                            double py, double ax, double ay, double cx, double cy);

}  // namespace halvane
