#include <gtest/gtest.h>

#include "preview/mouse_readout.h"
#include "support/session_fixture.h"

namespace halvane {
namespace {

class MouseReadout : public testing::SessionTest {
 protected:
  // An image whose blue, green and red channels read b, g, r everywhere.
  void UseColourImage(int width, int height, float b, float g, float r) {
    UseUniformImage(width, height, 0.0f);
    for (std::size_t i = 0; i + 2 < s.image.pixels.size(); i += 3) {
      s.image.pixels[i] = b;
      s.image.pixels[i + 1] = g;
      s.image.pixels[i + 2] = r;
    }
    s.sampling.blackPoint = 0.0f;
    s.sampling.whitePoint = 1.0f;
  }

  uint32_t AddPoint(int px, int py, float r, float g, float b, float lum, int32_t maxLevel) {
    const uint32_t i = ++s.dome.pointCount;
    DomePoint& p = s.dome.points[i];
    p.px = static_cast<uint16_t>(px);
    p.py = static_cast<uint16_t>(py);
    p.lightR = r;
    p.lightG = g;
    p.lightB = b;
    p.lightLum = lum;
    p.maxLevel = maxLevel;
    return i;
  }

  void Move(int x, int y) { Image1MouseMove(s, controls, host, x, y); }

  std::vector<std::string> Labels() const {
    return {controls.LabelcordX.caption, controls.LabelcordY.caption, controls.LabelcordR.caption,
            controls.LabelcordG.caption, controls.LabelcordB.caption, controls.LabelcordLum.caption,
            controls.Labelmaxopt.caption};
  }
};

TEST_F(MouseReadout, ShowsTheNearestImagePosition) {
  UseUniformImage(1000, 500, 0.0f);
  Move(250, 100);
  EXPECT_EQ(controls.LabelcordX.caption, "X: 500");
  EXPECT_EQ(controls.LabelcordY.caption, "Y: 100");
  UseUniformImage(300, 300, 0.0f);
  Move(1, 1);
  EXPECT_EQ(controls.LabelcordX.caption, "X: 1");  // round(0.6)
}

TEST_F(MouseReadout, BeforeColoursShowsNormalisedAndRawPixel) {
  UseColourImage(100, 100, 2.5f, 0.01499999f, 1234.5f);
  Move(250, 250);
  EXPECT_EQ(controls.LabelcordB.caption, "B:  2.50 ( 2.50)");
  // Fixed to 0.0150 first, then to the even hundredth.
  EXPECT_EQ(controls.LabelcordG.caption, "G:  0.02 ( 0.02)");
  EXPECT_EQ(controls.LabelcordR.caption, "R: 1,234.50 (1,234.50)");
  EXPECT_EQ(controls.LabelcordLum.caption, "Lum: ");
  EXPECT_EQ(controls.Labelmaxopt.caption, "MaxOpt:");
  s.sampling.blackPoint = 0.5f;
  s.sampling.whitePoint = 2.5f;
  host.numberFormat = NumberFormat{',', "."};
  Move(250, 250);
  EXPECT_EQ(controls.LabelcordB.caption, "B:  1,00 ( 2,50)");
  EXPECT_EQ(controls.LabelcordR.caption, "R: 617,00 (1.234,50)");
}

TEST_F(MouseReadout, AfterColoursShowsTheFirstPointInTheBox) {
  UseColourImage(4000, 2000, 2.5f, 0.5f, 0.25f);
  s.workflowState = 3;
  Move(250, 250);  // image (2000, 1000); box 32 columns and 16 rows each side
  EXPECT_EQ(controls.LabelcordB.caption, "B:  0.00 ( 2.50)");
  EXPECT_EQ(controls.LabelcordLum.caption, "Lum:  0.00");
  EXPECT_EQ(controls.Labelmaxopt.caption, "MaxOpt:     0");

  AddPoint(2033, 1000, 9, 9, 9, 9, 9);
  AddPoint(2000, 1017, 8, 8, 8, 8, 8);
  AddPoint(2032, 984, 1.5f, 2.25f, 3.125f, 12345.678f, 4);
  AddPoint(1968, 1016, 7, 7, 7, 7, 7);
  Move(250, 250);
  EXPECT_EQ(controls.LabelcordR.caption, "R:  1.50 ( 0.25)");
  EXPECT_EQ(controls.LabelcordG.caption, "G:  2.25 ( 0.50)");
  EXPECT_EQ(controls.LabelcordB.caption, "B:  3.12 ( 2.50)");  // 3.125 goes to the even hundredth
  EXPECT_EQ(controls.LabelcordLum.caption, "Lum: 12,345.68");
  EXPECT_EQ(controls.Labelmaxopt.caption, "MaxOpt:     4");
}

TEST_F(MouseReadout, LeavesLabelsAloneOutsideThePreviewOrOnLowImages) {
  UseUniformImage(1000, 500, 1.0f);
  const auto start = Labels();
  for (auto [x, y] : {std::pair{0, 250}, {500, 250}, {250, 0}, {250, 500}, {-5, 900}}) Move(x, y);
  EXPECT_EQ(Labels(), start);

  UseUniformImage(100, 29, 1.0f);
  Move(250, 250);
  EXPECT_EQ(controls.LabelcordX.caption, "X: 50");
  EXPECT_EQ(controls.LabelcordY.caption, "Y: 14");
  EXPECT_EQ(controls.LabelcordB.caption, "B:");
}

TEST_F(MouseReadout, WithoutALoadedImageShowsOnlyThePosition) {
  // A failed load leaves a 500 x 500 size with an empty pixel array.
  s.image.width = s.image.height = 500;
  s.image.pixels.clear();
  for (uint8_t state : {0, 3}) {
    s.workflowState = state;
    Move(250, 250);
    EXPECT_EQ(controls.LabelcordX.caption, "X: 250");
    EXPECT_EQ(controls.LabelcordB.caption, "B:");
    EXPECT_EQ(controls.Labelmaxopt.caption, "MaxOpt:");
  }
  // A missing image is not read even when an old pixel array is still there.
  s.image.pixels.assign(500 * 500 * 3, 1.0f);
  Move(250, 250);
  EXPECT_EQ(controls.LabelcordB.caption, "B:");
  // Even with the flag clear, a pixel array that is too short is not read.
  s.imageMissing = false;
  s.image.pixels.assign(3, 1.0f);
  Move(250, 250);
  EXPECT_EQ(controls.LabelcordB.caption, "B:");
}

TEST_F(MouseReadout, APositionRoundedOntoTheBorderReadsTheEdgePixel) {
  UseImage(200, 100, [](int x, int y) { return x == 199 && y == 99 ? 7.0f : 1.0f; });
  s.sampling.blackPoint = 0.0f;
  s.sampling.whitePoint = 1.0f;
  Move(499, 499);
  EXPECT_EQ(controls.LabelcordX.caption, "X: 200");
  EXPECT_EQ(controls.LabelcordY.caption, "Y: 100");
  EXPECT_EQ(controls.LabelcordB.caption, "B:  7.00 ( 7.00)");
}

}  // namespace
}  // namespace halvane
