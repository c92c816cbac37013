#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

#include "base/luminance.h"
#include "dome/sun_region.h"
#include "rig/rig_error.h"
#include "rig/rig_sun.h"
#include "rig/script_text.h"
#include "rig/shortest_number.h"
#include "support/rig_fixtures.h"
#include "support/session_fixture.h"
#include "workflow/apply_colour.h"
#include "workflow/chosen_rig.h"
#include "workflow/rig_error_display.h"
#include "workflow/sampled_image.h"

namespace halvane {
namespace {

constexpr double kPi = std::numbers::pi;
constexpr int kWidth = 128, kHeight = 64;
constexpr float kSky = 1.0f, kSunRed = 400.0f, kSunGreen = 300.0f, kSunBlue = 200.0f;
constexpr double kSunRow = 20.5, kSunRadius = 2.5;  // in pixels, centred on the seam

double PixelSolidAngle(int row) {
  return 2 * kPi / kWidth *
         (std::sin(kPi / 2 - kPi * row / kHeight) - std::sin(kPi / 2 - kPi * (row + 1) / kHeight));
}

bool InSunDisc(int x, int y) {
  const double dx = x + 0.5 < kWidth / 2.0 ? x + 0.5 : x + 0.5 - kWidth;  // across the seam
  const double dy = y + 0.5 - kSunRow;
  return dx * dx + dy * dy <= kSunRadius * kSunRadius;
}

// A dim grey sky with a small coloured sun on the longitude seam.
Image SunnySky() {
  return testing::MakeImage(kWidth, kHeight, [](int x, int y, int k) {
    if (!InSunDisc(x, y)) return kSky;
    return k == 0 ? kSunBlue : k == 1 ? kSunGreen : kSunRed;
  });
}

float MaxLuminance(const Image& image) {
  float most = 0.0f;
  for (std::size_t p = 0; p + 2 < image.pixels.size(); p += 3)
    most = std::max(most, Luminance(image.pixels[p + 2], image.pixels[p + 1], image.pixels[p]));
  return most;
}

// The disc is found whole across the seam, with its energy above the sky,
// its solid angle and centroid, and filled with the sky around it.
TEST(SunRegion, FindsTheDiscAcrossTheSeamAndFillsIt) {
  const Image sky = SunnySky();
  const float threshold = DefaultSunThreshold(sky);
  EXPECT_GT(threshold, 50 * kSky);
  const auto sun = FindSun(sky, threshold, 0.0f, 1.0f);
  ASSERT_TRUE(sun);
  double omega = 0, red = 0;
  std::size_t count = 0;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x)
      if (InSunDisc(x, y)) {
        ++count;
        omega += PixelSolidAngle(y);
        red += (kSunRed - kSky) * PixelSolidAngle(y);
      }
  EXPECT_EQ(sun->pixels.size(), count);
  EXPECT_NEAR(sun->solidAngle, omega, 1e-12);
  EXPECT_NEAR(sun->energy[0], red, 1e-9 * red);
  EXPECT_NEAR(sun->angle, 2 * std::acos(1 - omega / (2 * kPi)) * 180 / kPi, 1e-9);
  EXPECT_LT(std::min(sun->column, kWidth - sun->column), 1e-6);
  EXPECT_NEAR(sun->row, kSunRow, 0.1);  // the cosine weights pull it a little towards the equator

