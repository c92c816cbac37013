#include "rig/rig.h"

#include <stdexcept>

namespace halvane {
namespace {

// Without a chosen result each writer has a fixed sample count, and the
// XSI area size depends on the subdivision level alone.
constexpr int kPlainMayaSamples = 3;
constexpr int kPlainXsiSamples = 2;

// Angular spacing of neighbouring points at a sphere subdivision level.
long double AreaSpacing(int subdivLevel) {
  switch (subdivLevel) {
    case 2:
      return 0.62L;
    case 3:
      return 0.33L;
    case 4:
      return 0.17L;
    case 5:
      return 0.09L;
    default:
      return 1.2L;
  }
}

long double PlainXsiAreaScale(int subdivLevel) {
  switch (subdivLevel) {
    case 2:
      return 0.31L;
    case 3:
      return 0.165L;
    case 4:
      return 0.075L;
    case 5:
      return 0.045L;
    default:
      return 0.6L;  // level 1, and like AreaSpacing any other value
  }
}

// Only 1..6 name a group; any other stored level (0 for points never part of
// a chosen result) counts as a single point, level 1.
int EffectiveLevel(int32_t storedLevel) {
  return storedLevel >= 1 && storedLevel <= 6 ? storedLevel : 1;
}

void SetColour(RigLight& light, const DomePoint& p) {
  float peak = p.lightR;
  if (p.lightG > peak) peak = p.lightG;
  if (p.lightB > peak) peak = p.lightB;
  if (peak > 0.0f) {
    light.normR = static_cast<float>(static_cast<long double>(p.lightR) / peak);
    light.normG = static_cast<float>(static_cast<long double>(p.lightG) / peak);
    light.normB = static_cast<float>(static_cast<long double>(p.lightB) / peak);
  } else {
    light.normR = p.lightR;
    light.normG = p.lightG;
    light.normB = p.lightB;
    peak = 1.0f;
  }
  light.peak = peak;
  light.grey = static_cast<double>(0.3L * light.normR + 0.59L * light.normG + 0.11L * light.normB);
}

void SetRotation(RigLight& light, const DomePoint& p, const Image& image) {
  if (image.width <= 0 || image.height <= 0)
    throw std::invalid_argument("export needs an image of positive size");
  light.rotY = static_cast<double>(static_cast<long double>(p.px) / image.width * 360.0L - 180.0L);
  light.rotX = static_cast<double>(static_cast<long double>(p.py) / image.height * 180.0L - 90.0L);
}

float HighlightForLevel(const DomePoint& p, int level) {
  switch (level) {
    case 1:
      return p.lum;
    case 2:
      return static_cast<float>(p.lumSum7 / 7.0L);
    case 3:
      return static_cast<float>(p.lumSum19 / 19.0L);
    default:
      return static_cast<float>(p.lumSum37 / 37.0L);
  }
}

int CandidateSamples(int level, int subdivLevel) {
  if (subdivLevel <= 0) return 5;  // the quotient would be unbounded
  const long double q = static_cast<long double>(level) / subdivLevel;
  if (q >= 1.0L) return 5;
  if (q >= 0.75L) return 4;
  if (q >= 0.5L) return 3;
  return 2;
}

long double LevelWidth(int level) {
  return level * 0.75L - 0.3L;
}

void SetArea(RigLight& light, int subdivLevel, RigMode mode, ScriptKind kind) {
  if (mode == RigMode::Candidate) {
    light.areaScale = static_cast<float>(LevelWidth(light.level) * AreaSpacing(subdivLevel));
    light.areaSamples = CandidateSamples(light.level, subdivLevel);
  } else if (kind != ScriptKind::Xsi) {  // the new writers size them like Maya
    light.areaScale = static_cast<float>(LevelWidth(light.level) * 1.2L);
    light.areaSamples = kPlainMayaSamples;
  } else {
    light.areaScale = static_cast<float>(PlainXsiAreaScale(subdivLevel));
    light.areaSamples = kPlainXsiSamples;
  }
}

RigLight MakeLight(const Rig& rig, const Dome& dome, const Image& image, uint32_t index) {
  const DomePoint& p = dome.points[index];
  RigLight light;
  light.number = index;
  light.level = EffectiveLevel(p.level);
  SetColour(light, p);
  light.intensity = static_cast<double>(static_cast<long double>(light.peak) * dome.pointIntensity);
  SetRotation(light, p, image);
  light.dirX = p.x;
  light.dirY = p.y;
  light.dirZ = p.z;
  light.highlight = rig.mode == RigMode::Candidate ? HighlightForLevel(p, light.level) : p.lum;
  SetArea(light, dome.subdivLevel, rig.mode, rig.kind);
  return light;
}

}  // namespace

Rig MakeRig(const Dome& dome, const Image& image, const SearchResults& results,
            const RigOptions& options) {
  Rig rig;
  rig.kind = options.kind;
  rig.subdivLevel = dome.subdivLevel;
  rig.lightDistance = options.lightDistance;
  const int row = options.selectedRow;
  const bool candidate = results.count > 0 && row >= 1 && row <= results.count;
  rig.mode = candidate ? RigMode::Candidate : RigMode::Plain;
  for (uint32_t i = 1; i <= dome.pointCount; ++i) {
    if (!dome.points[i].used) continue;
    if (candidate && results.results[static_cast<std::size_t>(row)].decision[i] == 0) continue;
    rig.lights.push_back(MakeLight(rig, dome, image, i));
  }
  return rig;
}

std::string PointLightsLine(const Rig& rig) {
  std::string line = std::to_string(rig.lights.size()) + " point lights";
  if (rig.source.empty()) return line;
  std::string source = rig.source;
  for (char& c : source)
    if (static_cast<unsigned char>(c) < 0x20) c = '_';
  return line + " from " + source;
}

}  // namespace halvane
