#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "rig/rig_error.h"
#include "support/session_fixture.h"
#include "workflow/apply_colour.h"
#include "workflow/rig_error_display.h"
#include "workflow/sampled_image.h"

namespace halvane {
namespace {

constexpr double kPi = std::numbers::pi;

// Environments with a closed-form irradiance E(n), and how close the
// 256 x 128 pixel sums must come to it.
struct ClosedForm {
  const char* name;
  float (*value)(int x, int y);
  double (*irradiance)(const Direction& n);
  double tolerance;
};

const ClosedForm kClosedForms[] = {
    {"uniform white", [](int, int) { return 1.0f; }, [](const Direction&) { return kPi; }, 1e-3},
    {"upper half lit", [](int, int y) { return y < 64 ? 1.0f : 0.0f; },
     [](const Direction& n) { return kPi * (1 + n.y) / 2; }, 1e-2},
};

TEST(RigError, EnvironmentIrradianceMatchesClosedForms) {
  for (const ClosedForm& form : kClosedForms) {
    const Image image =
        testing::MakeImage(256, 128, [&](int x, int y, int) { return form.value(x, y); });
    const EnvironmentIrradiance env = MeasureEnvironment(image, 0.0f, 1.0f);
    ASSERT_EQ(env.normals.size(), static_cast<std::size_t>(kErrorNormalCount));
    for (std::size_t i = 0; i < env.normals.size(); ++i)
      for (double channel : env.irradiance[i])
        ASSERT_NEAR(channel, form.irradiance(env.normals[i]), form.tolerance * kPi)
            << form.name << " normal " << i;
  }
}

// One bright pixel is one directional source: a light in its direction
// reproduces it exactly at the right scale, whatever its intensity, until
// the root's clamp and hide threshold change the intensity it gives.
TEST(RigError, SingleBrightPixelAgainstOneLight) {
  constexpr int kWidth = 64, kHeight = 32, kColumn = 10, kRow = 7;
  constexpr float kValue = 5.0f;
  const Image image = testing::MakeImage(
      kWidth, kHeight, [](int x, int y, int) { return x == kColumn && y == kRow ? kValue : 0.0f; });
  const EnvironmentIrradiance env = MeasureEnvironment(image, 0.0f, 1.0f);
  const double omega =
      2 * kPi / kWidth *
      (std::sin(kPi / 2 - kPi * kRow / kHeight) - std::sin(kPi / 2 - kPi * (kRow + 1) / kHeight));
  const Direction d = DirectionOfImagePosition(kColumn + 0.5, kRow + 0.5, kWidth, kHeight);

  Rig rig;
  rig.lights.push_back(RigLight{});
  RigLight& light = rig.lights[0];
  light.normR = light.normG = light.normB = 1.0f;
  light.grey = 1.0;
  light.dirX = d.x, light.dirY = d.y, light.dirZ = d.z;
  struct Case {
    double intensity, givenIntensity;
  };
  for (const Case c : {Case{0.5, 0.5}, Case{3.0, 2.0}}) {
    light.intensity = c.intensity;
    const RigError error = MeasureRigError(rig, env);
    EXPECT_LT(error.relativeRms, 1e-9) << c.intensity;
    EXPECT_NEAR(error.scale, kValue * omega / (c.givenIntensity * kIntensityToEnergy), 1e-9);
  }
  light.intensity = 0.01;  // not above the hide threshold: no light at all
  const RigError hidden = MeasureRigError(rig, env);
  EXPECT_EQ(hidden.scale, 0.0);
  EXPECT_EQ(hidden.relativeRms, 1.0);
}

class RigErrorStep : public testing::SessionTest {};

// The dome of a uniform environment reproduces it within its sampling
// ripple at scale 1: the rig holds the energy the image holds (bright enough
// for the hide threshold: 8 / 642 per point).
TEST_F(RigErrorStep, UniformEnvironmentThroughTheColourStep) {
  UseUniformImage(256, 128, 1.0f);
  EXPECT_FALSE(ChosenRigError(s, controls));
  ASSERT_TRUE(ApplyColour(s, controls, host).done());
  const auto line = ShowRigError(s, controls, host);
  ASSERT_TRUE(line);
  const RigError error = *ChosenRigError(s, controls);
  EXPECT_LT(error.relativeRms, 0.01);
  EXPECT_NEAR(error.scale, 1.0, 0.02);
  EXPECT_EQ(*line, "Rig error: " + FormatFixed(error.relativeRms * 100, 2, {}) + " % (scale " +
                       FormatFixed(error.scale, 2, {}) + ", powered image values)");
  EXPECT_EQ(controls.LabelRigError.caption, "Rig error: " + RigErrorText(error, {}));
}

// "Linear light" samples the readers' values raised back to 2.2, only for
// the files whose reader powered them.
TEST_F(RigErrorStep, LinearLightUndoesTheReadersPower) {
  UseUniformImage(256, 128, 0.5f);
  controls.CheckLinearLight.checked = true;
  for (const char* name : {"a.hdr", "a.exr", "a.tga"}) {
    s.imageFileName = name;
    const bool powered = ReaderAppliesPower(name);
    const float expected = powered ? static_cast<float>(std::pow(0.5L, 2.2L)) : 0.5f;
    EXPECT_EQ(PrepareSampledImage(s, controls).pixels[0], expected) << name;
  }
  s.imageFileName = "a.hdr";
  ASSERT_TRUE(ApplyColour(s, controls, host).done());
  float brightest = 0.0f;  // a point whose triangles all cover pixels
  for (uint32_t i = 1; i <= s.dome.pointCount; ++i)
    brightest = std::max(brightest, s.dome.points[i].r);
  EXPECT_EQ(brightest, static_cast<float>(std::pow(0.5L, 2.2L)));
  EXPECT_NE(ShowRigError(s, controls, host)->find("linear radiance"), std::string::npos);
}

}  // namespace
}  // namespace halvane
