// The new rigs through the programs that use them: every generated Blender
// script runs in Blender, every generated USD stage is read by two USD readers
// we did not write. Each test skips, saying why, when its program is missing.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <filesystem>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <tuple>
#include <vector>

#include "batch/image_letter.h"
#include "consumer_run.h"
#include "rig/arnold_script.h"
#include "rig/blender_script.h"
#include "rig/rig_error.h"
#include "rig/rig_sun.h"
#include "rig/script_number.h"
#include "rig/usd_stage.h"
#include "rig_expectations.h"
#include "support/image_files.h"
#include "support/pipeline_rig.h"
#include "support/rig_fixtures.h"
#include "support/session_fixture.h"
#include "workflow/apply_colour.h"
#include "workflow/chosen_rig.h"
#include "workflow/load_image.h"
#include "workflow/optimize_points.h"
#include "workflow/place_points.h"
#include "workflow/rig_error_display.h"

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

// The sample image through the window's steps to the first row's rig, with
// and without "Sun as a directional light", with the environment the rig
// error compares with and the figure the window shows.
struct ErrorSample {
  std::string name;
  Rig rig;
  EnvironmentIrradiance environment;
  RigError internal;
};

const std::vector<ErrorSample>& ErrorSamples() {
  static const std::vector<ErrorSample> samples = [] {
    std::vector<ErrorSample> made;
    for (const bool sun : {false, true}) {
      testing::DomeRun run;
      run.host.AnswerDialog(HALVANE_SAMPLE_IMAGE);
      LoadImage(run.s, run.controls, run.host);
      PlacePoints(run.s, run.controls, run.host);
      run.controls.CheckSunLight.checked = sun;
      ApplyColour(run.s, run.controls, run.host);
      OptimizePoints(run.s, run.controls, run.host);
      Rig rig = ChosenRig(run.s, run.controls, ScriptKind::Usd);
      const RigError internal = *ChosenRigError(run.s, run.controls);
      made.push_back({sun ? "sun" : "no sun", std::move(rig), SampledEnvironment(run.s), internal});
    }
    return made;
  }();
  return samples;
}

// Turns the lights a consumer reports back into rig lights: the direction
// out of the package's frame (USD (-x, y, z), Blender (z, -x, y)), a point
// light's value over the package's unit per radiant intensity times the
// distance squared, the sun's value as it is; hidden lights give nothing.
Rig RigOfReadLights(const nlohmann::json& read, long double unitsPerRadiantIntensity,
                    bool blenderFrame) {
  Rig rig;
  for (const auto& entry : read.at("lights")) {
    const auto d = entry.at("direction").get<std::array<double, 3>>();
    const auto colour = entry.at("colour").get<std::array<float, 3>>();
    RigLight light;  // grey 0: saturation 1 keeps the colour
    std::tie(light.dirX, light.dirY, light.dirZ) =
        blenderFrame ? std::tuple{-d[1], d[2], d[0]} : std::tuple{-d[0], d[1], d[2]};
    std::tie(light.normR, light.normG, light.normB) = std::tuple{colour[0], colour[1], colour[2]};
    const long double value = entry.at("visible").get<bool>() ? entry.at("value").get<double>() : 0;
    if (entry.at("kind") == "sun") {
      light.intensity = static_cast<double>(value);
      rig.sun = RigSun{light, 0.0};
    } else {
      const long double distance = entry.at("distance").get<double>();
      light.intensity =
          static_cast<double>(value / (unitsPerRadiantIntensity * kRadiantIntensityPerIrradiance *
                                       distance * distance));
      rig.lights.push_back(light);
    }
  }
  return rig;
}

constexpr double kPointsTolerance = 0.01;

// Prints and records the error figure of `file` (evaluated at `controls`);
// returns its difference from the internal figure in percentage points.
double FileFigure(const std::string& what, const Rig& file, const ErrorSample& sample,
                  const RigControls& controls = {}) {
  const double figure = MeasureRigError(file, sample.environment, controls).relativeRms * 100.0;
  const double difference = figure - sample.internal.relativeRms * 100.0;
  std::cout << "rig error " << what << ", " << sample.name << ": " << figure << " % (internal "
            << sample.internal.relativeRms * 100.0 << " %, difference " << difference
            << " points)\n";
  ::testing::Test::RecordProperty(what + ", " + sample.name, std::to_string(figure));
  return difference;
}

