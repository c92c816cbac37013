#pragma once

#include <cstdint>

#include "dome/dome.h"
#include "image/image.h"
#include "optimize/search_result.h"
#include "preview/view_state.h"

namespace halvane {

// Which points an overlay draws and what it leaves out.
struct OverlayOptions {
  bool hideLines = false;        // no neighbour lines and no point numbers
  bool collapseNumbers = false;  // levels of `record` instead of point numbers
  uint32_t first = 1, last = 0;  // the points drawn, by index
};

// Copies the view's background into its preview and draws on it, as the
// view's flags ask, the neighbour lines, markers and numbers of points
// first..last at their pixels in an image of `image`'s size. Returns how many
// of those points are used.
int32_t DrawPointOverlay(ViewState& view, const Dome& dome, const Image& image,
                         const OverlayOptions& options, const SearchResult& record);

}  // namespace halvane
