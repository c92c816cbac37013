#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <map>
#include <set>

#include "dome/start_points.h"
#include "support/session_fixture.h"

namespace halvane::testing {

// A session with helpers to build dome point sets, for the sampling steps.
class DomeTest : public SessionTest {
 protected:
  void GeneratePoints(int resolution) {
    controls.SpinPointIteration.value = resolution;
    ButtonCalculateStartpointsClick(s, controls, host);
  }

  // Every pixel of a width x height image gets the colour (r, g, b).
  void UseColourImage(int width, int height, float r, float g, float b) {
    UseUniformImage(width, height, 0.0f);
    for (std::size_t at = 0; at + 2 < s.image.pixels.size(); at += 3) {
      s.image.pixels[at] = b;
      s.image.pixels[at + 1] = g;
      s.image.pixels[at + 2] = r;
    }
  }

  // A picture whose brightness grows to the right and towards the zenith, so
  // that every neighbourhood has its own luminance.
  void UseGradientImage(int width, int height) {
    UseImage(width, height, [=](int x, int y) {
      return 0.1f + static_cast<float>(x) / width + 2.0f * static_cast<float>(height - y) / height;
    });
  }

  // Makes point i of a hand-built set, at pixel (px, py), with neighbours.
  void PlacePoint(uint32_t i, uint16_t px, uint16_t py, std::initializer_list<int32_t> nbs) {
    DomePoint& p = s.dome.points[i];
    p.px = px;
    p.py = py;
    std::size_t slot = 1;
    for (int32_t n : nbs) p.nb[slot++] = n;
    if (i > s.dome.pointCount) s.dome.pointCount = i;
  }
};

inline std::size_t Index(int32_t i) {
  return static_cast<std::size_t>(i);
}

inline int NeighbourCount(const DomePoint& p) {
  int n = 0;
  for (std::size_t k = 1; k <= kNeighbourSlots; ++k) n += p.nb[k] != 0;
  return n;
}

inline bool ListsNeighbour(const DomePoint& p, uint32_t j) {
  for (std::size_t k = 1; k <= kNeighbourSlots; ++k)
    if (p.nb[k] == static_cast<int32_t>(j)) return true;
  return false;
}

inline double Distance(const DomePoint& a, const DomePoint& b) {
  return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y) +
                   (a.z - b.z) * (a.z - b.z));
}

using Direction = std::array<double, 3>;
inline Direction DirectionOf(const DomePoint& p) {
  return {p.x, p.y, p.z};
}

// Each point's direction with the directions of its neighbours: what the grid
// looks like independently of the point order.
using GridShape = std::map<Direction, std::set<Direction>>;
inline GridShape ShapeOf(const Session& s) {
  GridShape shape;
  for (uint32_t i = 1; i <= s.dome.pointCount; ++i) {
    std::set<Direction>& nbs = shape[DirectionOf(s.dome.points[i])];
    for (std::size_t k = 1; k <= kNeighbourSlots; ++k)
      if (s.dome.points[i].nb[k] != 0)
        nbs.insert(DirectionOf(s.dome.points[Index(s.dome.points[i].nb[k])]));
  }
  return shape;
}

// The points are in ascending order of lumSum61 and their neighbour lists
// describe `shape` with the current indices: symmetric, no point listing
// itself, every neighbour closer than `threshold`.
inline void ExpectSortedGrid(const Session& s, const GridShape& shape, double threshold) {
  for (uint32_t i = 2; i <= s.dome.pointCount; ++i)
    ASSERT_LE(s.dome.points[i - 1].lumSum61, s.dome.points[i].lumSum61) << "at index " << i;
  for (uint32_t i = 1; i <= s.dome.pointCount; ++i) {
    const DomePoint& p = s.dome.points[i];
    for (std::size_t k = 1; k <= kNeighbourSlots; ++k) {
      const int32_t n = p.nb[k];
      if (n == 0) continue;
      ASSERT_NE(n, static_cast<int32_t>(i));
      ASSERT_LE(static_cast<uint32_t>(n), s.dome.pointCount);
      ASSERT_TRUE(ListsNeighbour(s.dome.points[Index(n)], i)) << i << " -> " << n;
      ASSERT_LT(Distance(p, s.dome.points[Index(n)]), threshold) << i << " -> " << n;
    }
  }
  EXPECT_EQ(ShapeOf(s), shape);
}

}  // namespace halvane::testing
