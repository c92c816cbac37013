#pragma once

#include "rig/environment_irradiance.h"
#include "rig/package_conventions.h"
#include "rig/rig.h"

namespace halvane {

// A light's intensity stands for radiance times solid angle: the dome's
// points hold 8 units over the sphere's 4 pi steradians, so one unit is
// pi / 2 of radiance x steradians.
constexpr double kIntensityToEnergy = 1.5707963267948966;

// How well a rig reproduces the environment's diffuse light: the relative
// RMS difference of the irradiance over all normals and channels once the
// rig is multiplied by `scale`, the factor that makes that difference least.
struct RigError {
  double relativeRms = 0.0;  // 0.0415 for 4.15 %
  double scale = 0.0;
};

// The energy each light of `rig` sends, after the root's saturation,
// multiply, clamp, hide threshold and visibility, in radiance x steradians;
// the sun, when the rig has one, last (neither clamped nor hidden).
// The defaults are the values every writer gives the root's controls.
std::vector<RgbValue> LightEnergies(const Rig& rig, const RigControls& controls = {});

// The rig's irradiance on the environment's normals.
std::vector<RgbValue> RigIrradiance(const Rig& rig, const EnvironmentIrradiance& env,
                                    const RigControls& controls = {});

// Compares two irradiance lists of the same length.
RigError CompareIrradiance(const std::vector<RgbValue>& rig,
                           const std::vector<RgbValue>& environment);

RigError MeasureRigError(const Rig& rig, const EnvironmentIrradiance& env,
                         const RigControls& controls = {});

}  // namespace halvane
