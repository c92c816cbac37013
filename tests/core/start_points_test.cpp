#include <gtest/gtest.h>

#include <cmath>

#include "dome/start_points.h"
#include "support/dome_fixture.h"
#include "support/session_fixture.h"

namespace halvane {
namespace {

class StartPoints : public testing::SessionTest {
 protected:
  void Generate(int resolution) {
    controls.SpinPointIteration.value = resolution;
    ButtonCalculateStartpointsClick(s, controls, host);
  }
};

TEST_F(StartPoints, NothingWithoutAnImage) {
  Generate(4);
  EXPECT_EQ(s.dome.pointCount, 0u);
  EXPECT_TRUE(controls.ListBox1.items.empty());
}

TEST_F(StartPoints, GeodesicGridOfBothResolutions) {
  UseUniformImage(100, 50, 0.5f);
  Generate(3);
  EXPECT_EQ(s.dome.pointCount, 162u);
  EXPECT_EQ(s.dome.subdivLevel, 3);
  EXPECT_EQ(s.dome.pointIntensity, 8.0 / 162);

  Generate(4);
  ASSERT_EQ(s.dome.pointCount, 642u);
  EXPECT_EQ(s.dome.subdivLevel, 4);
  EXPECT_NEAR(s.dome.pointIntensity, 0.0124611, 1e-7);
  EXPECT_EQ(s.dome.points[1].x, 0.0);
  EXPECT_NEAR(s.dome.points[1].y, 0.8506508, 1e-7);
  EXPECT_NEAR(s.dome.points[1].z, 0.5257311, 1e-7);
  EXPECT_EQ(s.dome.points[13].y, 1.0);  // the midpoint of points 1 and 2 is the zenith
  EXPECT_EQ(s.dome.points[13].py, 0);
  EXPECT_EQ(s.dome.points[643].x, 0.0);  // entries past the count stay zero

  int fives = 0;
  for (uint32_t i = 1; i <= s.dome.pointCount; ++i) {
    const DomePoint& p = s.dome.points[i];
    EXPECT_NEAR(p.x * p.x + p.y * p.y + p.z * p.z, 1.0, 1e-15);
    const int n = testing::NeighbourCount(p);
    ASSERT_TRUE(n == 5 || n == 6) << i;
    fives += n == 5;
    for (std::size_t k = 1; k <= 6; ++k) {
      const int32_t j = p.nb[k];
      if (j == 0) continue;
      ASSERT_NE(j, static_cast<int32_t>(i));
      ASSERT_TRUE(testing::ListsNeighbour(s.dome.points[static_cast<std::size_t>(j)], i))
          << i << " " << j;
    }
    EXPECT_LT(p.px, 100);
    EXPECT_LT(p.py, 50);
  }
  EXPECT_EQ(fives, 12);
}

TEST_F(StartPoints, RepeatedGenerationIsIdentical) {
  UseUniformImage(300, 150, 0.5f);
  Generate(4);
  std::vector<DomePoint> first(s.dome.points.begin(), s.dome.points.begin() + 643);
  Generate(4);
  for (uint32_t i = 1; i <= 642; ++i) {
    ASSERT_EQ(s.dome.points[i].x, first[i].x);
    ASSERT_EQ(s.dome.points[i].px, first[i].px);
    for (std::size_t k = 1; k <= 6; ++k) ASSERT_EQ(s.dome.points[i].nb[k], first[i].nb[k]);
  }
}

TEST_F(StartPoints, StateLogStatusAndMarks) {
  UseUniformImage(100, 50, 0.5f);
  s.results.count = 3;
  Generate(4);
  EXPECT_EQ(s.workflowState, 1);  // a fresh load stays at 1
  EXPECT_EQ(s.results.count, 0);
  EXPECT_EQ(controls.ListBox1.items.back(), "12:34:56:  642 points calculated.");
  EXPECT_EQ(controls.StatusBar1.panels[0], "642 points calculated.");
  EXPECT_EQ(controls.StatusBar1.panels[1], "");
  EXPECT_TRUE(controls.LabelSt[2].bold);
  EXPECT_TRUE(controls.CheckDisplayPoints.checked);  // points exist now
  EXPECT_TRUE(controls.ButtonApplyColor.enabled);
  s.workflowState = 3;
  Generate(3);
  EXPECT_EQ(s.workflowState, 2);  // colours must be applied again
}

TEST(DirectionToPixel, LatitudeLongitudeMapping) {
  int u = 0, v = 0;
  DirectionToPixel(1, 0, 0, 1000, 500, u, v);
  EXPECT_EQ(u, 750);
  EXPECT_EQ(v, 250);
  DirectionToPixel(-1, 0, 0, 1000, 500, u, v);
  EXPECT_EQ(u, 250);
  DirectionToPixel(0, 0, 1, 1000, 500, u, v);
  EXPECT_EQ(u, 500);
  DirectionToPixel(0, 0, -1, 1000, 500, u, v);
  EXPECT_EQ(u, 0);
  DirectionToPixel(0, 1, 0, 1000, 500, u, v);
  EXPECT_EQ(v, 0);
  DirectionToPixel(0, -1, 0, 1000, 500, u, v);
  EXPECT_EQ(v, 499);  // the nadir is clamped to the last row
  DirectionToPixel(0, -0.5, -std::sqrt(0.75), 1000, 500, u, v);
  EXPECT_EQ(v, 333);  // 30 degrees below the horizon: 250 + 250 / 3
}

}  // namespace
}  // namespace halvane
