#include "support/rig_fixtures.h"

#include <fstream>
#include <iterator>
#include <stdexcept>
#include <tuple>

namespace halvane::testing {

void SetRigPoint(Dome& dome, uint32_t index, uint16_t px, uint16_t py, double x, double y, double z,
                 float r, float g, float b, int32_t level, bool used) {
  DomePoint& p = dome.points[index];
  std::tie(p.px, p.py, p.x, p.y, p.z, p.level, p.used) = std::tuple(px, py, x, y, z, level, used);
  std::tie(p.lightR, p.lightG, p.lightB) = std::tuple(r, g, b);
}

void FillRigFixture(Dome& dome, Image& image, SearchResults& results) {
  std::tie(image.width, image.height) = std::pair(360, 180);
  std::tie(dome.subdivLevel, dome.pointIntensity, dome.pointCount) = std::tuple(4, 0.125, 4);

  SetRigPoint(dome, 1, 90, 45, 0.5, 0.7071067811865476, 0.5, 2.0f, 1.0f, 0.5f, 2, true);
  DomePoint& first = dome.points[1];
  std::tie(first.lum, first.lumSum7, first.lumSum19, first.lumSum37) =
      std::tuple(1.3f, 7.7f, 38.0f, 111.0f);
  SetRigPoint(dome, 2, 180, 90, 0.0, 0.0, 1.0, 1.0f, 1.0f, 1.0f, 0, true);
  dome.points[2].lum = 1.0f;
  SetRigPoint(dome, 3, 270, 135, -1.0, 0.0, 0.0, 1.0f, 0.0f, 0.0f, 1, false);
  dome.points[3].lum = 0.3f;
  SetRigPoint(dome, 4, 0, 0, 0.0, 1.0, 0.0, 0.0f, 0.0f, 0.0f, 1, true);
  dome.points[4].lum = 0.05f;

  results.count = 1;
  auto& decision = results.results[1].decision;
  std::tie(decision[1], decision[2], decision[3], decision[4]) = std::tuple(2, 0, 1, 1);
}

std::unique_ptr<RigFixture> MakeRigFixture() {
  auto f = std::make_unique<RigFixture>();
  FillRigFixture(f->dome, f->image, f->results);
  return f;
}

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  return {std::istreambuf_iterator<char>(in), {}};
}

std::string GoldenScript(const std::string& name) {
  return ReadText(std::string(HALVANE_TEST_DATA_DIR) + "/rig/" + name);
}

}  // namespace halvane::testing
