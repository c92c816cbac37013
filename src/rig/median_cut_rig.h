#pragma once

#include <vector>

#include "optimize/median_cut.h"
#include "rig/rig.h"

namespace halvane {

// How wide a median cut light's area is: a level-1 dome light is 0.45 of the
// grid spacing wide, and a grid whose cells have solid angle W has a spacing
// of about 1.2 sqrt(W) (the 642-point grid: 0.17 against sqrt(4 pi / 642)).
// A region of solid angle W therefore gets 0.45 x 1.2 x sqrt(W).
constexpr long double kMedianCutAreaPerRootSolidAngle = 0.54L;

// A light sending `energy` (red, green, blue; radiance x steradians) from the
// continuous image position (column, row): its colour in intensity units
// (kIntensityToEnergy), its direction and the angles of the pixel that
// direction maps to. Number, level, highlight and area stay unset.
RigLight EnergyLight(const std::array<double, 3>& energy, double column, double row, int width,
                     int height);

// The rig of a median cut: one level-1 light per region, numbered 1.. in the
// order of `lights` (falling energy). The colour is the region's summed
// colour in intensity units (kIntensityToEnergy), so the rig holds the
// energy the dome would; the direction is the energy centroid's; the angles
// come from the pixel that direction maps to. Throws std::invalid_argument
// when the image size is not positive.
Rig MakeMedianCutRig(const std::vector<MedianCutLight>& lights, int imageWidth, int imageHeight,
                     ScriptKind kind, int lightDistance);

}  // namespace halvane
