#include "support/rig_fixtures.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace halvane::testing {

void SetRigPoint(Dome& dome, uint32_t index, uint16_t px, uint16_t py, double x, double y, double z,
                 float r, float g, float b, int32_t level, bool used) {
  DomePoint& p = dome.points[index];
  p.px = px;
  p.py = py;
  p.x = x;
  p.y = y;
  p.z = z;
  p.lightR = r;
  p.lightG = g;
  p.lightB = b;
  p.level = level;
  p.used = used;
}

void FillRigFixture(Dome& dome, Image& image, SearchResults& results) {
  image.width = 360;
  image.height = 180;
  dome.subdivLevel = 4;
  dome.pointIntensity = 0.125;
  dome.pointCount = 4;

  SetRigPoint(dome, 1, 90, 45, 0.5, 0.7071067811865476, 0.5, 2.0f, 1.0f, 0.5f, 2, true);
  dome.points[1].lum = 1.3f;
  dome.points[1].lumSum7 = 7.7f;
  dome.points[1].lumSum19 = 38.0f;
  dome.points[1].lumSum37 = 111.0f;
  SetRigPoint(dome, 2, 180, 90, 0.0, 0.0, 1.0, 1.0f, 1.0f, 1.0f, 0, true);
  dome.points[2].lum = 1.0f;
  SetRigPoint(dome, 3, 270, 135, -1.0, 0.0, 0.0, 1.0f, 0.0f, 0.0f, 1, false);
  dome.points[3].lum = 0.3f;
  SetRigPoint(dome, 4, 0, 0, 0.0, 1.0, 0.0, 0.0f, 0.0f, 0.0f, 1, true);
  dome.points[4].lum = 0.05f;

  results.count = 1;
  auto& decision = results.results[1].decision;
  decision[1] = 2;
  decision[2] = 0;
  decision[3] = 1;
  decision[4] = 1;
}

std::unique_ptr<RigFixture> MakeRigFixture() {
  auto f = std::make_unique<RigFixture>();
  FillRigFixture(f->dome, f->image, f->results);
  return f;
}

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string GoldenScript(const std::string& name) {
  return ReadText(std::string(HALVANE_TEST_DATA_DIR) + "/rig/" + name);
}

}  // namespace halvane::testing
