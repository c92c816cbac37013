#include <gtest/gtest.h>

#include <limits>

#include "preview/preview.h"
#include "support/test_host.h"
#include "workflow/workflow.h"

namespace halvane {
namespace {

constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kYellow{255, 255, 0};

class Preview : public ::testing::Test {
 protected:
  void SetUp() override { FormCreate(s, controls, host); }

  // A uniform image of `width` x `height` at value v, as a successful load leaves it.
  void UseImage(int width, int height, float v) {
    s.image.width = width;
    s.image.height = height;
    s.image.pixels.assign(static_cast<std::size_t>(width) * height * 3 + 3, v);
    s.imageMissing = false;
    s.workflowState = 1;
  }

  uint32_t AddPoint(int px, int py, bool used = true) {
    const uint32_t i = ++s.dome.pointCount;
    s.dome.points[i].px = static_cast<uint16_t>(px);
    s.dome.points[i].py = static_cast<uint16_t>(py);
    s.dome.points[i].used = used;
    return i;
  }

  static void Link(DomePoint& a, int32_t ib, DomePoint& b, int32_t ia) {
    for (std::size_t k = 1; k <= 6; ++k)
      if (a.nb[k] == 0) {
        a.nb[k] = ib;
        break;
      }
    for (std::size_t k = 1; k <= 6; ++k)
      if (b.nb[k] == 0) {
        b.nb[k] = ia;
        break;
      }
  }

  void Overlay(bool hideLines = false, bool collapseNumbers = false) {
    DrawOverlay(s, controls, host, hideLines, collapseNumbers, 1, s.dome.pointCount,
                s.results.results[1]);
  }

