#pragma once

#include "image/display_color.h"
#include "preview/bitmap.h"

namespace halvane {

// The preview's colour of one value: the display mapping, darkened a little
// for the preview. A value that cannot be converted (a channel that is not a
// number) gives magenta and false.
inline bool PreviewColour(float red, float green, float blue, const DisplaySettings& settings,
                          Rgb& colour) {
  constexpr float kPreviewDarkening = 0.9f;
  uint32_t mapped = 0;
  if (!DisplayColor(red, green, blue, kPreviewDarkening, settings, mapped)) {
    colour = Rgb{255, 0, 255};
    return false;
  }
  colour = Rgb{RedOf(mapped), GreenOf(mapped), BlueOf(mapped)};
  return true;
}

// Preview position of an image column or row, capped at 499.
int PreviewCoordinate(int imagePosition, int imageSize);

}  // namespace halvane
