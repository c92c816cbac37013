#pragma once

#include "image/display_color.h"
#include "preview/bitmap.h"

namespace halvane {

// One corner of a filled triangle: preview position and colour.
struct FillCorner {
  double x, y;
  float r, g, b;
};

// Colour-interpolating scanline fill into `bitmap`, wrapping positions once
// into the picture; colours go through the display mapping.
void FillTriangle(Bitmap& bitmap, const DisplaySettings& settings, FillCorner a, FillCorner b,
                  FillCorner c);

}  // namespace halvane
