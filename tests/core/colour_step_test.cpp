#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <memory>
#include <stdexcept>
#include <tuple>
#include <utility>
#include <vector>

#include "base/luminance.h"
#include "dome/point_colours.h"
#include "dome/sampling.h"
#include "support/dome_fixture.h"
#include "workflow/apply_colour.h"
#include "workflow/place_points.h"

namespace halvane {
namespace {

using testing::MakeImage;
using testing::PlacePoint;

constexpr auto& Uniform = testing::UniformImage;

class PointColours : public ::testing::Test {
 protected:
  void ColourGrid(const Image& image) {
    testing::MakeGrid(*dome, 4, image.width, image.height);
    ColourPoints(*dome, image, sampling, Progress{});
  }

  std::unique_ptr<Dome> dome = std::make_unique<Dome>();
  SamplingSettings sampling{0.0f, 1.0f, 99.0f};
};

TEST_F(PointColours, ConstantImageGivesItsNormalisedValueToEveryPoint) {
  for (float v : {0.0f, 0.25f, 3.5f}) {
    ColourGrid(Uniform(800, 400, v, v, v));
    for (uint32_t i = 1; i <= dome->pointCount; ++i) {
      const DomePoint& p = dome->points[i];
      ASSERT_TRUE(p.r == v && p.g == v && p.b == v && p.lum == v && p.used) << i << " on " << v;
      ASSERT_TRUE(p.lightR == v && p.lightG == v && p.lightB == v && p.lightLum == v) << i;
    }
  }
  sampling = {1.0f, 3.0f, 99.0f};
  ColourGrid(Uniform(400, 200, 2, 2, 2));
  EXPECT_EQ(dome->points[642].b, 0.5f);
  ColourGrid(Uniform(400, 200, 0, 0, 0));  // below the black point
  EXPECT_EQ(dome->points[1].g, -0.5f);
  sampling.whitePoint = 1.0f;
  EXPECT_THROW(ColourGrid(Uniform(4, 2, 0, 0, 0)), std::invalid_argument);
}

TEST_F(PointColours, BrightColoursAreScaledDownToTheClampLuminance) {
  // Each channel times the clamp over the luminance, in one extended
  // expression: single precision steps would round differently here.
  const float r = 3.7f, g = 1.13f, b = 3.3f;
  sampling.clampLum = 1.7f;
  ColourGrid(Uniform(400, 200, r, g, b));
  const float lum = Luminance(r, g, b);
  const long double clamp = sampling.clampLum;
  const auto scaled = [&](float c) { return static_cast<float>(c * clamp / lum); };
  const DomePoint& p = dome->points[642];  // every point alike on a uniform picture
  EXPECT_TRUE(p.r == scaled(r) && p.g == scaled(g) && p.b == scaled(b));
  EXPECT_TRUE(p.lum == Luminance(p.r, p.g, p.b) && p.lightLum == p.lum);

  // lum = 0.3 * 195 + 0.59 * 50 + 0.11 * 100 = 99: at the limit, not above it
  sampling.clampLum = 99.0f;
  ColourGrid(Uniform(400, 200, 195, 50, 100));
  EXPECT_TRUE(dome->points[1].r == 195.0f && dome->points[1].lum == 99.0f);
}

TEST_F(PointColours, TriangleVisitsRowByRowWithHalfColumnsRoundedToEven) {
  // p = (10, 2); a and c shrink halfway to (15, 7) and (7, 8). Spans start
  // and end on half columns, so some columns are taken twice and some not.
  const std::vector<std::pair<int, int>> visits = {
      {10, 3}, {10, 3}, {9, 4},  {10, 4}, {11, 4}, {8, 5},  {10, 5}, {10, 5},
      {12, 5}, {12, 5}, {8, 6},  {9, 6},  {10, 6}, {11, 6}, {12, 6}, {13, 6},
      {8, 7},  {8, 7},  {10, 7}, {10, 7}, {12, 7}, {12, 7}, {14, 7}, {14, 7},
      {7, 8},  {8, 8},  {9, 8},  {10, 8}, {11, 8}, {12, 8}, {13, 8}, {14, 8}};
  // Values of very different sizes: the sums depend on the order of the visits.
  const auto value = [](int x, int y, int k) {
    return std::ldexp(1.0f + 0.1f * static_cast<float>(k), (x * 7 + y * 13 + k * 5) % 41 - 20);
  };
  const Image image = MakeImage(24, 16, value);
  double r = 0, g = 0, b = 0;
  for (const auto& [x, y] : visits) {
    r = static_cast<double>(r + static_cast<long double>(value(x, y, 2)));
    g = static_cast<double>(g + static_cast<long double>(value(x, y, 1)));
    b = static_cast<double>(b + static_cast<long double>(value(x, y, 0)));
  }
  const TriangleSums sums = RasterTriangle(image, sampling, 10, 2, 20, 12, 4, 14);
  EXPECT_EQ(sums.pixels, visits.size());
  EXPECT_TRUE(sums.r == r && sums.g == g && sums.b == b);
}

TEST_F(PointColours, TrianglesWithoutPixelsStillCountInTheMean) {
  // Point 1 at (20, 10): triangle (1, 2, 3) covers pixels of 0.8, (1, 4, 5)
  // shrinks to nothing: its far corners one pixel away shrink by Round(0.5)
  // = 0. Point 6 has no triangle at all.
  const Image image = Uniform(40, 20, 0.8f, 0.8f, 0.8f);
  PlacePoint(*dome, 1, 20, 10, {2, 3, 4, 0, 0, 5});  // every slot counts
  PlacePoint(*dome, 2, 30, 10, {1, 3});
  PlacePoint(*dome, 3, 25, 18, {1, 2});
  PlacePoint(*dome, 4, 21, 10, {1, 5});
  PlacePoint(*dome, 5, 20, 11, {1, 4});
  PlacePoint(*dome, 6, 5, 5, {});
  EXPECT_EQ(SamplePoint(image, *dome, 1, sampling).b, 0.4f);
  EXPECT_EQ(SamplePoint(image, *dome, 2, sampling).g, 0.8f);
  EXPECT_EQ(SamplePoint(image, *dome, 6, sampling).r, 0.0f);
}

TEST_F(PointColours, FarEdgeAcrossTheSeamIsTakenTheShortWay) {
  // Near a pole: point 1 in the middle column, its two neighbours just left
  // and right of the seam. Their edge crosses the seam, so corner 2 moves a
  // width to the left and the triangle lies left of point 1; it must not be
  // stretched across the picture from column 5 to 95.
  const Image image = MakeImage(100, 50, [](int x, int, int) { return x < 50 ? 1.0f : 0.0f; });
  PlacePoint(*dome, 1, 50, 0, {2, 3});
  PlacePoint(*dome, 2, 95, 8, {1, 3});
  PlacePoint(*dome, 3, 5, 8, {1, 2});
  const auto mean = [](const TriangleSums& t) { return static_cast<float>(t.r / t.pixels); };
  const float shortWay = mean(RasterTriangle(image, sampling, 50, 0, -5, 8, 5, 8));
  ASSERT_NE(shortWay, mean(RasterTriangle(image, sampling, 50, 0, 95, 8, 5, 8)));
  EXPECT_EQ(SamplePoint(image, *dome, 1, sampling).r, shortWay);
}

class ApplyColourStep : public testing::SessionTest {};

TEST_F(ApplyColourStep, PlacesThePointsColoursSortsAndShowsTheOutcome) {
  EXPECT_EQ(ApplyColour(s, controls, host).status, StepStatus::kNotRun);  // no image
  // Brighter to the right and towards the zenith: every neighbourhood differs.
  UseImage(MakeImage(400, 200, [](int x, int y, int) {
    return 0.1f + static_cast<float>(x) / 400 + 2.0f * static_cast<float>(200 - y) / 200;
  }));
  // Each direction's colour, sampled in the order the grid is made in (a
  // point's colour depends on the order its triangles' corners are listed in).
  auto grid = std::make_unique<Dome>();
  testing::MakeGrid(*grid, 4, 400, 200);
  std::map<testing::Direction, SampledColor> sampled;
  for (uint32_t i = 1; i <= grid->pointCount; ++i)
    sampled[testing::DirectionOf(grid->points[i])] =
        SamplePoint(s.image, *grid, i, SamplingSettings{0.0f, 1.0f, 99.0f});
  s.results.count = 7;
  MarkStepDone(controls, 5);
  host.numberFormat = NumberFormat{',', "."};  // fields always take "."
  std::vector<std::string> shown;              // status panels 1 and 2 whenever the events run
  host.onEvents = [&] {
    shown.push_back(controls.StatusBar1.panels[1] + " | " + controls.StatusBar1.panels[2]);
  };

  EXPECT_TRUE(ApplyColour(s, controls, host).done());
  EXPECT_EQ(shown,
            (std::vector<std::string>{
                "Level 2 | 42 points.", "Level 3 | 162 points.", "Level 4 | 500 points.",
                "Level 4 | 642 points. Analyse position... 500", "Level 4 | 642 points.",
                " | 00500/642 points", " | 00500/642 points | Lum. and Color analyse... 500 ",
                " | 642 points. Analyse position... 500"}));
  for (uint32_t i = 2; i <= s.dome.pointCount; ++i)
    ASSERT_LE(s.dome.points[i - 1].lumSum61, s.dome.points[i].lumSum61) << i;
  EXPECT_LT(s.dome.points[1].lumSum61, s.dome.points[642].lumSum61);  // the picture is not flat
  EXPECT_EQ(testing::ShapeOf(s.dome), testing::ShapeOf(*grid));       // neighbours follow the sort
  for (uint32_t i = 1; i <= s.dome.pointCount; ++i) {
    const DomePoint& p = s.dome.points[i];  // the whole record moved with its direction
    const SampledColor& c = sampled.at(testing::DirectionOf(p));
    ASSERT_TRUE(p.r == c.r && p.g == c.g && p.b == c.b) << i;
  }
  EXPECT_EQ(s.dome.pointIntensity, 8.0 / 642);
  EXPECT_EQ(std::tuple(s.statistics.usedPointCount, s.workflowState, s.results.count),
            std::tuple(642, 3, 0));
  EXPECT_EQ(controls.ListBox1.items,
            (std::vector<std::string>{"12:34:56:  642 points calculated.",
                                      "12:34:56:  Color copied from image to points"}));
  EXPECT_EQ(controls.StatusBar1.panels,
            (std::array<std::string, 3>{"Color copy applied.", "", ""}));
  EXPECT_TRUE(controls.ButtonOptimize.enabled && controls.CheckDisplayFill.checked);
  EXPECT_TRUE(controls.EditLumTolerance.text[2] == '.' && controls.EditOptThreshold.text[2] == '.');

  controls.SpinPointIteration.value = 3;
  PlacePoints(s, controls, host);
  EXPECT_EQ(s.workflowState, 2);  // new points need their colours again
}

}  // namespace
}  // namespace halvane
