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

PreviewPoint PositionOf(const Session& s, const point_typ& p) {
  return PreviewPoint{PreviewCoordinate(p.px, s.Image.width),
                      PreviewCoordinate(p.py, s.Image.height)};
}

// Lines to the neighbours; a line across the seam leaves the picture at its
// own side and is drawn from both ends, an inner line once.
void DrawNeighbourLines(Session& s, uint32_t i, PreviewPoint p) {
  const point_typ& pt = s.Points[i];
  for (std::size_t slot = 1; slot <= kNeighbourSlots; ++slot) {
    const int32_t n = pt.nb[slot];
    if (n == 0) continue;
    PreviewPoint q = PositionOf(s, s.Points[static_cast<std::size_t>(n)]);
    if (p.x - q.x > 250) {
      q.x += 500;
    } else if (p.x - q.x < -250) {
      q.x -= 500;
    } else if (static_cast<int64_t>(i) > n) {
      continue;
    }
    s.PreviewBitmap.DottedLine(p.x, p.y, q.x, q.y, kLineColor);
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

void DrawOverlay(Session& s, Form& form, Host& host, bool hideLines, bool collapseNumbers,
                 uint32_t first, uint32_t last, const optimization_typ& record) {
  s.PreviewBitmap = s.BackBitmap;
  s.UsedPointCount = 0;
  const uint64_t n = s.PointCount;
  const bool levelNumbers = s.ShowCollapseNr && collapseNumbers;
  for (uint32_t i = first; i <= last && i >= 1; ++i) {
    const point_typ& pt = s.Points[i];
    if (pt.used) ++s.UsedPointCount;
    PreviewPoint p = PositionOf(s, pt);
    if (s.ShowLines && !hideLines) DrawNeighbourLines(s, i, p);
    p.x = std::clamp(p.x, 2, 497);
    p.y = std::clamp(p.y, 2, 497);
    if (!s.ShowPoints) continue;

    const Rgb textBackground =
        2 * uint64_t{i} < n ? kLowerHalfTextBackground : kUpperHalfTextBackground;
    // Indices of the dimmest and the brightest fifth of the points.
    const bool indexShown = !levelNumbers && !hideLines && s.ShowPointNr &&
                            (5 * uint64_t{i} < n || 5 * uint64_t{i} > 4 * n);
    if (!pt.used) {
      if (!s.ShowUnused) continue;
      DrawMarker(s.PreviewBitmap, p, kUnusedMarker);
      if (indexShown) WriteNumber(s.PreviewBitmap, p, i, kUnusedText, textBackground);
      continue;
    }
    DrawMarker(s.PreviewBitmap, p, kUsedMarker);
    const uint8_t level = record.decision[i];
    if (levelNumbers && level > 1) {
      WriteNumber(s.PreviewBitmap, p, level, kUsedText, textBackground);
    } else if (indexShown) {
      WriteNumber(s.PreviewBitmap, p, i, kUsedText, textBackground);
    }
  }
  form.Image1Layer = PreviewLayer::Overlay;
  form.LabelMaxpoint.caption =
      std::to_string(s.PointCount) + " Pnts (" + std::to_string(s.UsedPointCount) + " used) ";
  host.PreviewChanged();
}

const Bitmap& ShownPreview(const Session& s, const Form& form) {
  return form.Image1Layer == PreviewLayer::Overlay ? s.PreviewBitmap : s.BackBitmap;
}

}  // namespace halvane
