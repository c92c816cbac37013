#include "rig/rig_sun.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "rig/median_cut_rig.h"

namespace halvane {

RigSun MakeRigSun(const SunRegion& region, int width, int height) {
  if (width <= 0 || height <= 0)
    throw std::invalid_argument("export needs an image of positive size");
  RigSun sun;
  sun.light = EnergyLight(region.energy, region.column, region.row, width, height);
  sun.angle = region.angle;
  return sun;
}

LitLight SunAtControls(const RigSun& sun, const RigControls& c) {
  RigControls plain = c;
  plain.enableArealights = false;
  LitLight lit = LightAtControls(sun.light, plain);  // position, colour and umbra as any light's
  lit.intensity = static_cast<long double>(sun.light.intensity) * c.multiplyIntensity;
  lit.visible = c.visible;
  lit.specular = true;
  lit.shadows = c.enableShadows;
  return lit;
}

XyRotation RotationTowards(const Vec3& d) {
  // Rotating +Z about X by a, then about Y by b, gives
  // (cos a sin b, -sin a, cos a cos b).
  const long double length = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
  if (!(length > 0)) return {};
  return {std::asin(std::clamp(-d.y / length, -1.0L, 1.0L)), std::atan2(d.x, d.z)};
}

}  // namespace halvane
