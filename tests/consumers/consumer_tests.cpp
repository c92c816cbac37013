// The new rigs through the programs that use them: every generated Blender
// script runs in Blender, every generated USD stage is read by two USD readers
// we did not write. Each test skips, saying why, when its program is missing.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <vector>

#include "batch/image_letter.h"
#include "consumer_run.h"
#include "rig/arnold_script.h"
#include "rig/blender_script.h"
#include "rig/rig_sun.h"
#include "rig/usd_stage.h"
#include "rig_expectations.h"
#include "support/image_files.h"
#include "support/pipeline_rig.h"
#include "support/rig_fixtures.h"

namespace halvane {
namespace {

namespace fs = std::filesystem;

constexpr const char* kConsumersDir = HALVANE_CONSUMERS_DIR;
constexpr int kBlenderSeconds = 120;
constexpr int kReaderSeconds = 120;
constexpr char kLetter = 'Q';

struct NamedRig {
  std::string name;
  Rig rig;
  char letter;
};

Rig FixtureRig(ScriptKind kind, int row) {
  const auto f = testing::MakeRigFixture();
  return MakeRig(f->dome, f->image, f->results, {kind, row, 100});
}

// The sample image through the window's steps, once for all tests (about
// five seconds), with the letter the batch tool gives it.
const NamedRig& SampleRig() {
  static const NamedRig sample{"sample",
                               testing::PipelineRig(HALVANE_SAMPLE_IMAGE, ScriptKind::Usd, true),
                               ImageFileLetter(HALVANE_SAMPLE_IMAGE).value()};
  return sample;
}

// The candidate rig with a sun: a warm light, brighter than the clamp, 40
// degrees up and 3 degrees wide.
Rig SunRig() {
  Rig rig = FixtureRig(ScriptKind::Usd, 1);
  SunRegion region;
  region.energy = {9.0, 8.0, 6.5};
  region.column = 250.0;
  region.row = 40.0;
  region.angle = 3.0;
  rig.sun = MakeRigSun(region, 360, 180);
  return rig;
}

std::vector<NamedRig> RigsUnderTest() {
  return {{"candidate", FixtureRig(ScriptKind::Usd, 1), kLetter},
          {"plain", FixtureRig(ScriptKind::Usd, 0), kLetter},
          {"sun", SunRig(), kLetter},
          SampleRig()};
}

std::string SkipReasonForBlender() {
  if (!testing::OnPath("blender"))
    return "blender is not installed (scripts/install-deps.sh test installs it)";
  return {};
}

std::string SkipReasonForReaders() {
  if (!testing::OnPath("node")) return "node is not installed (scripts/install-deps.sh test)";
  for (const char* reader : {"three-usdz-loader", "tinyusdz"})
    if (!fs::exists(fs::path(kConsumersDir) / "node_modules" / reader))
      return std::string("the USD reader ") + reader +
             " is not installed: run npm ci in tests/consumers (scripts/install-deps.sh test)";
  return {};
}

testing::ConsumerRun RunBlender(const std::string& script, const std::string& arguments) {
  return testing::RunWithTimeLimit(
      "blender -b --factory-startup --python-exit-code 1 -P " + testing::ShellQuoted(script) +
          " -P " + testing::ShellQuoted(std::string(kConsumersDir) + "/check_blender_rig.py") +
          " -- " + arguments,
      kBlenderSeconds);
}

// The batch tool writes the three new files of the sample image as the rig
// layer makes them, every file with the letter drawn from the image's bytes.
TEST(ConsumerSample, BatchWritesTheRigLayersFiles) {
  testing::TempDir dir;
  const std::string usda = dir.Path("rig.usda"), py = dir.Path("rig.py"),
                    mel = dir.Path("rig-arnold.mel");
  const auto run = testing::RunWithTimeLimit(
      std::string(HALVANE_BATCH_BINARY) + " " + testing::ShellQuoted(HALVANE_SAMPLE_IMAGE) +
          " -o " + usda + " -o " + py + " -o " + mel + " --maya-renderer arnold",
      120);
  ASSERT_EQ(run.exitCode, 0) << run.output;
  const NamedRig& sample = SampleRig();
  Rig rig = sample.rig;
  EXPECT_EQ(testing::ReadText(usda), UsdStage(rig, sample.letter));
  rig.kind = ScriptKind::Blender;
  EXPECT_EQ(testing::ReadText(py), BlenderScript(rig, sample.letter));
  rig.kind = ScriptKind::MayaArnold;
  EXPECT_EQ(testing::ReadText(mel), ArnoldScript(rig, sample.letter));
}

// Blender builds every rig headless; its drivers are valid simple expressions
// and move, recolour, brighten, hide and switch the lights as the Maya
// expressions would, and the lights give the origin the rig's irradiance.
TEST(ConsumerBlender, BuildsEveryRigAndFollowsItsControls) {
  if (const std::string why = SkipReasonForBlender(); !why.empty()) GTEST_SKIP() << why;
  testing::TempDir dir;
  for (const NamedRig& named : RigsUnderTest()) {
    const std::string script = dir.Path(named.name + ".py");
    const std::string expected = dir.Path(named.name + ".json");
    testing::WriteText(script, BlenderScript(named.rig, named.letter));
    testing::WriteText(expected, testing::BlenderExpectations(named.rig, named.letter));
    const auto run = RunBlender(script, testing::ShellQuoted(expected));
    EXPECT_EQ(run.exitCode, 0) << named.name << ":\n" << run.output;
    EXPECT_NE(run.output.find("ALL CHECKS PASSED"), std::string::npos) << named.name;
  }
}

// The light of a one-bright-pixel image sits where Blender's Environment
// Texture shows that pixel: a narrow render towards the brightest light, with
// the image as the World, sees the pixel.
TEST(ConsumerBlender, BrightestLightLooksAtTheBrightPixelOfTheEnvironment) {
  if (const std::string why = SkipReasonForBlender(); !why.empty()) GTEST_SKIP() << why;
  testing::TempDir dir;
  for (const auto& [column, row] : {std::pair{20, 22}, std::pair{90, 40}}) {
    const std::string image = dir.Path("pixel.hdr"), script = dir.Path("pixel.py"),
                      expected = dir.Path("pixel.json");
    testing::WriteBrightPixelImage(image, column, row);
    const Rig rig = testing::PipelineRig(image, ScriptKind::Blender, false);
    testing::WriteText(script, BlenderScript(rig, kLetter));
    testing::WriteText(expected, testing::BlenderExpectations(rig, kLetter));
    const auto run = RunBlender(
        script, testing::ShellQuoted(expected) + " --environment " + testing::ShellQuoted(image));
    EXPECT_EQ(run.exitCode, 0) << "pixel " << column << ", " << row << ":\n" << run.output;
    EXPECT_NE(run.output.find("ok environment"), std::string::npos);
  }
}

// Both USD readers load every stage, with the prim paths, types and values
// of the rig and the irradiance at the origin the rig layer computes.
TEST(ConsumerUsd, ReadersLoadEveryRigWithItsValues) {
  if (const std::string why = SkipReasonForReaders(); !why.empty()) GTEST_SKIP() << why;
  testing::TempDir dir;
  const std::string consumers = testing::ShellQuoted(kConsumersDir);
  for (const NamedRig& named : RigsUnderTest()) {
    const std::string stage = dir.Path(named.name + ".usda");
    const std::string expected = dir.Path(named.name + ".json");
    testing::WriteText(stage, UsdStage(named.rig, named.letter));
    testing::WriteText(expected, testing::UsdExpectations(named.rig, named.letter));
    for (const std::string reader : {"usd", "tinyusdz"}) {
      const std::string seen = dir.Path(named.name + "-" + reader + ".json");
      const auto read = testing::RunWithTimeLimit(
          "cd " + consumers + " && node read_usd.mjs --reader " + reader + " --timeout " +
              std::to_string(kReaderSeconds - 20) + " " + testing::ShellQuoted(stage) + " > " +
              testing::ShellQuoted(seen),
          kReaderSeconds);
      ASSERT_EQ(read.exitCode, 0) << reader << " on " << named.name << ":\n" << read.output;
      const auto check = testing::RunWithTimeLimit(
          "cd " + consumers + " && node check_rig_usda.mjs " + testing::ShellQuoted(seen) + " " +
              testing::ShellQuoted(expected),
          60);
      EXPECT_EQ(check.exitCode, 0) << reader << " on " << named.name << ":\n" << check.output;
    }
  }
}

}  // namespace
}  // namespace halvane