  std::unique_ptr<Session> session = MakeSession();
  Session& s = *session;
  ControlModel controls;
  testing::TestHost host;
};

TEST_F(Preview, RedrawsWithoutAUsableImageNeverReadPixels) {
  // Before any load: 10 x 10, no pixels.
  controls.CheckDisplaybackground.checked = true;
  UpdateViewback(s, controls, host);
  EXPECT_EQ(s.view.background.Pixel(250, 250), Rgb{});
  EXPECT_TRUE(controls.Image3.visible);
  EXPECT_EQ(controls.LabelMaxpoint.caption, "0 Pnts (0 used) ");
  // After a failed load: 500 x 500 with a pixel array that is too small.
  s.image.width = s.image.height = 500;
  s.image.pixels.assign(3, 1.0f);
  UpdateViewback(s, controls, host);
  EXPECT_EQ(s.view.background.Pixel(499, 499), Rgb{});
  // Even if the missing flag were clear, a short array is not read.
  s.imageMissing = false;
  UpdateViewback(s, controls, host);
  EXPECT_EQ(s.view.background.Pixel(499, 499), Rgb{});
}

// The picture is painted in bands of rows on several threads; what cannot be
// shown must still be logged in row order and the largest sample found.
TEST_F(Preview, UnconvertiblePixelsAreMagentaAndLoggedInRowOrder) {
  UseImage(500, 500, 0.5f);
  const float nan = std::numeric_limits<float>::quiet_NaN();
  s.image.pixels[s.image.ChannelIndex(7, 480, 1)] = nan;
  s.image.pixels[s.image.ChannelIndex(3, 10, 0)] = nan;
  s.image.pixels[s.image.ChannelIndex(250, 260, 2)] = 4.0f;
  float largest = 0.0f;
  PaintImageLayer(s, controls, &largest);
  EXPECT_EQ(largest, 4.0f);
  EXPECT_EQ(s.view.background.Pixel(3, 10), (Rgb{255, 0, 255}));
  EXPECT_EQ(s.view.background.Pixel(7, 480), (Rgb{255, 0, 255}));
  ASSERT_EQ(controls.ListBox1.items.size(), 2u);
  EXPECT_EQ(controls.ListBox1.items[0], " x:3  y:10  xs:3  ys:10");
  EXPECT_EQ(controls.ListBox1.items[1], " x:7  y:480  xs:7  ys:480");
}

TEST_F(Preview, LinesAcrossTheSeamLeaveAtBothEdges) {
  UseImage(500, 500, 0.0f);
  const uint32_t a = AddPoint(10, 100), b = AddPoint(490, 100);
  Link(s.dome.points[a], static_cast<int32_t>(b), s.dome.points[b], static_cast<int32_t>(a));
  controls.CheckDisplayLines.checked = true;
  controls.CheckDisplayPoints.checked = false;
  UpdateView(s, controls, host);
  int left = 0, middle = 0, right = 0;
  for (int x = 0; x < 500; ++x) {
    const bool red = s.view.preview.Pixel(x, 100) == kRed;
    (x < 10 ? left : x > 490 ? right : x > 10 && x < 490 ? middle : left) += red;
  }
  EXPECT_GT(left, 0);
  EXPECT_GT(right, 0);
  EXPECT_EQ(middle, 0);
}

TEST_F(Preview, IndicesOfTheDimmestAndBrightestFifth) {
  UseImage(500, 500, 0.5f);
  for (int i = 0; i < 100; ++i) AddPoint(20 + (i % 10) * 45, 20 + (i / 10) * 45);
  controls.CheckDisplayNr.checked = true;
  controls.CheckDisplaybackground.checked = true;
  controls.CheckDisplayPoints.checked = true;
  UpdateViewback(s, controls, host);
  const Rgb image = s.view.background.Pixel(0, 0);
  for (uint32_t i = 1; i <= 100; ++i) {
    const DomePoint& p = s.dome.points[i];
    const int cornerX = p.px + Bitmap::TextWidth(std::to_string(i)) - 1;
    const int cornerY = p.py + Bitmap::TextHeight() - 1;
    const Rgb corner = s.view.preview.Pixel(cornerX, cornerY);
    const bool written = i < 20 || i > 80;
    const Rgb background = i < 50 ? Rgb{0, 0, 0} : Rgb{100, 100, 100};
    EXPECT_EQ(corner, written ? background : image) << i;
  }
}

TEST_F(Preview, MarkersStayInsideThePicture) {
  UseImage(4000, 2000, 0.0f);
  AddPoint(3999, 1000);
  AddPoint(0, 0, false);
  controls.CheckDisplayPoints.checked = true;
  controls.CheckDisplay_unused.checked = true;
  UpdateView(s, controls, host);
  // Column 3999 maps to 499; the marker is clamped to 497 and covers 496..498.
  EXPECT_EQ(s.view.preview.Pixel(496, 250), kYellow);
  EXPECT_EQ(s.view.preview.Pixel(498, 250), kYellow);
  EXPECT_NE(s.view.preview.Pixel(499, 250), kYellow);
  EXPECT_EQ(s.view.preview.Pixel(1, 1), (Rgb{150, 0, 0}));
  EXPECT_EQ(s.statistics.usedPointCount, 1);
  EXPECT_EQ(controls.LabelMaxpoint.caption, "2 Pnts (1 used) ");
  controls.CheckDisplay_unused.checked = false;
  UpdateView(s, controls, host);
  EXPECT_EQ(s.view.preview.Pixel(1, 1), Rgb{});
}

TEST_F(Preview, CollapseLevelsReplaceIndices) {
  UseImage(500, 500, 0.0f);
  const uint32_t centre = AddPoint(100, 100);
  s.results.results[1].decision[centre] = 3;
  controls.CheckDisplayPoints.checked = true;
  ReadDisplayChecks(s, controls);
  DrawOverlay(s, controls, host, true, true, 1, 1, s.results.results[1]);
  // The digit "3" is drawn in yellow inside its cell at the point.
  bool yellowInk = false;
  for (int y = 100; y < 100 + Bitmap::TextHeight(); ++y)
    for (int x = 102; x < 100 + Bitmap::TextWidth("3"); ++x)
      yellowInk |= s.view.preview.Pixel(x, y) == kYellow;
  EXPECT_TRUE(yellowInk);
}

TEST_F(Preview, FillsAppearOnBlackAndFollowTheLightColour) {
  UseImage(500, 500, 5.0f);
  const uint32_t a = AddPoint(100, 100), b = AddPoint(200, 100), c = AddPoint(150, 200);
  Link(s.dome.points[a], 2, s.dome.points[b], 1);
  Link(s.dome.points[a], 3, s.dome.points[c], 1);
  Link(s.dome.points[b], 3, s.dome.points[c], 2);
  for (uint32_t i : {a, b, c}) s.dome.points[i].lightR = 1.0f;
  controls.CheckDisplaybackground.checked = false;
  controls.CheckDisplayFill.checked = true;
  controls.CheckDisplayPoints.checked = false;
  UpdateViewback(s, controls, host);
  EXPECT_EQ(s.view.preview.Pixel(150, 140), (Rgb{230, 0, 0}));
  EXPECT_EQ(s.view.preview.Pixel(20, 20), Rgb{});
  EXPECT_EQ(s.view.preview.Pixel(150, 230), Rgb{});
}

TEST_F(Preview, ViewRangeControlsKeepMinimumBelowMaximum) {
  UseImage(500, 500, 0.0f);
  controls.SpinViewMax.value = 3;
  controls.SpinViewMin.value = 5;
  SpinViewMinChange(s, controls, host);
  EXPECT_EQ(controls.SpinViewMax.value, 6);
  EXPECT_EQ(s.view.viewMax, 6.0f);

  controls.SpinViewMin.value = 0;
  controls.SpinViewMax.value = 0;
  SpinViewMaxChange(s, controls, host);
  EXPECT_EQ(controls.SpinViewMax.value, 1);

  controls.SpinViewMin.value = 10;
  controls.SpinViewMax.value = 50;
  SpinButton1UpClick(s, controls, host);
  EXPECT_EQ(controls.SpinViewMin.value, 10);
  SpinButton1DownClick(s, controls, host);
  EXPECT_EQ(controls.SpinViewMin.value, 9);
  EXPECT_EQ(controls.SpinViewMax.value, 49);
  EXPECT_EQ(s.view.viewMin, 9.0f);
  controls.SpinViewMin.value = 0;
  controls.SpinViewMax.value = 1;
  SpinButton1DownClick(s, controls, host);
  EXPECT_EQ(controls.SpinViewMin.value, 0);
}

}  // namespace
}  // namespace halvane
