#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <set>

#include "dome/start_points.h"
#include "support/session_fixture.h"

namespace halvane::testing {

// The grid of `levels` levels looking at a width x height picture.
inline void MakeGrid(Dome& dome, int levels, int width, int height) {
  StartIcosahedron(dome);
  for (int level = 1; level < levels; ++level) Subdivide(dome, Progress{});
  AnalysePositions(dome, width, height);
}

// Makes point i of a hand-built set, at pixel (px, py), with neighbours.
inline void PlacePoint(Dome& dome, uint32_t i, uint16_t px, uint16_t py,
                       std::initializer_list<int32_t> nbs) {
  DomePoint& p = dome.points[i];
  p.px = px;
  p.py = py;
  std::size_t slot = 1;
  for (int32_t n : nbs) p.nb[slot++] = n;
  dome.pointCount = std::max(dome.pointCount, i);
}

inline int NeighbourCount(const DomePoint& p) {
  return static_cast<int>(
      std::count_if(p.nb.begin() + 1, p.nb.end(), [](int32_t n) { return n != 0; }));
}

using Direction = std::array<double, 3>;
inline Direction DirectionOf(const DomePoint& p) {
  return {p.x, p.y, p.z};
}

// Each point's direction with the directions of its neighbours: what the grid
// looks like independently of the point order.
using GridShape = std::map<Direction, std::set<Direction>>;
inline GridShape ShapeOf(const Dome& dome) {
  GridShape shape;
  for (uint32_t i = 1; i <= dome.pointCount; ++i) {
    std::set<Direction>& nbs = shape[DirectionOf(dome.points[i])];
    for (std::size_t k = 1; k <= kNeighbourSlots; ++k)
      if (dome.points[i].nb[k] != 0)
        nbs.insert(DirectionOf(dome.points[static_cast<std::size_t>(dome.points[i].nb[k])]));
  }
  return shape;
}

}  // namespace halvane::testing