// The lights both USD readers and Blender read from the .usda and .py files
// give the error figure the rig layer computes for the internal list. The
// files hold the lights clamped and hidden already: evaluated as read.
TEST(ConsumerFilesError, LightsTheConsumersReadGiveTheInternalFigure) {
  const std::string noReaders = SkipReasonForReaders(), noBlender = SkipReasonForBlender();
  if (!noReaders.empty() && !noBlender.empty()) GTEST_SKIP() << noReaders << "; " << noBlender;
  constexpr RigControls kAsRead{.hideLowIntensity = 0.0, .clampIntensity = 1e300};
  testing::TempDir dir;
  const std::string stage = dir.Path("rig.usda"), script = dir.Path("rig.py");
  for (const ErrorSample& sample : ErrorSamples()) {
    ASSERT_EQ(sample.rig.sun.has_value(), sample.name == "sun");
    testing::WriteText(stage, UsdStage(sample.rig, kLetter));
    for (const std::string reader : {"usd", "tinyusdz"}) {
      if (!noReaders.empty()) break;
      const std::string seen = dir.Path(reader + ".json");
      const auto read = testing::RunWithTimeLimit(
          "cd " + testing::ShellQuoted(kConsumersDir) + " && node read_usd.mjs --lights --reader " +
              reader + " " + testing::ShellQuoted(stage) + " > " + testing::ShellQuoted(seen),
          kReaderSeconds);
      ASSERT_EQ(read.exitCode, 0) << reader << ":\n" << read.output;
      const Rig file = RigOfReadLights(nlohmann::json::parse(testing::ReadText(seen)),
                                       kUsdIntensityPerRadiantIntensity, false);
      EXPECT_NEAR(FileFigure(".usda (" + reader + ")", file, sample, kAsRead), 0, kPointsTolerance);
    }
    if (!noBlender.empty()) continue;
    Rig blender = sample.rig;
    blender.kind = ScriptKind::Blender;
    testing::WriteText(script, BlenderScript(blender, kLetter));
    const auto run = RunBlender(script, "--lights");
    const std::size_t line = run.output.find("\nLIGHTS ") + 1;
    ASSERT_TRUE(run.exitCode == 0 && line != 0) << run.output;
    const std::string json = run.output.substr(line + 7, run.output.find('\n', line) - line - 7);
    const Rig file =
        RigOfReadLights(nlohmann::json::parse(json), kBlenderEnergyPerRadiantIntensity, true);
    EXPECT_NEAR(FileFigure(".py (Blender)", file, sample, kAsRead), 0, kPointsTolerance);
  }
}

// The rig as the Maya and XSI scripts write it, every number with three
// decimals; a light shines from its rounded direction, normalised (the sun's
// rotation, written too, is finer: 0.001 degrees). With `keepVisibility` a
// light the rounding would bring down to the hide threshold keeps its intensity.
Rig WithThreeDecimals(Rig rig, bool keepVisibility) {
  const auto rounded = [](double value) { return std::stod(FormatScriptNumber(value)); };
  const double hide = RigControls{}.hideLowIntensity;
  auto round = [&](RigLight& light) {
    for (double* value : {&light.dirX, &light.dirY, &light.dirZ, &light.grey})
      *value = rounded(*value);
    for (float* value : {&light.normR, &light.normG, &light.normB})
      *value = static_cast<float>(rounded(*value));
    const long double x = light.dirX, y = light.dirY, z = light.dirZ;
    const long double length = std::sqrt(x * x + y * y + z * z);
    light.dirX = static_cast<double>(x / length), light.dirY = static_cast<double>(y / length);
    light.dirZ = static_cast<double>(z / length);
    const double intensity = rounded(light.intensity);
    if (!keepVisibility || intensity > hide || light.intensity <= hide) light.intensity = intensity;
  };
  for (RigLight& light : rig.lights) round(light);
  if (rig.sun) round(rig.sun->light);
  return rig;
}

// The .mel and .vbs rigs (no consumer runs them here): their three decimals
// cost the figure less than 0.01 points but for the lights just above the
// hide threshold, which the rounding writes as 0.010 and so hides.
TEST(ConsumerFilesError, ThreeDecimalScriptsCostOnlyTheLightsTheyHide) {
  for (const ErrorSample& sample : ErrorSamples()) {
    const Rig written = WithThreeDecimals(sample.rig, false);
    int hidden = 0;
    for (std::size_t i = 0; i < written.lights.size(); ++i)
      hidden += LightAtControls(sample.rig.lights[i], {}).visible &&
                !LightAtControls(written.lights[i], {}).visible;
    std::cout << hidden << " of " << written.lights.size() << " lights hidden by the rounding\n";
    FileFigure(".mel/.vbs", written, sample);
    EXPECT_NEAR(
        FileFigure(".mel/.vbs, visibility kept", WithThreeDecimals(sample.rig, true), sample), 0,
        kPointsTolerance);
  }
}

}  // namespace
}  // namespace halvane
