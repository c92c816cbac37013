#include "preview/light_markers.h"

#include <algorithm>

#include "preview/preview_mapping.h"

namespace halvane {

void DrawLightMarkers(ViewState& view, const std::vector<PixelPosition>& pixels, int imageWidth,
                      int imageHeight) {
  constexpr Rgb kMarker{255, 255, 0};
  view.preview = view.background;
  for (const PixelPosition& p : pixels) {
    // Kept inside the picture like the overlay's markers.
    const int x = std::clamp(PreviewCoordinate(p.column, imageWidth), 2, 497);
    const int y = std::clamp(PreviewCoordinate(p.row, imageHeight), 2, 497);
    view.preview.FillRect(x - 1, y - 1, x + 2, y + 2, kMarker);
  }
}

}  // namespace halvane
