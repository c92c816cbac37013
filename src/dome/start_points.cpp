#include "dome/start_points.h"

#include <cmath>
#include <string>

namespace halvane {
namespace {

constexpr long double kPi = 3.141592653589793238462643383279502884L;

struct BaseVertex {
  int x, y, z;  // -1, 0, 1 for the coordinate, 2 and -2 for plus and minus phi
  int32_t nb[5];
};

// The twelve vertices of the icosahedron and their neighbours, each list
// walking once around its vertex.
constexpr BaseVertex kIcosahedron[12] = {
    {0, 2, 1, {2, 7, 10, 9, 5}},    {0, 2, -1, {12, 7, 1, 5, 11}},  {0, -2, 1, {6, 9, 10, 8, 4}},
    {0, -2, -1, {3, 8, 12, 11, 6}}, {2, 1, 0, {1, 9, 6, 11, 2}},    {2, -1, 0, {11, 5, 9, 3, 4}},
    {-2, 1, 0, {1, 2, 12, 8, 10}},  {-2, -1, 0, {3, 10, 7, 12, 4}}, {1, 0, 2, {1, 10, 3, 6, 5}},
    {-1, 0, 2, {1, 7, 8, 3, 9}},    {1, 0, -2, {2, 5, 6, 4, 12}},   {-1, 0, -2, {2, 11, 4, 8, 7}},
};

double Coordinate(int code, float phi) {
  switch (code) {
    case 2:
      return phi;
    case -2:
      return -static_cast<double>(phi);
    default:
      return code;
  }
}

void Normalise(DomePoint& p) {
  const long double x = p.x, y = p.y, z = p.z;
  const long double length = std::sqrt(x * x + z * z + y * y);
  p.x = static_cast<double>(x / length);
  p.y = static_cast<double>(y / length);
  p.z = static_cast<double>(z / length);
}

// Neighbour distance thresholds by point count; other counts link nothing.
long double NeighbourThreshold(uint32_t pointCount) {
  switch (pointCount) {
    case 12:
      return 1.2L;
    case 42:
      return 0.62L;
    case 162:
      return 0.33L;
    case 642:
      return 0.17L;
    case 2562:
      return 0.09L;
    case 10242:
      return 0.05L;
    default:
      return 0.0L;
  }
}

void PutNeighbour(DomePoint& p, int32_t n) {
  for (std::size_t slot = 1; slot <= kNeighbourSlots; ++slot)
    if (p.nb[slot] == 0) {
      p.nb[slot] = n;
      return;
    }
  p.nb[kNeighbourSlots] = n;
}

long double Distance(const DomePoint& a, const DomePoint& b) {
  const long double dx = static_cast<long double>(a.x) - b.x;
  const long double dy = static_cast<long double>(a.y) - b.y;
  const long double dz = static_cast<long double>(a.z) - b.z;
  return std::sqrt(dx * dx + dy * dy + dz * dz);
}

void AppendBaseVertices(Dome& dome) {
  const float phi = static_cast<float>((std::sqrt(5.0L) + 1.0L) / 2.0L);
  for (const BaseVertex& v : kIcosahedron) {
    DomePoint& p = dome.points[++dome.pointCount];
    p.x = Coordinate(v.x, phi);
    p.y = Coordinate(v.y, phi);
    p.z = Coordinate(v.z, phi);
    for (std::size_t slot = 1; slot <= 5; ++slot) p.nb[slot] = v.nb[slot - 1];
  }
}

}  // namespace

std::string PointsText(uint32_t count) {
  return std::to_string(count) + " points.";
}

double PointIntensity(uint32_t pointCount) {
  return static_cast<double>(8.0L / pointCount);
}

void DirectionToPixel(double x, double y, double z, int width, int height, int& column, int& row) {
  const long double w = width, h = height;
  long double u;
  if (z == 0) {
    u = std::nearbyint(x > 0 ? 0.75L * w : (x < 0 ? 0.25L * w : 0.5L * w));
  } else {
    u = std::nearbyint(std::atan2(-static_cast<long double>(x), -static_cast<long double>(z)) /
                       kPi * w / 2.0L);
  }
  if (u < 0) u += w;

  const long double rho =
      std::sqrt(static_cast<long double>(x) * x + static_cast<long double>(z) * z);
  long double v;
  if (rho == 0) {
    v = y > 0 ? 0 : h;
  } else {
    v = std::nearbyint(-std::atan2(static_cast<long double>(y), rho) / (kPi / 2.0L) * h / 2.0L +
                       h / 2.0L);
  }
  if (v < 0) v = -v;
  if (v > h - 1) v = h - 1;
  if (u > w - 1) u = w - 1;
  column = static_cast<int>(u);
  row = static_cast<int>(v);
}

void AnalysePositions(Dome& dome, int width, int height) {
  for (uint32_t i = 1; i <= dome.pointCount; ++i) {
    DomePoint& p = dome.points[i];
    int u = 0, v = 0;
    DirectionToPixel(p.x, p.y, p.z, width, height, u, v);
    p.px = static_cast<uint16_t>(u < 0 ? 0 : u);
    p.py = static_cast<uint16_t>(v < 0 ? 0 : v);
  }
}

void RebuildNeighbours(Dome& dome, const Progress& progress) {
  const uint32_t n = dome.pointCount;
  for (uint32_t i = 1; i <= n; ++i)
    for (std::size_t slot = 1; slot <= kNeighbourSlots; ++slot) dome.points[i].nb[slot] = 0;
  const long double threshold = NeighbourThreshold(n);
  if (threshold == 0.0L) return;
  for (uint32_t i = 1; i + 1 <= n; ++i) {
    if (i % 500 == 0) progress.Report(PointsText(n) + " Analyse position... " + std::to_string(i));
    DomePoint& pi = dome.points[i];
    for (uint32_t j = i + 1; j <= n; ++j) {
      DomePoint& pj = dome.points[j];
      if (Distance(pi, pj) < threshold) {
        PutNeighbour(pi, static_cast<int32_t>(j));
        PutNeighbour(pj, static_cast<int32_t>(i));
      }
    }
  }
}

void Subdivide(Dome& dome, const Progress& progress) {
  const uint32_t n = dome.pointCount;
  for (uint32_t i = 1; i <= n; ++i) {
    for (std::size_t slot = 1; slot <= kNeighbourSlots; ++slot) {
      const int32_t m = dome.points[i].nb[slot];
      if (m == 0 || m <= static_cast<int32_t>(i)) continue;
      const DomePoint& a = dome.points[i];
      const DomePoint& b = dome.points[static_cast<std::size_t>(m)];
      DomePoint& p = dome.points[dome.pointCount + 1];
      ++dome.pointCount;
      if (dome.pointCount % 500 == 0) progress.Report(PointsText(dome.pointCount));
      p.x = static_cast<double>((static_cast<long double>(a.x) + b.x) / 2.0L);
      p.y = static_cast<double>((static_cast<long double>(a.y) + b.y) / 2.0L);
      p.z = static_cast<double>((static_cast<long double>(a.z) + b.z) / 2.0L);
      Normalise(p);
    }
  }
  RebuildNeighbours(dome, progress);
  dome.subdivLevel += 1;
}

void StartIcosahedron(Dome& dome) {
  for (DomePoint& p : dome.points) p = DomePoint{};
  dome.pointCount = 0;
  AppendBaseVertices(dome);
  dome.subdivLevel = 1;
  for (uint32_t i = 1; i <= dome.pointCount; ++i) Normalise(dome.points[i]);
}

}  // namespace halvane
