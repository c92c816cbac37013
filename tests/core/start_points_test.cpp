#include <gtest/gtest.h>

#include <cmath>

#include "dome/start_points.h"
#include "support/dome_fixture.h"

namespace halvane {
namespace {

using testing::MakeGrid;

TEST(GeodesicGrid, RefinedIcosahedron) {
  auto dome = std::make_unique<Dome>();
  MakeGrid(*dome, 4, 100, 50);
  ASSERT_TRUE(dome->pointCount == 642u && dome->subdivLevel == 4);
  EXPECT_EQ(dome->points[1].x, 0.0);
  EXPECT_NEAR(dome->points[1].y, 0.8506508, 1e-7);
  EXPECT_NEAR(dome->points[1].z, 0.5257311, 1e-7);
  EXPECT_TRUE(dome->points[13].y == 1.0 && dome->points[13].py == 0);  // 1 and 2's midpoint
  for (uint32_t i = 1; i <= dome->pointCount; ++i) {
    const DomePoint& p = dome->points[i];
    ASSERT_NEAR(p.x * p.x + p.y * p.y + p.z * p.z, 1.0, 1e-15) << i;
    ASSERT_TRUE(p.px < 100 && p.py < 50) << i;
  }

  MakeGrid(*dome, 3, 100, 50);  // over the finer grid: nothing of it remains
  EXPECT_TRUE(dome->pointCount == 162u && dome->subdivLevel == 3);
  EXPECT_EQ(dome->points[163].x, 0.0);
}

TEST(GeodesicGrid, DirectionToLatitudeLongitudePixel) {
  const auto pixel = [](double x, double y, double z) {
    int u = -1, v = -1;
    DirectionToPixel(x, y, z, 1000, 500, u, v);
    return std::pair{u, v};
  };
  EXPECT_EQ(pixel(1, 0, 0), std::pair(750, 250));
  EXPECT_EQ(pixel(-1, 0, 0), std::pair(250, 250));
  EXPECT_EQ(pixel(0, 0, 1), std::pair(500, 250));
  EXPECT_EQ(pixel(0, 0, -1), std::pair(0, 250));
  EXPECT_EQ(pixel(0, 1, 0).second, 0);
  EXPECT_EQ(pixel(0, -1, 0).second, 499);                   // the nadir is clamped to the last row
  EXPECT_EQ(pixel(0, -0.5, -std::sqrt(0.75)).second, 333);  // 30 degrees below: 250 + 250 / 3
}

}  // namespace
}  // namespace halvane
