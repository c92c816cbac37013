#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <vector>

#include "dome/colour_step.h"
#include "dome/sampling.h"
#include "support/dome_fixture.h"

namespace halvane {
namespace {

class ColourStep : public testing::DomeTest {
 protected:
  void Apply() { ButtonApplyColorClick(s, controls, host); }
};

TEST_F(ColourStep, ConstantImageGivesItsValueToEveryPoint) {
  for (float v : {0.0f, 1.0f, 0.25f, 3.5f}) {
    UseUniformImage(800, 400, v);  // large enough for every triangle to cover pixels
    Apply();
    ASSERT_EQ(s.dome.pointCount, 642u);
    for (uint32_t i = 1; i <= s.dome.pointCount; ++i) {
      const DomePoint& p = s.dome.points[i];
      ASSERT_EQ(p.r, v) << "point " << i << " on " << v;
      ASSERT_EQ(p.g, v) << "point " << i << " on " << v;
      ASSERT_EQ(p.b, v) << "point " << i << " on " << v;
      ASSERT_EQ(p.lum, v) << "point " << i << " on " << v;
    }
  }
}

TEST_F(ColourStep, BrightPointsAreClampedToTheClampLuminance) {
  // lum = 0.3 * 70 + 0.59 * 200 + 0.11 * 100 = 150
  UseColourImage(400, 200, 70, 200, 100);
  Apply();  // the field's default clamp is 99
  EXPECT_EQ(s.sampling.clampLum, 99.0f);
  for (uint32_t i = 1; i <= s.dome.pointCount; ++i) {
    const DomePoint& p = s.dome.points[i];
    ASSERT_EQ(p.r, static_cast<float>(70 * 99.0L / 150)) << i;
    ASSERT_EQ(p.g, 132.0f) << i;
    ASSERT_EQ(p.b, 66.0f) << i;
    ASSERT_FLOAT_EQ(p.lum, 99.0f) << i;
    ASSERT_EQ(p.lightLum, p.lum) << i;
  }

  controls.EditClampwhite.text = "12.50";
  Apply();
  EXPECT_EQ(s.dome.points[1].g, static_cast<float>(200 * 12.5L / 150));
  EXPECT_FLOAT_EQ(s.dome.points[1].lum, 12.5f);

  // lum = 0.3 * 195 + 0.59 * 50 + 0.11 * 100 = 99: at the limit, not above it
  UseColourImage(400, 200, 195, 50, 100);
  controls.EditClampwhite.text = "99.  ";
  Apply();
  EXPECT_EQ(s.dome.points[1].r, 195.0f);
  EXPECT_EQ(s.dome.points[1].g, 50.0f);
  EXPECT_EQ(s.dome.points[1].b, 100.0f);
  EXPECT_EQ(s.dome.points[1].lum, 99.0f);
}

TEST_F(ColourStep, BlackAndWhitePointsNormaliseTheSamples) {
  controls.EditBlack.text = " 1.  ";
  controls.EditWhite.text = " 3.  ";
  UseUniformImage(400, 200, 2.0f);
  Apply();
  EXPECT_EQ(s.sampling.blackPoint, 1.0f);
  EXPECT_EQ(s.sampling.whitePoint, 3.0f);
  EXPECT_EQ(s.dome.points[1].r, 0.5f);
  EXPECT_EQ(s.dome.points[642].b, 0.5f);

  UseUniformImage(400, 200, 0.0f);  // below the black point
  Apply();
  EXPECT_EQ(s.dome.points[1].g, -0.5f);
  EXPECT_EQ(s.statistics.maxLum, -0.5f);
}

// A hand-built point 1 at pixel (20, 10) of a uniform 0.8 picture, with one
// triangle (1, 2, 3) that covers pixels and one (1, 4, 5) whose far corners
// are given by the caller.
class TriangleShare : public ColourStep {
 protected:
  void Build(uint16_t px4, uint16_t py4, uint16_t px5, uint16_t py5) {
    UseUniformImage(40, 20, 0.8f);
    s.sampling.blackPoint = 0.0f;
    s.sampling.whitePoint = 1.0f;
    PlacePoint(1, 20, 10, {2, 3, 4, 5});
    PlacePoint(2, 30, 10, {1, 3});
    PlacePoint(3, 25, 18, {1, 2});
    PlacePoint(4, px4, py4, {1, 5});
    PlacePoint(5, px5, py5, {1, 4});
    PlacePoint(6, 5, 5, {});
  }
};

TEST_F(TriangleShare, TriangleWithoutPixelsStillCountsInTheMean) {
  Build(20, 10, 20, 10);  // (1, 4, 5) is a single pixel position: no span
  EXPECT_EQ(SamplePoint(s, 1).r, 0.4f);
  EXPECT_EQ(SamplePoint(s, 1).b, 0.4f);
  EXPECT_EQ(SamplePoint(s, 2).g, 0.8f);  // its one triangle (2, 1, 3) covers pixels
  const SampledColor lonely = SamplePoint(s, 6);
  EXPECT_EQ(lonely.r, 0.0f);  // no triangle at all
  EXPECT_EQ(lonely.g, 0.0f);
}

TEST_F(TriangleShare, HalfPixelShrinkRoundsToEven) {
  // Corners one pixel away shrink by Round(0.5) = 0 and meet at point 1, so
  // the triangle covers nothing.
  Build(21, 10, 20, 11);
  EXPECT_EQ(SamplePoint(s, 1).r, 0.4f);
}

TEST_F(ColourStep, PointsAtTheSeamSampleAcrossIt) {
  constexpr int kWidth = 400, kBand = 30;
  // Bright bands at both edges, black in between: a sample that crossed the
  // whole picture instead of the seam would pick up black.
  UseImage(kWidth, 200, [](int x, int) { return x < kBand || x >= kWidth - kBand ? 1.0f : 0.0f; });
  Apply();
  int seamPoints = 0;
  bool columnZero = false;
  for (uint32_t i = 1; i <= s.dome.pointCount; ++i) {
    const DomePoint& p = s.dome.points[i];
    if (std::abs(p.y) > 0.3 || (p.px >= 8 && p.px < kWidth - 8)) continue;
    ++seamPoints;
    columnZero |= p.px == 0;
    EXPECT_EQ(p.r, 1.0f) << "point at column " << p.px << ", row " << p.py;
  }
  EXPECT_TRUE(columnZero);
  EXPECT_GE(seamPoints, 5);
}

TEST_F(ColourStep, FarEdgeAcrossTheSeamIsTakenTheShortWay) {
  // Near a pole: point 1 in the middle column, its two neighbours just left
  // and right of the seam. Their edge crosses the seam, so corner 2 moves a
  // width to the left and the triangle lies left of point 1; it must not be
  // stretched across the picture from column 5 to 95.
  UseImage(100, 50, [](int x, int) { return x < 50 ? 1.0f : 0.0f; });
  s.sampling.blackPoint = 0.0f;
  s.sampling.whitePoint = 1.0f;
  PlacePoint(1, 50, 0, {2, 3});
  PlacePoint(2, 95, 8, {1, 3});
  PlacePoint(3, 5, 8, {1, 2});
  const auto mean = [](const TriangleSums& t) { return static_cast<float>(t.r / t.pixels); };
  const float shortWay = mean(RasterTriangle(s, 50, 0, -5, 8, 5, 8));
  ASSERT_NE(shortWay, mean(RasterTriangle(s, 50, 0, 95, 8, 5, 8)));
  EXPECT_EQ(SamplePoint(s, 1).r, shortWay);
}

TEST_F(ColourStep, PointsEndSortedWithValidNeighbours) {
  UseGradientImage(400, 200);
  GeneratePoints(4);
  const testing::GridShape shape = testing::ShapeOf(s);
  // Each direction's colour, sampled in the generated order (the step samples
  // before it sorts; the sampled colour depends on the order in which a
  // triangle's corners are listed, so it is not sampled again afterwards).
  s.sampling.blackPoint = 0.0f;
  s.sampling.whitePoint = 1.0f;
  std::map<testing::Direction, SampledColor> sampled;
  for (uint32_t i = 1; i <= s.dome.pointCount; ++i)
    sampled[testing::DirectionOf(s.dome.points[i])] = SamplePoint(s, i);

  Apply();
  ASSERT_EQ(s.dome.pointCount, 642u);
  testing::ExpectSortedGrid(s, shape, 0.17);
  EXPECT_LT(s.dome.points[1].lumSum61, s.dome.points[642].lumSum61);  // the picture is not flat

  int fives = 0;
  for (uint32_t i = 1; i <= s.dome.pointCount; ++i) {
    const DomePoint& p = s.dome.points[i];
    fives += testing::NeighbourCount(p) == 5;
    // The whole record moved: colour and pixel stay with the direction.
    const SampledColor& c = sampled.at(testing::DirectionOf(p));
    ASSERT_EQ(p.r, c.r) << i;
    ASSERT_EQ(p.g, c.g) << i;
    ASSERT_EQ(p.b, c.b) << i;
    int column = 0, row = 0;
    DirectionToPixel(p.x, p.y, p.z, 400, 200, column, row);
    ASSERT_EQ(p.px, column) << i;
    ASSERT_EQ(p.py, row) << i;
    ASSERT_TRUE(p.used) << i;
    ASSERT_EQ(p.lightR, p.r) << i;
    ASSERT_EQ(p.lightG, p.g) << i;
    ASSERT_EQ(p.lightB, p.b) << i;
    ASSERT_EQ(p.lightLum, p.lum) << i;
  }
  EXPECT_EQ(fives, 12);
  EXPECT_EQ(s.statistics.usedPointCount, 642);
}

TEST_F(ColourStep, StateLogStatusAndMarks) {
  UseGradientImage(400, 200);
  GeneratePoints(4);
  s.results.count = 7;
  controls.GridOptimized.SetRowCount(5);
  MarkStepDone(controls, 5);
  std::vector<std::string> progress;
  host.onEvents = [&] { progress.push_back(controls.StatusBar1.panels[2]); };
  Apply();

  EXPECT_EQ(s.workflowState, 3);
  EXPECT_EQ(s.results.count, 0);
  EXPECT_EQ(controls.GridOptimized.rowCount, 2);
  EXPECT_EQ(controls.ListBox1.items.back(), "12:34:56:  Color copied from image to points");
  EXPECT_EQ(controls.ListBox1.itemIndex, static_cast<int>(controls.ListBox1.items.size()) - 1);
  EXPECT_EQ(controls.StatusBar1.panels[0], "Color copy applied.");
  EXPECT_EQ(controls.StatusBar1.panels[1], "");
  EXPECT_EQ(controls.StatusBar1.panels[2], "");
  EXPECT_NE(std::find(progress.begin(), progress.end(), "00500/642 points"), progress.end());
  EXPECT_TRUE(controls.LabelSt[3].bold);
  EXPECT_EQ(controls.PanelSt[3].color, kPanelDoneColor);
  for (int later = 4; later <= 8; ++later) {
    EXPECT_FALSE(controls.LabelSt[later].bold) << later;
    EXPECT_EQ(controls.PanelSt[later].color, kPanelColor) << later;
  }
  EXPECT_TRUE(controls.ButtonApplyColor.enabled);
  EXPECT_TRUE(controls.ButtonOptimize.enabled);
  EXPECT_TRUE(controls.CheckDisplayFill.checked);
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(ColourStep, GeneratesThePointsWhenThereAreNone) {
  UseUniformImage(400, 200, 0.5f);
  controls.SpinPointIteration.value = 3;
  Apply();
  EXPECT_EQ(s.dome.pointCount, 162u);
  EXPECT_EQ(s.workflowState, 3);
  ASSERT_EQ(controls.ListBox1.items.size(), 2u);
  EXPECT_EQ(controls.ListBox1.items[0], "12:34:56:  162 points calculated.");
  EXPECT_EQ(controls.ListBox1.items[1], "12:34:56:  Color copied from image to points");
  EXPECT_EQ(s.dome.points[162].lum, 0.5f);
}

TEST_F(ColourStep, NothingWithoutAnImage) {
  Apply();
  EXPECT_EQ(s.workflowState, 0);
  EXPECT_EQ(s.dome.pointCount, 0u);
  EXPECT_TRUE(controls.ListBox1.items.empty());
  EXPECT_EQ(controls.StatusBar1.panels[0], "-");
  EXPECT_FALSE(controls.LabelSt[3].bold);
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(ColourStep, EqualBlackAndWhitePointsAreRefusedAndChangeNothing) {
  UseGradientImage(400, 200);
  Apply();
  s.results.count = 4;
  std::vector<DomePoint> before(s.dome.points.begin(), s.dome.points.begin() + 643);
  const std::vector<std::string> log = controls.ListBox1.items;
  const auto status = controls.StatusBar1.panels;

  controls.EditBlack.text = "01.  ";  // the same value written differently
  controls.EditWhite.text = " 1.00";
  Apply();
  EXPECT_EQ(host.messages, std::vector<std::string>{"Black point and white point must differ."});
  EXPECT_EQ(s.workflowState, 3);
  EXPECT_EQ(s.results.count, 4);
  EXPECT_EQ(controls.ListBox1.items, log);
  EXPECT_EQ(controls.StatusBar1.panels, status);
  EXPECT_TRUE(controls.ButtonApplyColor.enabled);  // not left busy
  EXPECT_EQ(s.sampling.whitePoint, 1.0f);
  EXPECT_EQ(s.sampling.blackPoint, 0.0f);
  for (uint32_t i = 1; i <= 642; ++i) {
    ASSERT_EQ(s.dome.points[i].x, before[i].x) << i;
    ASSERT_EQ(s.dome.points[i].r, before[i].r) << i;
    ASSERT_EQ(s.dome.points[i].lum, before[i].lum) << i;
    ASSERT_EQ(s.dome.points[i].lumSum61, before[i].lumSum61) << i;
  }

  // Without points the refusal generates none either.
  UseUniformImage(100, 50, 0.5f);
  s.dome.pointCount = 0;
  Apply();
  EXPECT_EQ(host.messages.size(), 2u);
  EXPECT_EQ(s.dome.pointCount, 0u);
  EXPECT_EQ(s.workflowState, 1);
  EXPECT_EQ(controls.ListBox1.items, log);
}

}  // namespace
}  // namespace halvane
