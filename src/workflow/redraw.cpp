#include "workflow/redraw.h"

#include <algorithm>
#include <string>

#include "preview/dome_fill.h"
#include "preview/image_layer.h"
#include "preview/overlay.h"
#include "workflow/display_settings.h"

namespace halvane {
namespace {

void LogUnconvertiblePixel(ControlModel& controls, const UnconvertiblePixel& u) {
  controls.ListBox1.items.push_back(" x:" + std::to_string(u.x) + "  y:" + std::to_string(u.y) +
                                    "  xs:" + std::to_string(u.ix) +
                                    "  ys:" + std::to_string(u.iy));
  controls.ListBox1.itemIndex = static_cast<int>(controls.ListBox1.items.size()) - 1;
}

}  // namespace

void PaintImageLayer(Session& s, ControlModel& controls, float* maxSample) {
  if (s.imageMissing) {
    s.view.background.Fill(Rgb{});
    return;
  }
  const PaintedImage painted = PaintImage(s.image, DisplaySettingsOf(s), s.view.background);
  for (const UnconvertiblePixel& u : painted.unconvertible) LogUnconvertiblePixel(controls, u);
  if (maxSample != nullptr) *maxSample = std::max(*maxSample, painted.maxSample);
}

void RedrawBackground(Session& s, ControlModel& controls, Host& host) {
  if (s.view.showBackground) {
    PaintImageLayer(s, controls, nullptr);
  } else {
    s.view.background.Fill(Rgb{});
  }
  if (!s.imageMissing) {
    controls.Image1.visible = true;
    controls.Image3.visible = false;
  }
  if (s.dome.pointCount >= 1 && s.view.showFill)
    FillDomeTriangles(s.view.background, s.dome, s.image, DisplaySettingsOf(s));
  host.PreviewChanged();
}

void DrawOverlay(Session& s, ControlModel& controls, Host& host, bool hideLines,
                 bool collapseNumbers, uint32_t first, uint32_t last, const SearchResult& record) {
  s.statistics.usedPointCount =
      DrawPointOverlay(s.view, s.dome, s.image, {hideLines, collapseNumbers, first, last}, record);
  controls.Image1Layer = PreviewLayer::Overlay;
  controls.LabelMaxpoint.caption = std::to_string(s.dome.pointCount) + " Pnts (" +
                                   std::to_string(s.statistics.usedPointCount) + " used) ";
  host.PreviewChanged();
}

const Bitmap& ShownPreview(const Session& s, const ControlModel& controls) {
  return controls.Image1Layer == PreviewLayer::Overlay ? s.view.preview : s.view.background;
}

void RedrawDome(Session& s, ControlModel& controls, Host& host) {
  RedrawBackground(s, controls, host);
  DrawOverlay(s, controls, host, false, false, 1, s.dome.pointCount, s.results.results[1]);
}

}  // namespace halvane
