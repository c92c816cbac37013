#pragma once

#include <cstdint>
#include <string>

#include "base/progress.h"
#include "dome/dome.h"
#include "image/image.h"

namespace halvane {

// Every point takes the mean colour of the image around it, limited to the
// clamp luminance, and becomes a used light of that colour. Reports
// PointProgressText before each block of 500 points after the first. The
// black and white points of `sampling` must differ.
void ColourPoints(Dome& dome, const Image& image, const SamplingSettings& sampling,
                  const Progress& progress);

// "00500/642 points": progress of a pass over the points.
std::string PointProgressText(uint32_t i, uint32_t count);

}  // namespace halvane
