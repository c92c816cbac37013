#include "optimize/result_lights.h"

namespace halvane {
namespace {

// Sum of r, g, b, lum over the members of a collapse of `level` around
// point j, one rounding per addition.
void ApplyLight(Dome& dome, uint32_t j, uint8_t level) {
  DomePoint& p = dome.points[j];
  float r = 0, g = 0, b = 0, lum = 0;
  const auto add = [](float acc, float v) {
    return static_cast<float>(static_cast<long double>(acc) + v);
  };
  for (std::size_t k = 1; k <= p.memberCount[level]; ++k) {
    const DomePoint& m = dome.points[static_cast<std::size_t>(p.members[k])];
    r = add(r, m.r);
    g = add(g, m.g);
    b = add(b, m.b);
    lum = add(lum, m.lum);
  }
  p.used = level != 0;
  p.lightR = r;
  p.lightG = g;
  p.lightB = b;
  p.lightLum = lum;
  p.level = level;
}

}  // namespace

void ApplyResultLights(Dome& dome, const SearchResult& result) {
  for (uint32_t j = 1; j <= dome.pointCount; ++j) ApplyLight(dome, j, result.decision[j]);
}

}  // namespace halvane
