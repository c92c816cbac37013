#pragma once

#include <memory>

#include "workflow/session.h"

namespace halvane::testing {

// A small hand-made session for the export tests, ready to export (state 5)
// with one listed optimization. The image is 360 x 180 pixels, so a point's
// rotation is its pixel position less 180 (Y) and less 90 (X). SubdivLevel 4,
// PointIntensity 0.125.
//
//   point  px   py   level  used   decision  colour            note
//   1      90   45   2      yes    2         2, 1, 0.5         lum 1.3, sums 7.7 / 38 / 111
//   2      180  90   0      yes    0         1, 1, 1           absorbed: plain mode only
//   3      270  135  1      no     1         1, 0, 0           deleted: never exported
//   4      0    0    1      yes    1         0, 0, 0 (black)   lum 0.05
std::unique_ptr<Session> MakeExportSession();

// Sets the light fields of point `index` that the export reads.
void SetExportPoint(Session& session, uint32_t index, uint16_t px, uint16_t py, double x, double y,
                    double z, float r, float g, float b, int32_t level, bool used);

}  // namespace halvane::testing