  const Image filled = FillSunRegion(sky, *sun);
  EXPECT_EQ(MaxLuminance(filled), kSky);
}

TEST(SunRegion, NoSunWithoutACompactRegionAboveTheThreshold) {
  const Image sky = SunnySky();
  EXPECT_FALSE(FindSun(sky, MaxLuminance(sky), 0.0f, 1.0f));  // not above: none
  const Image band = testing::MakeImage(
      kWidth, kHeight, [](int, int y, int) { return y > 28 && y < 36 ? 9.0f : 0.1f; });
  EXPECT_FALSE(FindSun(band, 1.0f, 0.0f, 1.0f));  // far wider than a sun
}

// A directional light turned by RotationTowards shines from its direction:
// the rotated +Z axis is the direction.
TEST(SunLight, RotationTurnsTheZAxisTowardsTheDirection) {
  const Vec3 directions[] = {{0, 0, 1}, {1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {-0.3L, 0.8L, -0.52L}};
  for (const Vec3& d : directions) {
    const long double length = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
    const XyRotation r = RotationTowards(d);
    EXPECT_NEAR(std::cos(r.x) * std::sin(r.y), d.x / length, 1e-12);
    EXPECT_NEAR(-std::sin(r.x), d.y / length, 1e-12);
    EXPECT_NEAR(std::cos(r.x) * std::cos(r.y), d.z / length, 1e-12);
  }
}

// The sun carries its pixels' energy in the units of the dome's lights: a
// rig of only the sun reproduces a one-bright-pixel environment at scale 1.
// The root's multiply and visibility act on it; its clamp and hide threshold
// do not.
TEST(SunLight, EnergyInDomeUnitsFollowingMultiplyAndVisibilityOnly) {
  const Image pixel = testing::MakeImage(
      kWidth, kHeight, [](int x, int y, int) { return x == 30 && y == 12 ? 5000.0f : 0.0f; });
  const auto region = FindSun(pixel, 1.0f, 0.0f, 1.0f);
  ASSERT_TRUE(region);
  Rig rig;
  rig.sun = MakeRigSun(*region, kWidth, kHeight);
  ASSERT_GT(rig.sun->light.intensity, 2.0);  // above the default clamp
  const RigError error = MeasureRigError(rig, MeasureEnvironment(pixel, 0.0f, 1.0f));
  EXPECT_LT(error.relativeRms, 1e-6);
  EXPECT_NEAR(error.scale, 1.0, 1e-6);

  const double full = LightEnergies(rig).back()[0];
  RigControls controls;
  controls.multiplyIntensity = 0.5;
  controls.hideLowIntensity = 1000;
  EXPECT_NEAR(LightEnergies(rig, controls).back()[0], full / 2, 1e-9 * full);
  controls.visible = false;
  EXPECT_EQ(LightEnergies(rig, controls).back()[0], 0.0);
}

// Every writer adds exactly one directional light for the sun, with its
// angle and its rotation.
TEST(SunLight, EveryWriterWritesOneDirectionalLight) {
  const auto f = testing::MakeRigFixture();
  const Image sky = SunnySky();
  Rig rig = MakeRig(f->dome, f->image, f->results, {ScriptKind::Usd, 1, 100});
  rig.sun = MakeRigSun(*FindSun(sky, DefaultSunThreshold(sky), 0.0f, 1.0f), kWidth, kHeight);
  const double angle = rig.sun->angle;
  struct Case {
    ScriptKind kind;
    const char* light;
    std::string angleText;
  };
  const Case cases[] = {
      {ScriptKind::Usd, "def DistantLight \"ZR_Sun\"", "float inputs:angle = "},
      {ScriptKind::Blender, "type=\"SUN\"", "SUN = (\"ZR_Sun\""},
      {ScriptKind::Maya, "createNode directionalLight", "lightAngle\" "},
      {ScriptKind::MayaArnold, "zrHalvaneSun($root, \"ZR_Sun\"", "\"aiAngle\", $angle"},
      {ScriptKind::Xsi, "GetPrimLight (\"Infinite.Preset\", \"ZR_Sun\"",
       "rendvis\", ParentNull & \".Light_CTRL.Visible\""},
  };
  for (const Case& c : cases) {
    rig.kind = c.kind;
    const std::string text = ScriptText(rig, 'Q');
    const std::size_t at = text.find(c.light);
    ASSERT_NE(at, std::string::npos) << static_cast<int>(c.kind);
    EXPECT_EQ(text.find(c.light, at + 1), std::string::npos) << static_cast<int>(c.kind);
    EXPECT_NE(text.find(c.angleText), std::string::npos) << static_cast<int>(c.kind);
  }
  rig.kind = ScriptKind::Usd;
  const XyRotation turn = RotationTowards(YUpLatLongDirection(rig.sun->light));
  const std::string usd = ScriptText(rig, 'Q');
  EXPECT_NE(usd.find("float inputs:angle = " + ShortestNumber(static_cast<float>(angle))),
            std::string::npos);
  EXPECT_NE(usd.find("xformOp:rotateXYZ = (" +
                     ShortestNumber(static_cast<float>(turn.x * kDegreesPerRadian)) + ", " +
                     ShortestNumber(static_cast<float>(turn.y * kDegreesPerRadian)) + ", 0)"),
            std::string::npos);
}

class SunStep : public testing::SessionTest {};

// With the option the dome samples the sky without the sun, the rig gets the
// sun, and the error of the plain rig drops: the sun is no longer clamped.
TEST_F(SunStep, ColourStepTakesTheSunOutOfTheDome) {
  UseImage(SunnySky());
  ASSERT_TRUE(ApplyColour(s, controls, host).done());
  const double without = ChosenRigError(s, controls)->relativeRms;
  EXPECT_FALSE(ChosenRig(s, controls, ScriptKind::Usd).sun);

  controls.CheckSunLight.checked = true;
  ASSERT_TRUE(ApplyColour(s, controls, host).done());
  EXPECT_EQ(MaxLuminance(SampledImage(s)), kSky);
  EXPECT_EQ(MaxLuminance(EnvironmentImage(s)), MaxLuminance(s.image));
  EXPECT_TRUE(ChosenRig(s, controls, ScriptKind::Usd).sun);
  EXPECT_LT(ChosenRigError(s, controls)->relativeRms, without / 2);
  const auto& log = controls.ListBox1.items;
  EXPECT_TRUE(std::any_of(log.begin(), log.end(), [](const std::string& line) {
    return line.find(":  Sun: ") != std::string::npos;
  }));
}

}  // namespace
}  // namespace halvane
