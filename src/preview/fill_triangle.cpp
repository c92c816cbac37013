#include "preview/fill_triangle.h"

#include <cmath>
#include <utility>

#include "preview/preview_mapping.h"
#include "preview/view_state.h"

namespace halvane {
namespace {

// A position and colour on an edge, and the per-row step along that edge.
struct EdgePoint {
  double x, y;
  float r, g, b;
};

struct EdgeStep {
  double x = 0;
  float r = 0, g = 0, b = 0;
};

EdgeStep StepBetween(const FillCorner& from, const FillCorner& to) {
  const double rows = to.y - from.y;
  if (!(rows > 0)) return EdgeStep{};
  return EdgeStep{static_cast<double>((static_cast<long double>(to.x) - from.x) / rows),
                  static_cast<float>((static_cast<long double>(to.r) - from.r) / rows),
                  static_cast<float>((static_cast<long double>(to.g) - from.g) / rows),
                  static_cast<float>((static_cast<long double>(to.b) - from.b) / rows)};
}

void Advance(EdgePoint& p, const EdgeStep& d) {
  p.x = static_cast<double>(static_cast<long double>(p.x) + d.x);
  p.r = static_cast<float>(static_cast<long double>(p.r) + d.r);
  p.g = static_cast<float>(static_cast<long double>(p.g) + d.g);
  p.b = static_cast<float>(static_cast<long double>(p.b) + d.b);
  p.y += 1;
}

EdgePoint At(const FillCorner& c) {
  return EdgePoint{c.x, c.y, c.r, c.g, c.b};
}

int WrapOnce(int v) {
  if (v < 0) return v + kPreviewSize;
  if (v >= kPreviewSize) return v - kPreviewSize;
  return v;
}

class Filler {
 public:
  Filler(Bitmap& bitmap, const DisplaySettings& settings) : bmp_(bitmap), settings_(settings) {}

  void Span(const EdgePoint& s, const EdgePoint& e) {
    const double columns = e.x - s.x;
    float dr = 0, dg = 0, db = 0;
    if (columns > 0) {
      dr = static_cast<float>((static_cast<long double>(e.r) - s.r) / columns);
      dg = static_cast<float>((static_cast<long double>(e.g) - s.g) / columns);
      db = static_cast<float>((static_cast<long double>(e.b) - s.b) / columns);
    }
    float r = s.r, g = s.g, b = s.b;
    const int row = WrapOnce(static_cast<int>(std::trunc(s.y)));
    for (double x = s.x; x < e.x; x += 1) {
      Plot(WrapOnce(static_cast<int>(std::trunc(x))), row, r, g, b);
      r = static_cast<float>(static_cast<long double>(r) + dr);
      g = static_cast<float>(static_cast<long double>(g) + dg);
      b = static_cast<float>(static_cast<long double>(b) + db);
    }
  }

 private:
  void Plot(int x, int y, float r, float g, float b) {
    Rgb colour;
    PreviewColour(r, g, b, settings_, colour);
    bmp_.SetPixel(x, y, colour);
  }

  Bitmap& bmp_;
  const DisplaySettings& settings_;
};

}  // namespace

void FillTriangle(Bitmap& bitmap, const DisplaySettings& settings, FillCorner a, FillCorner b,
                  FillCorner c) {
  if (b.y < a.y) std::swap(a, b);
  if (c.y < a.y) std::swap(a, c);
  if (c.y < b.y) std::swap(b, c);
  const EdgeStep d1 = StepBetween(a, b), d2 = StepBetween(a, c), d3 = StepBetween(b, c);
  const bool abOnTheRight = (b.y > a.y) ? d1.x > d2.x : b.x > a.x;

  Filler filler(bitmap, settings);
  EdgePoint s = At(a), e = At(a);
  if (abOnTheRight) {
    while (s.y <= b.y) {
      filler.Span(s, e);
      Advance(s, d2);
      Advance(e, d1);
    }
    e = At(b);
    while (s.y <= c.y) {
      filler.Span(s, e);
      Advance(s, d2);
      Advance(e, d3);
    }
  } else {
    while (s.y <= b.y) {
      filler.Span(s, e);
      Advance(s, d1);
      Advance(e, d2);
    }
    s = At(b);
    while (s.y <= c.y) {
      filler.Span(s, e);
      Advance(s, d3);
      Advance(e, d2);
    }
  }
}

}  // namespace halvane
