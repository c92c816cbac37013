#include <algorithm>
#include <string>

#include "preview/preview.h"

namespace halvane {
namespace {

constexpr Rgb kLineColor{255, 0, 0};
constexpr Rgb kUnusedMarker{150, 0, 0};
constexpr Rgb kUsedMarker{255, 255, 0};
constexpr Rgb kUnusedText{255, 0, 0};
constexpr Rgb kUsedText{255, 255, 0};
constexpr Rgb kLowerHalfTextBackground{0, 0, 0};
constexpr Rgb kUpperHalfTextBackground{100, 100, 100};
constexpr int kTextCap = 480;

struct PreviewPoint {
  int x, y;
};

PreviewPoint PositionOf(const Session& s, const DomePoint& p) {
  return PreviewPoint{PreviewCoordinate(p.px, s.image.width),
                      PreviewCoordinate(p.py, s.image.height)};
}

// Lines to the neighbours; a line across the seam leaves the picture at its
// own side and is drawn from both ends, an inner line once.
void DrawNeighbourLines(Session& s, uint32_t i, PreviewPoint p) {
  const DomePoint& pt = s.dome.points[i];
  for (std::size_t slot = 1; slot <= kNeighbourSlots; ++slot) {
    const int32_t n = pt.nb[slot];
    if (n == 0) continue;
    PreviewPoint q = PositionOf(s, s.dome.points[static_cast<std::size_t>(n)]);
    if (p.x - q.x > 250) {
      q.x += 500;
    } else if (p.x - q.x < -250) {
      q.x -= 500;
    } else if (static_cast<int64_t>(i) > n) {
      continue;
    }
    s.view.preview.DottedLine(p.x, p.y, q.x, q.y, kLineColor);
  }
}

void DrawMarker(Bitmap& bmp, PreviewPoint p, Rgb color) {
  bmp.FillRect(p.x - 1, p.y - 1, p.x + 2, p.y + 2, color);
}

void WriteNumber(Bitmap& bmp, PreviewPoint p, long long number, Rgb ink, Rgb background) {
  bmp.TextOut(std::min(p.x, kTextCap), std::min(p.y, kTextCap), std::to_string(number), ink,
              background);
}

}  // namespace

void DrawOverlay(Session& s, ControlModel& controls, Host& host, bool hideLines,
                 bool collapseNumbers, uint32_t first, uint32_t last, const SearchResult& record) {
  s.view.preview = s.view.background;
  s.statistics.usedPointCount = 0;
  const uint64_t n = s.dome.pointCount;
  const bool levelNumbers = s.view.showCollapseNr && collapseNumbers;
  for (uint32_t i = first; i <= last && i >= 1; ++i) {
    const DomePoint& pt = s.dome.points[i];
    if (pt.used) ++s.statistics.usedPointCount;
    PreviewPoint p = PositionOf(s, pt);
    if (s.view.showLines && !hideLines) DrawNeighbourLines(s, i, p);
    p.x = std::clamp(p.x, 2, 497);
    p.y = std::clamp(p.y, 2, 497);
    if (!s.view.showPoints) continue;

    const Rgb textBackground =
        2 * uint64_t{i} < n ? kLowerHalfTextBackground : kUpperHalfTextBackground;
    // Indices of the dimmest and the brightest fifth of the points.
    const bool indexShown = !levelNumbers && !hideLines && s.view.showPointNr &&
                            (5 * uint64_t{i} < n || 5 * uint64_t{i} > 4 * n);
    if (!pt.used) {
      if (!s.view.showUnused) continue;
      DrawMarker(s.view.preview, p, kUnusedMarker);
      if (indexShown) WriteNumber(s.view.preview, p, i, kUnusedText, textBackground);
      continue;
    }
    DrawMarker(s.view.preview, p, kUsedMarker);
    const uint8_t level = record.decision[i];
    if (levelNumbers && level > 1) {
      WriteNumber(s.view.preview, p, level, kUsedText, textBackground);
    } else if (indexShown) {
      WriteNumber(s.view.preview, p, i, kUsedText, textBackground);
    }
  }
  controls.Image1Layer = PreviewLayer::Overlay;
  controls.LabelMaxpoint.caption = std::to_string(s.dome.pointCount) + " Pnts (" +
                                   std::to_string(s.statistics.usedPointCount) + " used) ";
  host.PreviewChanged();
}

const Bitmap& ShownPreview(const Session& s, const ControlModel& controls) {
  return controls.Image1Layer == PreviewLayer::Overlay ? s.view.preview : s.view.background;
}

}  // namespace halvane
