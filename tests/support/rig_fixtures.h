#pragma once

#include <memory>
#include <string>

#include "dome/dome.h"
#include "image/image.h"
#include "optimize/search_result.h"

namespace halvane::testing {

// A small hand-made dome with one listed result, for the rig and its scripts.
// The image is 360 x 180 pixels, so a point's rotation is its pixel position
// less 180 (Y) and less 90 (X). SubdivLevel 4, PointIntensity 0.125.
//
//   point  px   py   level  used   decision  colour            note
//   1      90   45   2      yes    2         2, 1, 0.5         lum 1.3, sums 7.7 / 38 / 111
//   2      180  90   0      yes    0         1, 1, 1           absorbed: plain mode only
//   3      270  135  1      no     1         1, 0, 0           deleted: never exported
//   4      0    0    1      yes    1         0, 0, 0 (black)   lum 0.05
void FillRigFixture(Dome& dome, Image& image, SearchResults& results);

// The same on the heap, for the rig's own tests.
struct RigFixture {
  Dome dome;
  Image image;
  SearchResults results;
};
std::unique_ptr<RigFixture> MakeRigFixture();

// Sets the light fields of point `index` that the rig reads.
void SetRigPoint(Dome& dome, uint32_t index, uint16_t px, uint16_t py, double x, double y, double z,
                 float r, float g, float b, int32_t level, bool used);

// The whole text of a file, byte for byte.
std::string ReadText(const std::string& path);
// The text of tests/data/rig/`name`.
std::string GoldenScript(const std::string& name);

}  // namespace halvane::testing
