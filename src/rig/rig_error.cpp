#include "rig/rig_error.h"

#include <cmath>
#include <stdexcept>

#include "rig/rig_sun.h"

namespace halvane {

std::vector<RgbValue> LightEnergies(const Rig& rig, const RigControls& controls) {
  std::vector<RgbValue> energies;
  for (const RigLight& light : rig.lights) {
    const LitLight lit = LightAtControls(light, controls);
    RgbValue energy{};
    if (lit.visible)
      for (std::size_t c = 0; c < 3; ++c)
        energy[c] = static_cast<double>(lit.colour[c] * lit.intensity * kIntensityToEnergy);
    energies.push_back(energy);
  }
  if (rig.sun) {
    const LitLight lit = SunAtControls(*rig.sun, controls);
    RgbValue energy{};
    if (lit.visible)
      for (std::size_t c = 0; c < 3; ++c)
        energy[c] = static_cast<double>(lit.colour[c] * lit.intensity * kIntensityToEnergy);
    energies.push_back(energy);
  }
  return energies;
}

std::vector<RgbValue> RigIrradiance(const Rig& rig, const EnvironmentIrradiance& env,
                                    const RigControls& controls) {
  std::vector<Direction> directions;
  for (const RigLight& light : rig.lights)
    directions.push_back({light.dirX, light.dirY, light.dirZ});
  if (rig.sun)
    directions.push_back({rig.sun->light.dirX, rig.sun->light.dirY, rig.sun->light.dirZ});
  const std::vector<RgbValue> energies = LightEnergies(rig, controls);
  std::vector<RgbValue> irradiance;
  irradiance.reserve(env.normals.size());
  for (const Direction& n : env.normals)
    irradiance.push_back(IrradianceOf(n, directions, energies));
  return irradiance;
}

RigError CompareIrradiance(const std::vector<RgbValue>& rig,
                           const std::vector<RgbValue>& environment) {
  if (rig.size() != environment.size())
    throw std::invalid_argument("irradiance lists of different lengths");
  double rigRig = 0, rigEnv = 0, envEnv = 0;
  for (std::size_t i = 0; i < rig.size(); ++i)
    for (std::size_t c = 0; c < 3; ++c) {
      rigRig += rig[i][c] * rig[i][c];
      rigEnv += rig[i][c] * environment[i][c];
      envEnv += environment[i][c] * environment[i][c];
    }
  RigError error;
  if (envEnv == 0) return error;  // nothing to reproduce: any rig is exact
  error.scale = rigRig > 0 ? rigEnv / rigRig : 0.0;
  double residual = 0;
  for (std::size_t i = 0; i < rig.size(); ++i)
    for (std::size_t c = 0; c < 3; ++c) {
      const double d = error.scale * rig[i][c] - environment[i][c];
      residual += d * d;
    }
  error.relativeRms = std::sqrt(residual / envEnv);
  return error;
}

RigError MeasureRigError(const Rig& rig, const EnvironmentIrradiance& env,
                         const RigControls& controls) {
  return CompareIrradiance(RigIrradiance(rig, env, controls), env.irradiance);
}

}  // namespace halvane
