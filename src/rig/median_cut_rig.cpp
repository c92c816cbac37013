#include "rig/median_cut_rig.h"

#include <cmath>
#include <stdexcept>

#include "dome/start_points.h"
#include "rig/environment_irradiance.h"
#include "rig/rig_error.h"

namespace halvane {
namespace {

// Samples per side of a level-1 light on the finer grids.
constexpr int kMedianCutAreaSamples = 2;

void SetColour(RigLight& light, const std::array<double, 3>& energy) {
  long double c[3];
  for (std::size_t k = 0; k < 3; ++k)
    c[k] = static_cast<long double>(energy[k]) / kIntensityToEnergy;
  float peak = static_cast<float>(c[0]);
  if (static_cast<float>(c[1]) > peak) peak = static_cast<float>(c[1]);
  if (static_cast<float>(c[2]) > peak) peak = static_cast<float>(c[2]);
  if (peak > 0.0f) {
    light.normR = static_cast<float>(c[0] / peak);
    light.normG = static_cast<float>(c[1] / peak);
    light.normB = static_cast<float>(c[2] / peak);
  }
  light.peak = peak > 0.0f ? peak : 1.0f;
  light.intensity = peak > 0.0f ? peak : 0.0;  // a region without light gives none
  light.grey = static_cast<double>(0.3L * light.normR + 0.59L * light.normG + 0.11L * light.normB);
}

void SetPlace(RigLight& light, double column, double row, int width, int height) {
  const Direction d = DirectionOfImagePosition(column, row, width, height);
  light.dirX = d.x;
  light.dirY = d.y;
  light.dirZ = d.z;
  int px = 0, py = 0;
  DirectionToPixel(d.x, d.y, d.z, width, height, px, py);
  light.rotY = static_cast<double>(static_cast<long double>(px) / width * 360.0L - 180.0L);
  light.rotX = static_cast<double>(static_cast<long double>(py) / height * 180.0L - 90.0L);
}

}  // namespace

RigLight EnergyLight(const std::array<double, 3>& energy, double column, double row, int width,
                     int height) {
  RigLight light;
  SetColour(light, energy);
  SetPlace(light, column, row, width, height);
  return light;
}

Rig MakeMedianCutRig(const std::vector<MedianCutLight>& lights, int imageWidth, int imageHeight,
                     ScriptKind kind, int lightDistance) {
  if (imageWidth <= 0 || imageHeight <= 0)
    throw std::invalid_argument("export needs an image of positive size");
  Rig rig;
  rig.kind = kind;
  rig.mode = RigMode::Candidate;
  rig.lightDistance = lightDistance;
  for (std::size_t i = 0; i < lights.size(); ++i) {
    RigLight light =
        EnergyLight(lights[i].energy, lights[i].column, lights[i].row, imageWidth, imageHeight);
    light.number = static_cast<uint32_t>(i + 1);
    light.level = 1;
    light.highlight = static_cast<float>(lights[i].meanLuminance);
    light.areaScale = static_cast<float>(kMedianCutAreaPerRootSolidAngle *
                                         std::sqrt(static_cast<long double>(lights[i].solidAngle)));
    light.areaSamples = kMedianCutAreaSamples;
    rig.lights.push_back(light);
  }
  return rig;
}

}  // namespace halvane
