#pragma once

#include <vector>

#include "preview/view_state.h"

namespace halvane {

// An image pixel, column and row.
struct PixelPosition {
  int column = 0, row = 0;
};

// Copies the view's background into its preview and marks each pixel of an
// image of the given size with a 3 x 3 square, as the overlay marks lights.
void DrawLightMarkers(ViewState& view, const std::vector<PixelPosition>& pixels, int imageWidth,
                      int imageHeight);

}  // namespace halvane
