#include <gtest/gtest.h>

#include <memory>
#include <tuple>

#include "preview/pointer_readout.h"
#include "support/session_fixture.h"
#include "workflow/readout.h"

namespace halvane {
namespace {

using testing::UniformImage;

class PointerReadoutTest : public ::testing::Test {
 protected:
  PointerReadout Read(const Image& image, ReadoutValues values, int x, int y) const {
    return ReadPointer(image, dome, sampling, values, x, y, format);
  }
  void AddPoint(int px, int py, float r, float g, float b, float lum, int32_t maxLevel) {
    DomePoint& p = dome.points[++dome.pointCount];
    std::tie(p.px, p.py, p.maxLevel) = std::tuple(px, py, maxLevel);
    std::tie(p.lightR, p.lightG, p.lightB, p.lightLum) = std::tuple(r, g, b, lum);
  }

  std::unique_ptr<Dome> domeHolder = std::make_unique<Dome>();
  Dome& dome = *domeHolder;
  SamplingSettings sampling{0.0f, 1.0f, 0.0f};
  NumberFormat format{'.', ","};
};

TEST_F(PointerReadoutTest, ImageValuesAreNormalisedBesideTheRawPixel) {
  Image image = UniformImage(100, 100, 1234.5f, 0.01499999f, 2.5f);
  PointerReadout r = Read(image, ReadoutValues::Image, 250, 250);
  EXPECT_EQ(r.b, "B:  2.50 ( 2.50)");
  EXPECT_EQ(r.g, "G:  0.02 ( 0.02)");  // fixed to 0.0150 first, then to the even hundredth
  EXPECT_EQ(r.r, "R: 1,234.50 (1,234.50)");
  EXPECT_TRUE(r.lum == "Lum: " && !r.maxOpt.has_value());
  image.pixels[image.ChannelIndex(99, 99, 0)] = 7.0f;  // read where the position rounds to 100
  EXPECT_EQ(Read(image, ReadoutValues::Image, 499, 499).b, "B:  7.00 ( 7.00)");
  sampling = {0.5f, 2.5f, 0.0f};
  format = NumberFormat{',', "."};
  r = Read(image, ReadoutValues::Image, 250, 250);
  EXPECT_EQ(r.b, "B:  1,00 ( 2,50)");
  EXPECT_EQ(r.r, "R: 617,00 (1.234,50)");
}

TEST_F(PointerReadoutTest, LightValuesComeFromTheFirstPointInTheBox) {
  const Image image = UniformImage(4000, 2000, 0.25f, 0.5f, 2.5f);
  PointerReadout r = Read(image, ReadoutValues::Light, 250, 250);
  EXPECT_EQ(r.b, "B:  0.00 ( 2.50)");  // no point near (2000, 1000)
  EXPECT_EQ(r.lum, "Lum:  0.00");
  EXPECT_EQ(r.maxOpt, "MaxOpt:     0");

  // The box reaches 32 columns and 16 rows each side.
  AddPoint(2033, 1000, 9, 9, 9, 9, 9);
  AddPoint(2000, 1017, 8, 8, 8, 8, 8);
  AddPoint(2032, 984, 1.5f, 2.25f, 3.125f, 12345.678f, 4);
  AddPoint(1968, 1016, 7, 7, 7, 7, 7);
  r = Read(image, ReadoutValues::Light, 250, 250);
  EXPECT_EQ(r.r, "R:  1.50 ( 0.25)");
  EXPECT_EQ(r.g, "G:  2.25 ( 0.50)");
  EXPECT_EQ(r.b, "B:  3.12 ( 2.50)");  // 3.125 goes to the even hundredth
  EXPECT_EQ(r.lum, "Lum: 12,345.68");
  EXPECT_EQ(r.maxOpt, "MaxOpt:     4");
}

TEST_F(PointerReadoutTest, ShowsTheNearestImagePositionAndReadsOnlyWhatThereIs) {
  const Image image = UniformImage(1000, 500, 1, 1, 1);
  EXPECT_EQ(Read(image, ReadoutValues::Image, 250, 100).x, "X: 500");
  EXPECT_EQ(Read(image, ReadoutValues::Image, 250, 100).y, "Y: 100");
  EXPECT_EQ(Read(UniformImage(300, 300, 0, 0, 0), ReadoutValues::Image, 1, 1).x, "X: 1");  // 0.6
  for (auto [x, y] : {std::pair{0, 250}, {500, 250}, {250, 0}, {250, 500}, {-5, 900}})
    EXPECT_FALSE(Read(image, ReadoutValues::Image, x, y).x.has_value());

  const PointerReadout low = Read(UniformImage(100, 29, 1, 1, 1), ReadoutValues::Light, 250, 250);
  EXPECT_TRUE(low.y == "Y: 14" && !low.b.has_value());
  // After a failed load the size does not match the pixel array.
  const Image failed{500, 500, std::vector<float>(3, 1.0f)};
  const PointerReadout broken = Read(failed, ReadoutValues::Light, 250, 250);
  EXPECT_TRUE(broken.x == "X: 250" && !broken.b.has_value());
  EXPECT_FALSE(Read(image, ReadoutValues::None, 250, 250).b.has_value());
}

// The window's readout picks the values by the session's state.
class ReadoutStep : public testing::SessionTest {};

TEST_F(ReadoutStep, ShowsImageOrLightValuesByStateAndOnlyThePositionWithoutAnImage) {
  UseUniformImage(500, 500, 1.0f);
  s.sampling = {0.0f, 2.0f, 0.0f};
  ShowReadoutAt(s, controls, host, 250, 250);
  EXPECT_EQ(controls.LabelcordR.caption, "R:  0.50 ( 1.00)");
  EXPECT_EQ(controls.Labelmaxopt.caption, "MaxOpt:");  // left as it was
  s.workflowState = 3;
  ShowReadoutAt(s, controls, host, 250, 250);
  EXPECT_EQ(controls.LabelcordR.caption, "R:  0.00 ( 1.00)");
  EXPECT_EQ(controls.Labelmaxopt.caption, "MaxOpt:     0");

  s.imageMissing = true;  // an old pixel array is not read
  controls.LabelcordR.caption = "R:";
  ShowReadoutAt(s, controls, host, 100, 250);
  EXPECT_EQ(controls.LabelcordX.caption, "X: 100");
  EXPECT_EQ(controls.LabelcordR.caption, "R:");
}

}  // namespace
}  // namespace halvane
