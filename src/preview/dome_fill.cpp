#include "preview/dome_fill.h"

#include "preview/fill_triangle.h"
#include "preview/preview_mapping.h"

namespace halvane {

// Each point's neighbours a > i and d > a that are also neighbours of i:
// every triangle of mutually adjacent points, once, from its smallest index.
void FillDomeTriangles(Bitmap& bitmap, const Dome& dome, const Image& image,
                       const DisplaySettings& settings) {
  const auto corner = [&](uint32_t p, int referenceX) {
    const DomePoint& pt = dome.points[p];
    double x = PreviewCoordinate(pt.px, image.width);
    const double y = PreviewCoordinate(pt.py, image.height);
    if (referenceX - x >= 250) {
      x += 500;
    } else if (referenceX - x < -250) {
      x -= 500;
    }
    return FillCorner{x, y, pt.lightR, pt.lightG, pt.lightB};
  };
  for (uint32_t i = 1; i <= dome.pointCount; ++i) {
    const DomePoint& pi = dome.points[i];
    const int refX = PreviewCoordinate(pi.px, image.width);
    const FillCorner ci{static_cast<double>(refX),
                        static_cast<double>(PreviewCoordinate(pi.py, image.height)), pi.lightR,
                        pi.lightG, pi.lightB};
    for (std::size_t ja = 1; ja <= kNeighbourSlots; ++ja) {
      const int32_t a = pi.nb[ja];
      if (a <= static_cast<int32_t>(i)) continue;
      const DomePoint& pa = dome.points[static_cast<std::size_t>(a)];
      for (std::size_t jd = 1; jd <= kNeighbourSlots; ++jd) {
        const int32_t d = pa.nb[jd];
        if (d <= a) continue;
        bool adjacentToI = false;
        for (std::size_t k = 1; k <= kNeighbourSlots; ++k) adjacentToI |= pi.nb[k] == d;
        if (!adjacentToI) continue;
        FillTriangle(bitmap, settings, ci, corner(static_cast<uint32_t>(a), refX),
                     corner(static_cast<uint32_t>(d), refX));
      }
    }
  }
}

}  // namespace halvane
