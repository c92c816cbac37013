#pragma once

#include "preview/bitmap.h"

namespace halvane {

constexpr int kPreviewSize = 500;

// The preview's two pictures and what the view settings ask them to show.
struct ViewState {
  Bitmap preview;     // the overlay: background plus lines, markers and numbers
  Bitmap background;  // the image layer and the triangle fills
  float viewMin = 0.0f, viewMax = 0.0f;
  bool showBackground = false, showFill = false, showPoints = false, showUnused = false,
       showLines = false, showPointNr = false, showCollapseNr = false, darkenImage = false,
       showOutOfRange = false;
  bool updateEnabled = false;
};

}  // namespace halvane
