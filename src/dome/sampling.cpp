#include "dome/sampling.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace halvane {
namespace {

// a + b evaluated in extended precision and stored as double.
double Sum(double a, long double b) {
  return static_cast<double>(a + b);
}

struct Corner {
  double x, y;
};

// Round to nearest with ties to even, as std::nearbyint in the default
// rounding mode, for |x| < 2^51: adding and removing 1.5 * 2^52 leaves no
// fraction bits.
double RoundToEven(double x) {
  constexpr double kMagic = 6755399441055744.0;  // 1.5 * 2^52
  volatile double shifted = x + kMagic;          // keeps the two steps apart
  return shifted - kMagic;
}

class TriangleRaster {
 public:
  static constexpr int kRowsAhead = 3;

  TriangleRaster(const Image& image, const SamplingSettings& sampling)
      : image_(image),
        black_(sampling.blackPoint),
        range_(static_cast<long double>(sampling.whitePoint) - sampling.blackPoint),
        unitRange_(sampling.blackPoint == 0.0f && sampling.whitePoint == 1.0f) {}

  // The pixels at the rounded positions x, x + 1, ... while below e.x, on the
  // rounded row of s; rows and columns wrap once around the image.
  void Span(const Corner& s, const Corner& e) {
    if (!(s.x < e.x)) return;
    const int w = image_.width, h = image_.height;
    int row = static_cast<int>(std::nearbyint(s.y));
    if (row < 0) row += h;
    if (row >= h) row -= h;
    if (row < 0 || row >= h || !image_.HoldsAllPixels())
      throw IndexError(static_cast<std::size_t>(row < 0 ? 0 : row), static_cast<std::size_t>(h));
    const float* rowPixels = image_.pixels.data() + 3 * static_cast<std::size_t>(row) * w;
    PrefetchNextRow(row, s.x, e.x);
    for (double x = s.x; x < e.x; x = x + 1) {
      int column = static_cast<int>(RoundToEven(x));
      if (column < 0) column += w;
      if (column >= w) column -= w;
      if (column < 0 || column >= w)
        throw IndexError(static_cast<std::size_t>(column < 0 ? 0 : column),
                         static_cast<std::size_t>(w));
      Add(rowPixels + 3 * static_cast<std::size_t>(column));
    }
  }

  TriangleSums sums;

 private:
  // Triangles are walked row by row, and rows lie far apart in memory: asking
  // for the next row's stretch early hides most of the wait for it.
  void PrefetchNextRow(int row, double from, double to) const {
    const int w = image_.width;
    const int next = row + kRowsAhead < image_.height ? row + kRowsAhead : row;
    const int first = std::clamp(static_cast<int>(from) - 2, 0, w - 1);
    const int last = std::clamp(static_cast<int>(to) + 2, 0, w - 1);
    const char* begin = reinterpret_cast<const char*>(
        image_.pixels.data() + 3 * (static_cast<std::size_t>(next) * w + first));
    const char* end = reinterpret_cast<const char*>(
        image_.pixels.data() + 3 * (static_cast<std::size_t>(next) * w + last));
    for (const char* line = begin; line <= end; line += 64) __builtin_prefetch(line);
  }

  void Add(const float* p) {
    ++sums.pixels;
    sums.r = Sum(sums.r, Normalised(p[2]));
    sums.g = Sum(sums.g, Normalised(p[1]));
    sums.b = Sum(sums.b, Normalised(p[0]));
  }

  // (v - black) / (white - black); with black 0 and white 1 that is v itself.
  double Normalised(float v) const {
    if (unitRange_) return v;
    return static_cast<double>((static_cast<long double>(v) - black_) / range_);
  }

  const Image& image_;
  long double black_;
  long double range_;
  bool unitRange_;
};

double InverseSlope(const Corner& from, const Corner& to) {
  if (!(to.y - from.y > 0)) return 0.0;
  return static_cast<double>((static_cast<long double>(to.x) - from.x) /
                             (static_cast<long double>(to.y) - from.y));
}

Corner ShrinkTowards(const Corner& p, const Corner& a) {
  return Corner{p.x + std::nearbyint((a.x - p.x) / 2), p.y + std::nearbyint((a.y - p.y) / 2)};
}

// Moves a column by a whole image width so that it lies on the same side of
// the seam as the reference column.
void FollowSeam(double reference, double& column, double width) {
  if (reference - column >= width / 2) {
    column += width;
  } else if (reference - column < -width / 2) {
    column -= width;
  }
}

}  // namespace

