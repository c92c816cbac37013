#include <gtest/gtest.h>

#include <cmath>

#include "dome/start_points.h"
#include "support/dome_fixture.h"
#include "workflow/place_points.h"

namespace halvane {
namespace {

using testing::MakeDome;
using testing::MakeGrid;

TEST(GeodesicGrid, RefinedIcosahedron) {
  auto dome = MakeDome();
  MakeGrid(*dome, 3, 100, 50);
  EXPECT_EQ(dome->pointCount, 162u);
  EXPECT_EQ(dome->subdivLevel, 3);
  testing::ExpectValidNeighbours(*dome, 0.33);

  MakeGrid(*dome, 4, 100, 50);  // over the coarser grid: nothing of it may remain
  ASSERT_EQ(dome->pointCount, 642u);
  EXPECT_EQ(dome->subdivLevel, 4);
  testing::ExpectValidNeighbours(*dome, 0.17);
  EXPECT_EQ(dome->points[1].x, 0.0);
  EXPECT_NEAR(dome->points[1].y, 0.8506508, 1e-7);
  EXPECT_NEAR(dome->points[1].z, 0.5257311, 1e-7);
  EXPECT_EQ(dome->points[13].y, 1.0);  // the midpoint of points 1 and 2 is the zenith
  EXPECT_EQ(dome->points[13].py, 0);
  EXPECT_EQ(dome->points[643].x, 0.0);  // entries past the count stay zero
  for (uint32_t i = 1; i <= dome->pointCount; ++i) {
    const DomePoint& p = dome->points[i];
    ASSERT_NEAR(p.x * p.x + p.y * p.y + p.z * p.z, 1.0, 1e-15) << i;
    ASSERT_LT(p.px, 100) << i;
    ASSERT_LT(p.py, 50) << i;
  }

  auto fresh = MakeDome();
  MakeGrid(*fresh, 4, 100, 50);
  for (uint32_t i = 1; i <= 642; ++i) {
    ASSERT_EQ(dome->points[i].x, fresh->points[i].x) << i;
    ASSERT_EQ(dome->points[i].px, fresh->points[i].px) << i;
    for (std::size_t k = 1; k <= kNeighbourSlots; ++k)
      ASSERT_EQ(dome->points[i].nb[k], fresh->points[i].nb[k]) << i;
  }
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

class PlacePointsStep : public testing::DomeTest {};

TEST_F(PlacePointsStep, ShowsLevelsAndCountsAsTheGridGrows) {
  EXPECT_EQ(PlacePoints(s, controls, host).status, StepStatus::kNotRun);  // no image
  EXPECT_EQ(s.dome.pointCount, 0u);
  EXPECT_TRUE(controls.ListBox1.items.empty());

  UseUniformImage(100, 50, 0.5f);
  s.results.count = 3;
  std::vector<std::string> shown;
  host.onEvents = [&] {
    shown.push_back(controls.StatusBar1.panels[1] + " | " + controls.StatusBar1.panels[2]);
  };
  GeneratePoints(4);
  EXPECT_EQ(shown, (std::vector<std::string>{
                       "Level 2 | 42 points.", "Level 3 | 162 points.", "Level 4 | 500 points.",
                       "Level 4 | 642 points. Analyse position... 500", "Level 4 | 642 points."}));
  EXPECT_EQ(s.dome.pointCount, 642u);
  EXPECT_EQ(s.dome.pointIntensity, 8.0 / 642);
  EXPECT_EQ(s.workflowState, 1);  // a fresh load stays at 1
  EXPECT_EQ(s.results.count, 0);
  EXPECT_EQ(controls.ListBox1.items.back(), "12:34:56:  642 points calculated.");
  EXPECT_EQ(controls.StatusBar1.panels[0], "642 points calculated.");
  EXPECT_EQ(controls.StatusBar1.panels[1], "");
  EXPECT_TRUE(controls.LabelSt[2].bold);
  EXPECT_TRUE(controls.CheckDisplayPoints.checked);  // points exist now
  EXPECT_TRUE(controls.ButtonApplyColor.enabled);

  s.workflowState = 3;
  GeneratePoints(3);
  EXPECT_EQ(s.workflowState, 2);  // colours must be applied again
}

}  // namespace
}  // namespace halvane
