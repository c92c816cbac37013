#include <gtest/gtest.h>

#include <string>

#include "rig/script_text.h"
#include "support/rig_fixtures.h"

namespace halvane {
namespace {

using testing::GoldenScript;

class RigScript : public ::testing::Test {
 protected:
  std::string Script(ScriptKind kind, int row, int distance, char letter) const {
    return ScriptText(MakeRig(f->dome, f->image, f->results, {kind, row, distance}), letter);
  }
  void UseNoLight() {
    for (uint32_t i = 1; i <= 4; ++i) f->dome.points[i].used = false;
  }

  std::unique_ptr<testing::RigFixture> f = testing::MakeRigFixture();
};

// The lights of the chosen result under their levels: light 1 (level 2,
// colour 2, 1, 0.5) and the black level-1 light 4 in the image's corner.
TEST_F(RigScript, CandidateModeMatchesTheGoldenScripts) {
  EXPECT_EQ(Script(ScriptKind::Maya, 1, 100, 'Q'), GoldenScript("candidate.mel"));
  EXPECT_EQ(Script(ScriptKind::Xsi, 1, 250, 'Q'), GoldenScript("candidate.vbs"));
}

// Every used point is a light: under the first level (Maya) or the root
// (XSI), with each writer's fixed area lines. Light 2, absorbed in the
// listed result, is one here; in the MEL script numbers 5 and 6 are a gap.
TEST_F(RigScript, PlainModeMatchesTheGoldenScripts) {
  EXPECT_EQ(Script(ScriptKind::Xsi, 0, 250, 'Q'), GoldenScript("plain.vbs"));
  f->dome.pointCount = 7;
  testing::SetRigPoint(f->dome, 7, 10, 10, 0, 1, 0, 1, 1, 1, 1, true);
  EXPECT_EQ(Script(ScriptKind::Maya, 0, 100, 'K'), GoldenScript("plain.mel"));
}

TEST_F(RigScript, NoLightWritesTheFramesOnly) {
  UseNoLight();
  const std::string mel = GoldenScript("candidate.mel");
  const std::string melFrame = mel.substr(0, mel.find("// creation of")) +
                               mel.substr(mel.find("progressBar -edit -endProgress"));
  EXPECT_EQ(Script(ScriptKind::Maya, 1, 100, 'Q'), melFrame);
  EXPECT_EQ(Script(ScriptKind::Maya, 0, 100, 'Q'), melFrame);
  const std::string vbs = GoldenScript("candidate.vbs");
  const std::string vbsFrame = vbs.substr(0, vbs.find("Set Newlight"));
  EXPECT_EQ(Script(ScriptKind::Xsi, 1, 250, 'Q'), vbsFrame);  // header and level nulls
  EXPECT_EQ(Script(ScriptKind::Xsi, 0, 250, 'Q'),
            vbsFrame.substr(0, vbsFrame.find("set ParentNull1")));
}

}  // namespace
}  // namespace halvane
