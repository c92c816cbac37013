#pragma once

#include <vector>

#include "image/display_color.h"
#include "image/image.h"
#include "preview/bitmap.h"

namespace halvane {

// A preview pixel that could not be shown, and the image pixel it samples.
struct UnconvertiblePixel {
  int x, y, ix, iy;
};

struct PaintedImage {
  // The brightest channel sampled; minus infinity when nothing was sampled.
  // A channel that is not a number never counts.
  float maxSample;
  std::vector<UnconvertiblePixel> unconvertible;  // in row order
};

// Paints the preview's image layer into `bitmap`: each preview pixel shows
// the image pixel it samples (nearest lower), through the display mapping. A
// pixel that cannot be converted is painted magenta and reported. An image
// that does not hold all its pixels paints the layer black.
PaintedImage PaintImage(const Image& image, const DisplaySettings& settings, Bitmap& bitmap);

}  // namespace halvane
