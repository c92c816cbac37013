#pragma once

#include "image/display_color.h"
#include "workflow/control_model.h"
#include "workflow/host.h"
#include "workflow/session.h"

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

// Paints the image layer of BackBitmap: each preview pixel shows the image
// pixel it samples (nearest lower), through the display mapping. A pixel that
// cannot be converted is painted magenta and logged. Without a usable image
// the layer is black. When `maxSample` is given it receives the brightest
// channel sampled (never below its value on entry).
void PaintImageLayer(Session& session, ControlModel& controls, float* maxSample);

// One corner of a filled triangle: preview position and colour.
struct FillCorner {
  double x, y;
  float r, g, b;
};

// Colour-interpolating scanline fill into `bitmap`, wrapping positions once
// into the picture; colours go through the display mapping.
void FillTriangle(Bitmap& bitmap, const DisplaySettings& settings, FillCorner a, FillCorner b,
                  FillCorner c);

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

// Handlers of the view settings.
void UpdateView(Session& session, ControlModel& controls, Host& host);
void UpdateViewback(Session& session, ControlModel& controls, Host& host);
void SpinViewMinChange(Session& session, ControlModel& controls, Host& host);
void SpinViewMaxChange(Session& session, ControlModel& controls, Host& host);
void SpinButton1DownClick(Session& session, ControlModel& controls, Host& host);
void SpinButton1UpClick(Session& session, ControlModel& controls, Host& host);

}  // namespace halvane
