#pragma once

#include <cstdint>

#include "optimize/search_result.h"
#include "preview/bitmap.h"
#include "workflow/control_model.h"
#include "workflow/host.h"
#include "workflow/session.h"

namespace halvane {

// Paints the image layer of BackBitmap with the session's view settings and
// logs each pixel that cannot be converted. Without a usable image the layer
// is black. When `maxSample` is given it receives the brightest channel
// sampled (never below its value on entry).
void PaintImageLayer(Session& session, ControlModel& controls, float* maxSample);

// Rebuilds BackBitmap: image layer (or black), then the triangle fills.
void RedrawBackground(Session& session, ControlModel& controls, Host& host);

// Copies BackBitmap into PreviewBitmap, draws lines, markers and numbers for
// points first..last with the levels of `record`, and shows the result.
void DrawOverlay(Session& session, ControlModel& controls, Host& host, bool hideLines,
                 bool collapseNumbers, uint32_t first, uint32_t last, const SearchResult& record);

// The bitmap the preview shows: the overlay once one has been drawn, else
// the background.
const Bitmap& ShownPreview(const Session& session, const ControlModel& controls);

// The redraw after a step that changed the points: background with fills,
// then the overlay of every point with lines allowed.
void RedrawDome(Session& session, ControlModel& controls, Host& host);

}  // namespace halvane
