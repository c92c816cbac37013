#include "preview/overlay.h"

#include <algorithm>
#include <string>

#include "preview/preview_mapping.h"

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

PreviewPoint PositionOf(const Image& image, const DomePoint& p) {
  return PreviewPoint{PreviewCoordinate(p.px, image.width), PreviewCoordinate(p.py, image.height)};
}

// Lines to the neighbours; a line across the seam leaves the picture at its
// own side and is drawn from both ends, an inner line once.
void DrawNeighbourLines(Bitmap& bmp, const Dome& dome, const Image& image, uint32_t i,
                        PreviewPoint p) {
  const DomePoint& pt = dome.points[i];
  for (std::size_t slot = 1; slot <= kNeighbourSlots; ++slot) {
    const int32_t n = pt.nb[slot];
    if (n == 0) continue;
    PreviewPoint q = PositionOf(image, dome.points[static_cast<std::size_t>(n)]);
    if (p.x - q.x > 250) {
      q.x += 500;
    } else if (p.x - q.x < -250) {
      q.x -= 500;
    } else if (static_cast<int64_t>(i) > n) {
      continue;
    }
    bmp.DottedLine(p.x, p.y, q.x, q.y, kLineColor);
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

int32_t DrawPointOverlay(ViewState& view, const Dome& dome, const Image& image,
                         const OverlayOptions& options, const SearchResult& record) {
  Bitmap& bmp = view.preview;
  bmp = view.background;
  int32_t usedPoints = 0;
  const uint64_t n = dome.pointCount;
  const bool levelNumbers = view.showCollapseNr && options.collapseNumbers;
  for (uint32_t i = options.first; i <= options.last && i >= 1; ++i) {
    const DomePoint& pt = dome.points[i];
    if (pt.used) ++usedPoints;
    PreviewPoint p = PositionOf(image, pt);
    if (view.showLines && !options.hideLines) DrawNeighbourLines(bmp, dome, image, i, p);
    p.x = std::clamp(p.x, 2, 497);
    p.y = std::clamp(p.y, 2, 497);
    if (!view.showPoints) continue;

    const Rgb textBackground =
        2 * uint64_t{i} < n ? kLowerHalfTextBackground : kUpperHalfTextBackground;
    // Indices of the dimmest and the brightest fifth of the points.
    const bool indexShown = !levelNumbers && !options.hideLines && view.showPointNr &&
                            (5 * uint64_t{i} < n || 5 * uint64_t{i} > 4 * n);
    if (!pt.used) {
      if (!view.showUnused) continue;
      DrawMarker(bmp, p, kUnusedMarker);
      if (indexShown) WriteNumber(bmp, p, i, kUnusedText, textBackground);
      continue;
    }
    DrawMarker(bmp, p, kUsedMarker);
    const uint8_t level = record.decision[i];
    if (levelNumbers && level > 1) {
      WriteNumber(bmp, p, level, kUsedText, textBackground);
    } else if (indexShown) {
      WriteNumber(bmp, p, i, kUsedText, textBackground);
    }
  }
  return usedPoints;
}

}  // namespace halvane
