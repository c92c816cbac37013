#include "rig/package_conventions.h"

#include "rig/rig_sun.h"

namespace halvane {
namespace {

constexpr RigControlSpec kControls[] = {
    {"distToOrigin", 100.0, 1.0, 5000.0, false}, {"multiplyIntensity", 1.0, 0.0, 10.0, false},
    {"saturation", 1.0, 0.0, 10.0, false},       {"hideLowIntensity", 0.01, 0.0, 10.0, false},
    {"clampIntensity", 2.0, 0.0, 100.0, false},  {"specularLevel", 1.2, 0.5, 10.0, false},
    {"shadowLevel", 0.5, 0.0, 1.5, false},       {"shadowUmbra", 0.0, 0.0, 1.0, false},
    {"enableShadows", 1.0, 0.0, 1.0, true},      {"enableArealights", 1.0, 0.0, 1.0, true},
};

long double Saturated(long double grey, float channel, double saturation) {
  return grey + (channel - grey) * saturation;
}

}  // namespace

std::span<const RigControlSpec> RigControlSpecs() {
  return kControls;
}

double ControlValue(const RigControls& c, const RigControlSpec& entry) {
  const std::string_view name = entry.name;
  if (name == "distToOrigin") return c.distToOrigin;
  if (name == "multiplyIntensity") return c.multiplyIntensity;
  if (name == "saturation") return c.saturation;
  if (name == "hideLowIntensity") return c.hideLowIntensity;
  if (name == "clampIntensity") return c.clampIntensity;
  if (name == "specularLevel") return c.specularLevel;
  if (name == "shadowLevel") return c.shadowLevel;
  if (name == "shadowUmbra") return c.shadowUmbra;
  if (name == "enableShadows") return c.enableShadows ? 1.0 : 0.0;
  return c.enableArealights ? 1.0 : 0.0;
}

LitLight LightAtControls(const RigLight& light, const RigControls& c) {
  LitLight lit;
  const long double d = c.distToOrigin;
  lit.position = {d * light.dirX, d * light.dirY, d * light.dirZ};
  lit.colour = {Saturated(light.grey, light.normR, c.saturation),
                Saturated(light.grey, light.normG, c.saturation),
                Saturated(light.grey, light.normB, c.saturation)};
  const long double multiplied = static_cast<long double>(light.intensity) * c.multiplyIntensity;
  lit.intensity = multiplied < c.clampIntensity ? multiplied : c.clampIntensity;
  lit.visible = light.intensity > c.hideLowIntensity && c.visible;
  lit.specular = light.highlight >= c.specularLevel;
  lit.shadows = light.highlight >= c.shadowLevel && c.enableShadows;
  lit.radius = c.enableArealights ? d * light.areaScale : 0.0L;
  lit.umbra = c.shadowUmbra;
  return lit;
}

Vec3 YUpLatLongDirection(const RigLight& light) {
  return {-static_cast<long double>(light.dirX), light.dirY, light.dirZ};
}

Vec3 BlenderDirection(const RigLight& light) {
  return {light.dirZ, -static_cast<long double>(light.dirX), light.dirY};
}

long double RadiantIntensity(const LitLight& light, const RigControls& c) {
  const long double d = c.distToOrigin;
  return light.intensity * d * d * kRadiantIntensityPerIrradiance;
}

std::array<long double, 3> OriginIrradiance(const Rig& rig, const RigControls& controls) {
  std::array<long double, 3> sum{};
  for (const RigLight& light : rig.lights) {
    const LitLight lit = LightAtControls(light, controls);
    if (!lit.visible) continue;
    for (std::size_t k = 0; k < 3; ++k) sum[k] += lit.intensity * lit.colour[k];
  }
  if (rig.sun)
    if (const LitLight lit = SunAtControls(*rig.sun, controls); lit.visible)
      for (std::size_t k = 0; k < 3; ++k) sum[k] += lit.intensity * lit.colour[k];
  return sum;
}

}  // namespace halvane
