#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <stdexcept>

#include "optimize/median_cut.h"
#include "rig/median_cut_rig.h"
#include "rig/rig_error.h"
#include "support/session_fixture.h"

namespace halvane {
namespace {

constexpr double kPi = std::numbers::pi;

double TotalLuminance(const std::vector<MedianCutLight>& lights) {
  double total = 0;
  for (const MedianCutLight& l : lights) total += l.luminanceEnergy;
  return total;
}

// A uniform sky: every cut keeps the whole energy, the regions share it
// evenly, and the rig made of them gives the sky's light at scale 1.
TEST(MedianCut, UniformSkySharesItsEnergyEvenly) {
  const Image image = testing::UniformImage(128, 64, 0.5f, 0.5f, 0.5f);
  const auto rows = MedianCutRows(image, 0.0f, 1.0f);
  ASSERT_EQ(rows.size(), kMedianCutCounts.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const auto& lights = rows[i];
    ASSERT_EQ(static_cast<int>(lights.size()), kMedianCutCounts[i]);
    EXPECT_NEAR(TotalLuminance(lights), 4 * kPi * 0.5, 1e-9);
    for (std::size_t k = 0; k < lights.size(); ++k) {
      // Even within the cells a cut can move by: a quarter at 128 lights.
      const double share = 2 * kPi / static_cast<double>(lights.size());
      EXPECT_NEAR(lights[k].luminanceEnergy, share, 0.25 * share);
      if (k > 0) {
        EXPECT_LE(lights[k].luminanceEnergy, lights[k - 1].luminanceEnergy);
      }
      EXPECT_NEAR(lights[k].meanLuminance, 0.5, 1e-9);
    }
  }
  const Rig rig = MakeMedianCutRig(rows.back(), 128, 64, ScriptKind::Maya, 100);
  const RigError error = MeasureRigError(rig, MeasureEnvironment(image, 0.0f, 1.0f));
  EXPECT_LT(error.relativeRms, 0.01);
  EXPECT_NEAR(error.scale, 1.0, 0.01);
}

// A single bright pixel on black: the brightest region's light sits at the
// pixel with the pixel's energy, and its angles come from that pixel.
TEST(MedianCut, BrightPixelBecomesTheFirstLight) {
  constexpr int kColumn = 40, kRow = 12;
  const Image image = testing::MakeImage(
      128, 64, [](int x, int y, int) { return x == kColumn && y == kRow ? 100.0f : 0.0f; });
  const auto lights = MedianCut(image, 0.0f, 1.0f, 8);
  EXPECT_NEAR(lights[0].column, kColumn + 0.5, 1e-9);
  EXPECT_NEAR(lights[0].row, kRow + 0.5, 1e-9);
  EXPECT_NEAR(lights[0].luminanceEnergy, TotalLuminance(lights), 1e-12);
  const RigLight first = MakeMedianCutRig(lights, 128, 64, ScriptKind::Maya, 100).lights[0];
  EXPECT_EQ(first.number, 1u);
  // The centroid lies on a pixel's edge: it rounds to either neighbour.
  EXPECT_NEAR(first.rotY, 40.5 / 128 * 360 - 180, 360.0 / 128 / 2 + 1e-9);
  EXPECT_NEAR(first.rotX, 12.5 / 64 * 180 - 90, 180.0 / 64 / 2 + 1e-9);
  EXPECT_NEAR(first.intensity * kIntensityToEnergy, lights[0].energy[0], 1e-6);
  EXPECT_THROW(MedianCut(image, 0.0f, 1.0f, 12), std::invalid_argument);
}

}  // namespace
}  // namespace halvane
