#pragma once

#include <optional>

#include "dome/sun_region.h"
#include "rig/package_conventions.h"
#include "rig/rig.h"

namespace halvane {

// The rig's sun for a sun region of an image of `width` x `height`: the
// region's energy in intensity units at its energy centroid, its angular
// diameter as the light's angle. Throws std::invalid_argument when the size
// is not positive.
RigSun MakeRigSun(const SunRegion& region, int width, int height);

// The sun as the root's controls set it: colour after saturation, intensity
// times multiplyIntensity (never clamped, never hidden for being bright or
// dim), visible with the root, shadows with enableShadows.
LitLight SunAtControls(const RigSun& sun, const RigControls& controls);

// The rotations (radians) about X, then about Y, that turn the +Z axis
// towards `direction`: a directional light, which shines along its -Z axis,
// so rotated shines from `direction` towards the origin.
struct XyRotation {
  long double x = 0, y = 0;
};
XyRotation RotationTowards(const Vec3& direction);

constexpr long double kDegreesPerRadian = 57.295779513082320876798154814105170332L;

}  // namespace halvane
