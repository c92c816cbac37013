#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "rig/rig.h"
#include "rig/script_number.h"
#include "support/rig_fixtures.h"

namespace halvane {
namespace {

// Most values of the fixture's lights are checked through the golden scripts
// (script_text_test); these are the cases the fixture does not reach.
constexpr RigOptions kChosenRow{ScriptKind::Maya, 1, 100};
constexpr RigOptions kNoRow{ScriptKind::Maya, 0, 100};

class RigTest : public ::testing::Test {
 protected:
  Rig Make(RigOptions options) const { return MakeRig(f->dome, f->image, f->results, options); }
  // The light of point 1, the first light in either mode.
  RigLight First(RigOptions options) const { return Make(options).lights.at(0); }
  std::string Written(double value) const { return FormatScriptNumber(value); }

  std::unique_ptr<testing::RigFixture> f = testing::MakeRigFixture();
};

TEST_F(RigTest, CandidateModeNeedsAListedRow) {
  EXPECT_EQ(Make(kChosenRow).mode, RigMode::Candidate);
  EXPECT_EQ(Make({ScriptKind::Xsi, 2, 100}).mode, RigMode::Plain);
  f->results.count = 0;
  EXPECT_EQ(Make(kChosenRow).mode, RigMode::Plain);
  EXPECT_EQ(Make(kChosenRow).lights.size(), 3u);  // every used point
}

TEST_F(RigTest, ColourAndPositionEdgeCases) {
  testing::SetRigPoint(f->dome, 1, 90, 0, 0, 0, 1, 0.5f, 3.0f, 3.0f, 1, true);
  RigLight light = First(kNoRow);
  EXPECT_EQ(light.peak, 3.0f);  // every largest component normalises to one
  EXPECT_EQ(Written(light.normR), "0.167");
  EXPECT_EQ(light.normG, 1.0f);
  EXPECT_EQ(light.normB, 1.0f);
  f->image.width = 7;  // 90 / 7 x 360 - 180 = 4628.571... - 180
  EXPECT_EQ(Written(First(kNoRow).rotY), "4448.571");
  f->image.height = 0;
  EXPECT_THROW(Make(kNoRow), std::invalid_argument);
}

TEST_F(RigTest, HighlightIsTheMeanLuminanceOfTheLightsNeighbourhood) {
  const float expected[] = {1.3f, 1.1f, 2.0f, 3.0f, 3.0f, 3.0f};
  for (int level = 1; level <= 6; ++level) {
    f->dome.points[1].level = level;
    EXPECT_FLOAT_EQ(First(kChosenRow).highlight, expected[level - 1]) << level;
    EXPECT_EQ(First(kNoRow).highlight, 1.3f);
  }
}

TEST_F(RigTest, CandidateAreaGrowsWithLevelAndSamplesFollowLevelOverSubdivision) {
  f->dome.points[1].level = 4;
  EXPECT_EQ(Written(First(kChosenRow).areaScale), "0.459");
  f->dome.subdivLevel = 3;
  f->dome.points[1].level = 2;
  EXPECT_EQ(Written(First(kChosenRow).areaScale), "0.396");
  f->dome.subdivLevel = 9;  // an unknown subdivision uses the widest spacing
  EXPECT_EQ(Written(First(kChosenRow).areaScale), "1.440");

  for (int subdiv : {4, 3}) {
    f->dome.subdivLevel = static_cast<uint8_t>(subdiv);
    std::vector<int> samples;
    for (int level = 1; level <= 6; ++level) {
      f->dome.points[1].level = level;
      samples.push_back(First(kChosenRow).areaSamples);
    }
    EXPECT_EQ(samples, subdiv == 4 ? (std::vector<int>{2, 3, 4, 5, 5, 5})
                                   : (std::vector<int>{2, 3, 5, 5, 5, 5}));
  }
}

// A stored level outside 1..6 is a single-point light instead of one of
// negative or missing size.
TEST_F(RigTest, LevelOutsideOneToSixCountsAsLevelOne) {
  f->dome.points[1].level = 9;
  const RigLight odd = First(kChosenRow);
  EXPECT_EQ(odd.level, 1);
  EXPECT_EQ(odd.highlight, 1.3f);
  EXPECT_EQ(odd.areaSamples, 2);
  EXPECT_EQ(Written(odd.areaScale), "0.076");  // 0.0765 as a float, a tie to even
}

}  // namespace
}  // namespace halvane
