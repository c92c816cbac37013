#pragma once

#include <optional>
#include <string>

#include "base/number_text.h"
#include "dome/dome.h"
#include "image/image.h"

namespace halvane {

// What the readout shows besides the position.
enum class ReadoutValues {
  None,   // no image to read
  Image,  // the raw pixel and its value normalised by the black and white points
  Light,  // the colour, luminance and largest level of the first point near the pointer
};

// The texts of the "Mouse Position" labels; an empty field leaves its label
// as it is.
struct PointerReadout {
  std::optional<std::string> x, y, r, g, b, lum, maxOpt;
};

// The readout for the preview pixel (x, y) under the pointer: the image
// position, and the values `values` asks for where the image is high enough
// to read and holds all its pixels. Numbers are written in `format`.
PointerReadout ReadPointer(const Image& image, const Dome& dome, const SamplingSettings& sampling,
                           ReadoutValues values, int x, int y, const NumberFormat& format);

}  // namespace halvane
