#pragma once

#include "base/progress.h"
#include "dome/dome.h"

namespace halvane {

// lumSum7 .. lumSum91 of every point: luminance summed over the point and one
// to five rings of neighbours.
void ComputeRingSums(Dome& dome);

// The luminance statistics over all points and, with `neighbourPairs`, the
// mean luminance and colour differences between neighbours. Reports the point
// reached every 500 points.
DomeStatistics MeasureStatistics(const Dome& dome, bool neighbourPairs, const Progress& progress);

// Sorts the points by lumSum61 (ascending, whole records) and rebuilds the
// neighbour lists for the new indices.
void SortPoints(Dome& dome, const Progress& progress);

}  // namespace halvane
