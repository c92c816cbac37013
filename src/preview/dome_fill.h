#pragma once

#include "dome/dome.h"
#include "image/display_color.h"
#include "image/image.h"
#include "preview/bitmap.h"

namespace halvane {

// Fills every triangle of mutually adjacent points with their light colours
// blended across it, positions taken from the points' pixels in an image of
// `image`'s size. Triangles across the seam wrap round the picture.
void FillDomeTriangles(Bitmap& bitmap, const Dome& dome, const Image& image,
                       const DisplaySettings& settings);

}  // namespace halvane