TriangleSums RasterTriangle(const Image& image, const SamplingSettings& sampling, double px,
                            double py, double ax, double ay, double cx, double cy) {
  const Corner p{px, py};
  Corner v1 = p, v2 = ShrinkTowards(p, Corner{ax, ay}), v3 = ShrinkTowards(p, Corner{cx, cy});
  if (v1.y > v2.y || (v1.y == v2.y && v1.x > v2.x)) std::swap(v1, v2);
  if (v1.y > v3.y) std::swap(v1, v3);
  if (v2.y > v3.y || (v2.y == v3.y && v2.x < v3.x)) std::swap(v2, v3);

  const double k12 = InverseSlope(v1, v2), k13 = InverseSlope(v1, v3), k23 = InverseSlope(v2, v3);
  TriangleRaster raster(image, sampling);
  Corner start = v1, end = v1;
  const auto walk = [&](double limit, double startStep, double endStep) {
    while (start.y <= limit) {
      raster.Span(start, end);
      start.x = Sum(start.x, startStep);
      end.x = Sum(end.x, endStep);
      start.y += 1;
      end.y += 1;
    }
  };
  if ((v2.y - v1.y > 0 && k12 > k13) || v2.x - v1.x > 0) {
    walk(v2.y, k13, k12);
    end = v2;
    walk(v3.y, k13, k23);
  } else {
    walk(v2.y, k12, k13);
    start = v2;
    walk(v3.y, k23, k13);
  }
  return raster.sums;
}

SampledColor SamplePoint(const Image& image, const Dome& dome, uint32_t i,
                         const SamplingSettings& sampling) {
  const int w = image.width, h = image.height;
  const auto limited = [&](const DomePoint& p, double& column, double& row) {
    column = p.px > w - 1 ? w - 1 : p.px;
    row = p.py > h - 1 ? h - 1 : p.py;
  };
  const DomePoint& point = dome.points[i];
  double col0, row0;
  limited(point, col0, row0);

  double sumR = 0, sumG = 0, sumB = 0;
  uint32_t triangles = 0;
  for (std::size_t j = 1; j <= kNeighbourSlots; ++j) {
    const int32_t a = point.nb[j];
    if (a == 0) continue;
    const DomePoint& pa = dome.points[static_cast<std::size_t>(a)];
    for (std::size_t k = 1; k <= kNeighbourSlots; ++k) {
      const int32_t c = pa.nb[k];
      if (c == 0 || c <= a) continue;
      for (std::size_t l = 1; l <= kNeighbourSlots; ++l) {
        if (l == j || point.nb[l] != c) continue;
        double col1, row1, col2, row2;
        limited(pa, col1, row1);
        limited(dome.points[static_cast<std::size_t>(c)], col2, row2);
        FollowSeam(col0, col1, w);
        FollowSeam(col0, col2, w);
        if (col1 - col2 > w / 2.0) {
          col1 -= w;
        } else if (col1 - col2 < -w / 2.0) {
          col2 -= w;
        }
        const TriangleSums t = RasterTriangle(image, sampling, col0, row0, col1, row1, col2, row2);
        if (t.pixels > 0) {
          sumR = Sum(sumR, static_cast<long double>(t.r) / t.pixels);
          sumG = Sum(sumG, static_cast<long double>(t.g) / t.pixels);
          sumB = Sum(sumB, static_cast<long double>(t.b) / t.pixels);
        }
        ++triangles;
      }
    }
  }
  if (triangles == 0) return SampledColor{};
  const auto mean = [&](double sum) {
    return static_cast<float>(static_cast<long double>(sum) / triangles);
  };
  return SampledColor{mean(sumR), mean(sumG), mean(sumB)};
}

}  // namespace halvane
