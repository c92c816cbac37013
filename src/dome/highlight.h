#pragma once

#include <vector>

#include "base/progress.h"
#include "dome/dome.h"

namespace halvane {

// How far the highlight boost goes: the requested iterations, and how far
// below the maximum luminance a point and each of its neighbours may lie to
// take part.
struct HighlightParameters {
  int iterations = 0;
  float lumTolerance = 0.0f;
  float neighbourTolerance = 0.0f;
};

// The increment of every pass the boost makes on a grid of `subdivLevel`:
// the iterations are taken a few steps per pass (more on coarser grids), and
// each step k adds (k * value)^power / 3.
std::vector<float> HighlightIncrements(const HighlightSettings& settings,
                                       const HighlightParameters& parameters, uint8_t subdivLevel);

// One pass of the boost: every point within the tolerance of `maxLum` whose
// neighbours are all within the neighbour tolerance gains `increment` times
// the highlight colour, light colour and luminance with it. Points are taken
// in index order, so a neighbour raised earlier in the pass counts with its
// new luminance. Returns how many points were raised; reports the point
// reached every 500 points.
int RaiseHighlights(Dome& dome, float maxLum, const HighlightSettings& settings,
                    const HighlightParameters& parameters, float increment,
                    const Progress& progress);

}  // namespace halvane
