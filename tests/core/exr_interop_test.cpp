// Reads OpenEXR files written by other software: Blender's world lighting
// environments (CC0, Debian's blender-data), converted by OpenImageIO's
// oiiotool into several layouts and into Radiance files of the same picture.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>

#include "support/image_files.h"
#include "support/session_fixture.h"
#include "workflow/apply_colour.h"
#include "workflow/load_image.h"
#include "workflow/place_points.h"

namespace halvane {
namespace {

const std::string kWorlds = "/usr/share/blender/datafiles/studiolights/world/";

// The conversions, each an oiiotool command between the source and -o.
const std::map<std::string, std::string> kLayouts = {
    {"piz-half", "-d half --compression piz"},
    {"zip-float-tiled", "-d float --tile 64 64 --compression zip"},
    {"dwaa-half", "-d half --compression dwaa"},
    {"rle-half-rgba", "--ch R,G,B,A=1.0 -d half --compression rle"},
    {"zip-float-y", "--ch R --chnames Y -d float --compression zip"},
    {"half-window", "--crop 600x300+200+100 -d half --compression piz"},
};

bool Succeeds(const std::string& command) {
  return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

// The files are converted when a test first asks for them.
class RealExrFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!Succeeds("command -v oiiotool"))
      GTEST_SKIP() << "oiiotool (Debian's openimageio-tools) is not installed";
    if (!std::filesystem::exists(kWorlds + "city.exr"))
      GTEST_SKIP() << "Blender's world environments (Debian's blender-data) are not installed";
  }

  // The world converted to the layout, as .exr or as its Radiance copy.
  std::string Path(const std::string& world, const std::string& layout,
                   const std::string& extension) {
    const std::string exr = folder_.Path(world + "-" + layout + ".exr");
    const std::string hdr = folder_.Path(world + "-" + layout + ".hdr");
    if (!std::filesystem::exists(exr)) {
      Succeeds("oiiotool " + kWorlds + world + ".exr --clamp:min=0 " + kLayouts.at(layout) +
               " -o " + exr);
      // Negative values (lossy compression brings a few back) as our reader
      // reads them: 0; oiiotool would write their magnitude.
      Succeeds("oiiotool " + exr + " --clamp:min=0 -o " + hdr);
    }
    return extension == ".exr" ? exr : hdr;
  }
  static ReadResult ReadFile(const std::string& path) {
    FileSource source(path);
    const ImageReader reader = path.ends_with(".exr") ? ReadExr : ReadHdr;
    return testing::Decoded(reader(source, ImageLimits{}));
  }

  testing::TempDir folder_;
};

double LinearOf(float stored) {
  return std::pow(static_cast<double>(stored), 2.2);
}

// Every pixel of `exr` within the precision of the Radiance file's shared
// exponent (8 bits of mantissa for the brightest channel) of `hdr`.
void ExpectSamePicture(const Image& exr, const Image& hdr, const std::string& what) {
  ASSERT_EQ(exr.width, hdr.width) << what;
  ASSERT_EQ(exr.height, hdr.height) << what;
  for (std::size_t i = 0; i + 3 <= 3 * static_cast<std::size_t>(exr.width) * exr.height; i += 3) {
    const double brightest = std::max(
        {LinearOf(hdr.pixels[i]), LinearOf(hdr.pixels[i + 1]), LinearOf(hdr.pixels[i + 2])});
    for (std::size_t k = 0; k < 3; ++k)
      ASSERT_NEAR(LinearOf(exr.pixels[i + k]), LinearOf(hdr.pixels[i + k]),
                  brightest * (3.0 / 256) + 1e-30)
          << what << " pixel " << i / 3 << " channel " << k;
  }
}

TEST_F(RealExrFiles, EveryLayoutReadsAsItsRadianceCopy) {
  for (const char* world : {"city", "night"})
    for (const auto& [name, options] : kLayouts) {
      if (name == "zip-float-y" || name == "half-window") continue;  // below
      ExpectSamePicture(ReadFile(Path(world, name, ".exr")).image,
                        ReadFile(Path(world, name, ".hdr")).image, std::string(world) + " " + name);
    }
}

TEST_F(RealExrFiles, LuminanceAndDataWindow) {
  // Y holds the float file's red channel: grey of exactly those values.
  const Image grey = ReadFile(Path("city", "zip-float-y", ".exr")).image;
  const Image colour = ReadFile(Path("city", "zip-float-tiled", ".exr")).image;
  ASSERT_EQ(grey.pixels.size(), colour.pixels.size());
  for (std::size_t i = 0; i + 3 < grey.pixels.size(); i += 3)
    for (std::size_t k = 0; k < 3; ++k) ASSERT_EQ(grey.pixels[i + k], colour.pixels[i + 2]) << i;

  // The crop keeps the display window: the picture inside it, black around.
  const Image window = ReadFile(Path("city", "half-window", ".exr")).image;
  const Image whole = ReadFile(Path("city", "piz-half", ".exr")).image;
  ASSERT_EQ(window.width, 1024);
  ASSERT_EQ(window.height, 512);
  for (int y = 0; y < 512; ++y)
    for (int x = 0; x < 1024; ++x) {
      const bool inside = x >= 200 && x < 800 && y >= 100 && y < 400;
      const std::size_t i = 3 * (static_cast<std::size_t>(y) * 1024 + x);
      ASSERT_EQ(window.pixels[i + 1], inside ? whole.pixels[i + 1] : 0.0f) << x << "," << y;
    }
}

// The colour step's points of a file, ordered by their place on the dome (the
// step sorts them by their colours).
std::vector<std::array<double, 6>> PointColours(const std::string& path) {
  auto session = MakeSession();
  ControlModel controls;
  testing::TestHost host;
  StartSession(*session, controls, host);
  host.AnswerDialog(path);
  EXPECT_TRUE(LoadImage(*session, controls, host).done()) << path;
  PlacePoints(*session, controls, host);
  ApplyColour(*session, controls, host);
  std::vector<std::array<double, 6>> points;
  for (uint32_t i = 1; i <= session->dome.pointCount; ++i) {
    const DomePoint& p = session->dome.points[i];
    points.push_back({p.x, p.y, p.z, p.r, p.g, p.b});
  }
  std::sort(points.begin(), points.end());
  return points;
}

TEST_F(RealExrFiles, TheExrAndItsRadianceCopyGiveTheSamePoints) {
  for (const char* world : {"city", "night"}) {
    const auto fromExr = PointColours(Path(world, "piz-half", ".exr"));
    const auto fromHdr = PointColours(Path(world, "piz-half", ".hdr"));
    ASSERT_EQ(fromExr.size(), 642u);
    ASSERT_EQ(fromExr.size(), fromHdr.size());
    for (std::size_t i = 0; i < fromExr.size(); ++i) {
      for (std::size_t k = 0; k < 3; ++k) ASSERT_EQ(fromExr[i][k], fromHdr[i][k]);
      // The shared exponent's precision is relative to the brightest channel.
      const double brightest = std::max({1.0, fromHdr[i][3], fromHdr[i][4], fromHdr[i][5]});
      for (std::size_t k = 3; k < 6; ++k)
        EXPECT_NEAR(fromExr[i][k], fromHdr[i][k], 0.02 * brightest) << world << " point " << i;
    }
  }
}

}  // namespace
}  // namespace halvane
