#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "rig/export_light.h"
#include "rig/export_selection.h"
#include "rig/script_number.h"
#include "support/export_fixtures.h"

namespace halvane {
namespace {

using testing::MakeExportSession;
using testing::SetExportPoint;

constexpr ExportSelection kCandidate{true, 1};
constexpr ExportSelection kPlain{false, 0};

std::string Written(double value) {
  return FormatScriptNumber(value);
}

TEST(ExportSelection, CandidateModeNeedsAListedRow) {
  auto s = MakeExportSession();
  EXPECT_TRUE(SelectExportMode(*s, 1).candidate);
  EXPECT_EQ(SelectExportMode(*s, 1).optimization, 1);
  EXPECT_FALSE(SelectExportMode(*s, 0).candidate);
  EXPECT_FALSE(SelectExportMode(*s, 2).candidate);
  s->results.count = 0;
  EXPECT_FALSE(SelectExportMode(*s, 1).candidate);
}

TEST(ExportSelection, CandidateModeTakesUsedLightsOfTheChosenResult) {
  auto s = MakeExportSession();
  // 2 is used but absorbed in the result, 3 is a light of it but deleted.
  EXPECT_EQ(ExportedPoints(*s, kCandidate), (std::vector<uint32_t>{1, 4}));
}

TEST(ExportSelection, PlainModeTakesEveryUsedPoint) {
  auto s = MakeExportSession();
  EXPECT_EQ(ExportedPoints(*s, kPlain), (std::vector<uint32_t>{1, 2, 4}));
  for (uint32_t i = 1; i <= 4; ++i) s->dome.points[i].used = false;
  EXPECT_TRUE(ExportedPoints(*s, kPlain).empty());
}

TEST(ExportLight, ColourIsNormalisedByItsPeak) {
  auto s = MakeExportSession();
  const ExportLight light = MakeExportLight(*s, 1, kCandidate, ScriptKind::Maya);
  EXPECT_EQ(light.peak, 2.0f);
  EXPECT_EQ(light.normR, 1.0f);
  EXPECT_EQ(light.normG, 0.5f);
  EXPECT_EQ(light.normB, 0.25f);
  EXPECT_EQ(Written(light.grey), "0.622");  // 0.6225, a tie to the even digit
  EXPECT_EQ(light.intensity, 0.25);
}

TEST(ExportLight, EveryLargestComponentNormalisesToOne) {
  auto s = MakeExportSession();
  SetExportPoint(*s, 1, 0, 0, 0, 0, 1, 0.5f, 3.0f, 3.0f, 1, true);
  const ExportLight light = MakeExportLight(*s, 1, kPlain, ScriptKind::Maya);
  EXPECT_EQ(light.peak, 3.0f);
  EXPECT_EQ(Written(light.normR), "0.167");
  EXPECT_EQ(light.normG, 1.0f);
  EXPECT_EQ(light.normB, 1.0f);
}

TEST(ExportLight, BlackLightHasPeakOneAndPointIntensity) {
  auto s = MakeExportSession();
  const ExportLight light = MakeExportLight(*s, 4, kCandidate, ScriptKind::Xsi);
  EXPECT_EQ(light.peak, 1.0f);
  EXPECT_EQ(light.normR, 0.0f);
  EXPECT_EQ(light.normG, 0.0f);
  EXPECT_EQ(light.normB, 0.0f);
  EXPECT_EQ(light.grey, 0.0);
  EXPECT_EQ(light.intensity, s->dome.pointIntensity);
}

TEST(ExportLight, RotationFollowsThePixelPosition) {
  auto s = MakeExportSession();
  const ExportLight corner = MakeExportLight(*s, 4, kPlain, ScriptKind::Maya);
  EXPECT_EQ(Written(corner.rotX), "-90.000");
  EXPECT_EQ(Written(corner.rotY), "-180.000");
  const ExportLight one = MakeExportLight(*s, 1, kPlain, ScriptKind::Maya);
  EXPECT_EQ(Written(one.rotX), "-45.000");
  EXPECT_EQ(Written(one.rotY), "-90.000");
  s->image.width = 7;  // 90 / 7 x 360 - 180 = 4628.571... - 180
  EXPECT_EQ(Written(MakeExportLight(*s, 1, kPlain, ScriptKind::Maya).rotY), "4448.571");
}

TEST(ExportLight, ImageWithoutSizeIsAnError) {
  auto s = MakeExportSession();
  s->image.height = 0;
  EXPECT_THROW(MakeExportLight(*s, 1, kPlain, ScriptKind::Maya), std::invalid_argument);
}

TEST(ExportLight, HighlightIsTheMeanLuminanceOfTheLightsNeighbourhood) {
  auto s = MakeExportSession();
  const float expected[] = {1.3f, 1.1f, 2.0f, 3.0f, 3.0f, 3.0f};
  for (int level = 1; level <= 6; ++level) {
    s->dome.points[1].level = level;
    EXPECT_FLOAT_EQ(MakeExportLight(*s, 1, kCandidate, ScriptKind::Maya).highlight,
                    expected[level - 1])
        << "level " << level;
    EXPECT_EQ(MakeExportLight(*s, 1, kPlain, ScriptKind::Maya).highlight, 1.3f);
  }
}

TEST(ExportLight, AreaScaleGrowsWithLevelAndSubdivision) {
  auto s = MakeExportSession();
  s->dome.points[1].level = 4;
  EXPECT_EQ(Written(MakeExportLight(*s, 1, kCandidate, ScriptKind::Maya).areaScale), "0.459");
  s->dome.subdivLevel = 3;
  s->dome.points[1].level = 2;
  EXPECT_EQ(Written(MakeExportLight(*s, 1, kCandidate, ScriptKind::Xsi).areaScale), "0.396");
  s->dome.subdivLevel = 9;  // an unknown subdivision uses the widest spacing
  EXPECT_EQ(Written(MakeExportLight(*s, 1, kCandidate, ScriptKind::Xsi).areaScale), "1.440");
}

TEST(ExportLight, SampleCountsFollowLevelOverSubdivision) {
  auto s = MakeExportSession();
  auto samples = [&](int level) {
    s->dome.points[1].level = level;
    return MakeExportLight(*s, 1, kCandidate, ScriptKind::Maya).areaSamples;
  };
  s->dome.subdivLevel = 4;
  EXPECT_EQ(
      (std::vector<int>{samples(1), samples(2), samples(3), samples(4), samples(5), samples(6)}),
      (std::vector<int>{2, 3, 4, 5, 5, 5}));
  s->dome.subdivLevel = 3;
  EXPECT_EQ(
      (std::vector<int>{samples(1), samples(2), samples(3), samples(4), samples(5), samples(6)}),
      (std::vector<int>{2, 3, 5, 5, 5, 5}));
}

TEST(ExportLight, PlainModeUsesEachWritersFixedAreaSettings) {
  auto s = MakeExportSession();
  const ExportLight maya = MakeExportLight(*s, 1, kPlain, ScriptKind::Maya);
  EXPECT_EQ(Written(maya.areaScale), "1.440");  // (2 x 0.75 - 0.3) x 1.2
  EXPECT_EQ(maya.areaSamples, 3);
  const char* xsiScales[] = {"0.600", "0.310", "0.165", "0.075", "0.045"};
  for (int subdiv = 1; subdiv <= 5; ++subdiv) {
    s->dome.subdivLevel = static_cast<uint8_t>(subdiv);
    const ExportLight xsi = MakeExportLight(*s, 1, kPlain, ScriptKind::Xsi);
    EXPECT_EQ(Written(xsi.areaScale), xsiScales[subdiv - 1]);
    EXPECT_EQ(xsi.areaSamples, 2);
  }
}

// A stored level outside 1..6 (0 for points never part of a chosen result)
// is exported as a single-point light instead of a negative or missing size.
TEST(ExportLight, LevelOutsideOneToSixCountsAsLevelOne) {
  auto s = MakeExportSession();
  const ExportLight plain = MakeExportLight(*s, 2, kPlain, ScriptKind::Maya);
  EXPECT_EQ(plain.level, 1);
  EXPECT_EQ(Written(plain.areaScale), "0.540");
  s->dome.points[1].level = 9;
  const ExportLight odd = MakeExportLight(*s, 1, kCandidate, ScriptKind::Xsi);
  EXPECT_EQ(odd.level, 1);
  EXPECT_EQ(odd.highlight, 1.3f);
  EXPECT_EQ(odd.areaSamples, 2);
  EXPECT_EQ(Written(odd.areaScale), "0.076");  // 0.0765 as a float, a tie to even
}

}  // namespace
}  // namespace halvane
