#pragma once

#include <array>
#include <span>

#include "rig/rig.h"

namespace halvane {

// The conventions the USD, Blender and Arnold rigs share: the root's controls,
// what the Maya expressions make of them, where each package puts a
// direction, and how bright a light must be there. docs/rig_conventions.md
// gives the sources.

// The root's controls at the values the Maya script gives them.
struct RigControls {
  double distToOrigin = 100.0;
  double multiplyIntensity = 1.0;
  double saturation = 1.0;
  double hideLowIntensity = 0.01;
  double clampIntensity = 2.0;
  double specularLevel = 1.2;
  double shadowLevel = 0.5;
  double shadowUmbra = 0.0;
  bool enableShadows = true;
  bool enableArealights = true;
  bool visible = true;  // the root's own visibility
};

// One control as the root declares it; switches hold 0 or 1.
struct RigControlSpec {
  const char* name;
  double defaultValue, minValue, maxValue;
  bool isSwitch;
};

// The ten controls in the order of the Maya script, with its names, defaults
// and ranges.
std::span<const RigControlSpec> RigControlSpecs();

// The value `entry` names in `controls` (switches as 0 or 1).
double ControlValue(const RigControls& controls, const RigControlSpec& entry);

struct Vec3 {
  long double x = 0, y = 0, z = 0;
};

// A light as the Maya expressions set it for some control values, in the
// rig's own frame (Y up). Exact values, rounded only where a writer stores them.
struct LitLight {
  Vec3 position;                        // distToOrigin times the direction
  std::array<long double, 3> colour{};  // grey + (colour - grey) * saturation
  long double intensity = 0;            // min(intensity * multiplyIntensity, clampIntensity)
  bool visible = false;                 // intensity above hideLowIntensity, root visible
  bool specular = false;                // highlight at least specularLevel
  bool shadows = false;                 // highlight at least shadowLevel, shadows enabled
  long double radius = 0;               // distToOrigin * area scale; 0 with area lights off
  long double umbra = 0;                // the shadow colour's grey
};

LitLight LightAtControls(const RigLight& light, const RigControls& controls);

// The light's direction in a package's frame, chosen so that the light lies
// where that package's latitude-longitude environment shows the light's pixel.
// USD's DomeLight and Arnold's skydome: Y up, the image centre towards +Z,
// its left quarter towards +X. Blender's Environment Texture: Z up, the
// centre towards +X, the left quarter towards +Y.
Vec3 YUpLatLongDirection(const RigLight& light);
Vec3 BlenderDirection(const RigLight& light);

// The brightness rule. The Maya rig's lights do not decay, so a light of
// intensity I and colour C lights the origin with I * C whatever the
// distance. Lights that fall off with the square of the distance d give the
// same at the origin when their radiant intensity is
//   I * d^2 * kRadiantIntensityPerIrradiance
// (irradiance I * C is then radiant intensity over d^2), and each package
// reads a radiant intensity in its own unit:
constexpr long double kRadiantIntensityPerIrradiance = 1.0L;
// USD SphereLight with inputs:normalize on: its radiance is intensity over
// the sphere's area 4 pi r^2, so its radiant intensity is intensity / 4.
constexpr long double kUsdIntensityPerRadiantIntensity = 4.0L;
// Blender point light: energy in watts spread over 4 pi steradians.
constexpr long double kBlenderEnergyPerRadiantIntensity =
    4.0L * 3.141592653589793238462643383279502884L;
// Arnold point light with aiNormalize on: intensity is the radiant intensity.
constexpr long double kArnoldIntensityPerRadiantIntensity = 1.0L;

// I * d^2 * kRadiantIntensityPerIrradiance for a lit light.
long double RadiantIntensity(const LitLight& light, const RigControls& controls);

// The irradiance at the origin per colour channel: the sum of intensity
// times colour over the visible lights (the sun's too), as the Maya rig without
// decay gives it.
std::array<long double, 3> OriginIrradiance(const Rig& rig, const RigControls& controls);

}  // namespace halvane
