#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <limits>
#include <random>
#include <regex>
#include <set>
#include <sstream>

#include "rig/arnold_script.h"
#include "rig/blender_script.h"
#include "rig/package_conventions.h"
#include "rig/shortest_number.h"
#include "rig/usd_stage.h"
#include "support/image_files.h"
#include "support/pipeline_rig.h"
#include "support/rig_fixtures.h"

namespace halvane {
namespace {

constexpr long double kPi = 3.141592653589793238462643383279502884L;

Rig FixtureRig(int row) {
  const auto f = testing::MakeRigFixture();
  Rig rig = MakeRig(f->dome, f->image, f->results, {ScriptKind::Usd, row, 100});
  rig.source = "studio.hdr";
  return rig;
}

template <typename Real>
Real ReadBack(const std::string& text) {
  Real value{};
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  EXPECT_EQ(result.ptr, text.data() + text.size()) << text;
  return value;
}

TEST(ShortestNumber, ReadsBackExactlyInTheFewestDigits) {
  EXPECT_EQ(ShortestNumber(0.1), "0.1");
  EXPECT_EQ(ShortestNumber(0.1f), "0.1");
  EXPECT_EQ(ShortestNumber(100.0), "100");
  EXPECT_EQ(ShortestNumber(-0.0), "0");
  EXPECT_EQ(ShortestNumber(1e-7), "1e-07");
  EXPECT_EQ(ShortestFixedNumber(1e-7), "0.0000001");
  EXPECT_EQ(ShortestFixedNumber(-2.5f), "-2.5");
  EXPECT_EQ(ShortestNumber(static_cast<double>(0.1f)), "0.10000000149011612");

  std::mt19937_64 random(7);
  for (int i = 0; i < 2000; ++i) {
    const double d = std::ldexp(std::uniform_real_distribution<double>(-1, 1)(random),
                                std::uniform_int_distribution<int>(-40, 40)(random));
    const float f = static_cast<float>(d);
    EXPECT_EQ(ReadBack<double>(ShortestNumber(d)), d);
    EXPECT_EQ(ReadBack<double>(ShortestFixedNumber(d)), d);
    EXPECT_EQ(ReadBack<float>(ShortestNumber(f)), f);
    EXPECT_EQ(ReadBack<float>(ShortestFixedNumber(f)), f);
  }
  EXPECT_THROW(ShortestNumber(std::numeric_limits<double>::infinity()), std::invalid_argument);
  EXPECT_THROW(ShortestFixedNumber(std::nanf("")), std::invalid_argument);
}

TEST(NewRigWriters, FixtureRigsMatchTheGoldenFiles) {
  const Rig candidate = FixtureRig(1);
  EXPECT_EQ(UsdStage(candidate, 'Q'), testing::GoldenScript("candidate.usda"));
  EXPECT_EQ(BlenderScript(candidate, 'Q'), testing::GoldenScript("candidate.py"));
  EXPECT_EQ(ArnoldScript(candidate, 'Q'), testing::GoldenScript("candidate-arnold.mel"));
  Rig plain = FixtureRig(0);
  plain.source.clear();
  EXPECT_EQ(ArnoldScript(plain, 'Q'), testing::GoldenScript("plain-arnold.mel"));
}

// The script stays away from mental ray and from the renderer setting, and
// every attribute it sets or reads is one Maya's or Arnold's documentation
// names, or one the script declares on the root itself.
TEST(NewRigWriters, ArnoldScriptUsesOnlyDocumentedAttributes) {
  const std::string script = ArnoldScript(FixtureRig(1), 'Q');
  for (const char* banned :
       {"Mayatomr", "mentalRay", "loadPlugin", "currentRenderer", "areaLight", "areaSampling"})
    EXPECT_EQ(script.find(banned), std::string::npos) << banned;

  std::set<std::string> documented;
  std::istringstream list(testing::GoldenScript("arnold_attributes.txt"));
  for (std::string line; std::getline(list, line);)
    if (!line.empty() && line[0] != '#') documented.insert(line.substr(0, line.find(' ')));
  std::set<std::string> declared;
  const std::regex declaration(R"(addAttr -ln (\w+))");
  for (std::sregex_iterator m(script.begin(), script.end(), declaration), end; m != end; ++m)
    declared.insert((*m)[1]);
  EXPECT_EQ(declared.size(), RigControlSpecs().size());

  // Light attributes go through the guarded helpers by name; root controls
  // are read as $r + "name".
  const std::regex used(R"re(zrHalvane(?:Set|Switch|SetValue)\(\$\w+, "(\w+)"|\$r \+ "(\w+)")re");
  int uses = 0;
  for (std::sregex_iterator m(script.begin(), script.end(), used), end; m != end; ++m) {
    ++uses;
    const std::string name = (*m)[1].matched ? (*m)[1].str() : (*m)[2].str();
    EXPECT_TRUE(documented.count(name) || (!(*m)[1].matched && declared.count(name)))
        << name << " is neither documented nor declared";
  }
  EXPECT_GT(uses, 20);
  // The guard itself: every helper asks attributeQuery first.
  EXPECT_NE(script.find("if (!`attributeQuery -exists -node $node $attribute`) return \"\";"),
            std::string::npos);
}

// The Maya expressions: position and radius follow the distance, colour is
// pushed away from its grey by the saturation, intensity is multiplied and
// clamped, and the switches compare the unmultiplied intensity and the image
// highlight with the thresholds.
TEST(RigConventions, LitLightFollowsTheMayaExpressions) {
  const Rig rig = FixtureRig(1);
  const RigLight& light = rig.lights.at(0);  // intensity 0.25, colour (1, 0.5, 0.25)
  RigControls c;
  c.distToOrigin = 250;
  c.saturation = 2;
  c.multiplyIntensity = 10;
  c.hideLowIntensity = 0.3;
  c.enableArealights = false;
  LitLight lit = LightAtControls(light, c);
  EXPECT_DOUBLE_EQ(static_cast<double>(lit.position.y), 250 * 0.7071067811865476);
  EXPECT_DOUBLE_EQ(static_cast<double>(lit.colour[2]), 0.6225 + (0.25 - 0.6225) * 2);
  EXPECT_EQ(lit.intensity, 2.0L);  // 2.5 clamped at 2
  EXPECT_FALSE(lit.visible);       // 0.25 is not above 0.3, whatever the multiplier
  EXPECT_EQ(lit.radius, 0.0L);
  EXPECT_FALSE(lit.specular);  // highlight 1.1 below 1.2
  EXPECT_TRUE(lit.shadows);
  c.enableShadows = false;
  c.visible = true;
  c.hideLowIntensity = 0.2;
  c.specularLevel = 1.1;
  lit = LightAtControls(light, c);
  EXPECT_TRUE(lit.visible && lit.specular && !lit.shadows);

  // The irradiance at the origin: intensity times colour over the visible lights.
  const auto e = OriginIrradiance(rig, RigControls{});
  EXPECT_DOUBLE_EQ(static_cast<double>(e[0]), 0.25 * 1.0);
  EXPECT_DOUBLE_EQ(static_cast<double>(e[1]), 0.25 * 0.5);
}

// The direction in which a package's latitude-longitude environment shows
// the centre of pixel (column, row) of a width x height image, as its
// documentation states it. USD's DomeLight (OpenEXR's lat-long map): the
// left edge has longitude +pi, the right edge -pi, the top row latitude
// +pi/2; longitude 0 points to +Z, pi/2 to +X; Y is up.
Vec3 OpenExrDirection(long double column, long double row, int width, int height) {
  const long double longitude = kPi - 2 * kPi * (column + 0.5L) / width;
  const long double latitude = kPi / 2 - kPi * (row + 0.5L) / height;
  return {std::cos(latitude) * std::sin(longitude), std::sin(latitude),
          std::cos(latitude) * std::cos(longitude)};
}

// Blender's Environment Texture: Z is up (the manual); the image's centre
// column looks along +X and its left quarter along +Y (measured with Blender,
// and checked by rendering in the consumer tests).
Vec3 BlenderEnvironmentDirection(long double column, long double row, int width, int height) {
  const long double azimuth = kPi - 2 * kPi * (column + 0.5L) / width;  // from +X towards +Y
  const long double elevation = kPi / 2 - kPi * (row + 0.5L) / height;
  return {std::cos(elevation) * std::cos(azimuth), std::cos(elevation) * std::sin(azimuth),
          std::sin(elevation)};
}

long double DegreesBetween(const Vec3& a, const Vec3& b) {
  const long double dot = a.x * b.x + a.y * b.y + a.z * b.z;
  const long double norms =
      std::sqrt((a.x * a.x + a.y * a.y + a.z * a.z) * (b.x * b.x + b.y * b.y + b.z * b.z));
  return std::acos(std::clamp(dot / norms, -1.0L, 1.0L)) * 180 / kPi;
}

// A one-bright-pixel image: its brightest light points where each package's
// environment shows the pixel, to within the spacing of the dome's points.
TEST(RigConventions, BrightPixelLightPointsWhereEachPackageShowsThePixel) {
  testing::TempDir dir;
  for (const auto& [column, row] : {std::pair{20, 22}, std::pair{90, 40}, std::pair{64, 10}}) {
    testing::WriteBrightPixelImage(dir.Path("pixel.hdr"), column, row);
    const Rig rig = testing::PipelineRig(dir.Path("pixel.hdr"), ScriptKind::Usd, false);
    const RigLight* brightest = nullptr;
    long double most = -1;
    for (const RigLight& light : rig.lights) {
      const long double seen = light.intensity * std::max({light.normR, light.normG, light.normB});
      if (seen > most) most = seen, brightest = &light;
    }
    ASSERT_NE(brightest, nullptr);
    EXPECT_LT(
        DegreesBetween(YUpLatLongDirection(*brightest), OpenExrDirection(column, row, 128, 64)), 9)
        << column << ", " << row;
    EXPECT_LT(DegreesBetween(BlenderDirection(*brightest),
                             BlenderEnvironmentDirection(column, row, 128, 64)),
              9)
        << column << ", " << row;
  }
}

}  // namespace
}  // namespace halvane
