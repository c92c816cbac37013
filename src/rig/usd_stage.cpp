#include "rig/usd_stage.h"

#include "rig/light_name.h"
#include "rig/package_conventions.h"
#include "rig/rig_sun.h"
#include "rig/shortest_number.h"

namespace halvane {
namespace {

constexpr int kLevelCount = 6;

// Centimetres, like Maya's default unit, so positions read as in the Maya rig.
constexpr const char* kMetersPerUnit = "0.01";

std::string Number(long double value) {
  return ShortestNumber(static_cast<double>(value));
}
std::string Single(long double value) {
  return ShortestNumber(static_cast<float>(value));
}
std::string Tuple(const std::string& a, const std::string& b, const std::string& c) {
  return "(" + a + ", " + b + ", " + c + ")";
}
std::string Flag(bool on) {
  return on ? "1" : "0";
}

// A USD string literal: backslash, quote and control characters escaped.
std::string Quoted(const std::string& text) {
  std::string out = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (c == '\n') {
      out += "\\n";
    } else if (static_cast<unsigned char>(c) < 0x20) {
      out += ' ';
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::string SunDocumentation(const Rig& rig) {
  if (!rig.sun) return "";
  return "\nThe sun is the DistantLight ZR_Sun, normalized, so its inputs:intensity is the"
         " irradiance it gives: the same I * C as a dome light, never clamped or hidden.";
}

std::string Documentation(const Rig& rig) {
  std::string from = rig.source.empty() ? "" : " from " + rig.source;
  for (char& c : from)
    if (c == '"' || c == '\\' || static_cast<unsigned char>(c) < 0x20) c = '_';
  return "Halvane light rig: " + std::to_string(rig.lights.size()) + " lights" + from +
         ".\n"
         "The lights sit where a DomeLight with the same image shows their pixels (Y up,"
         " OpenEXR latitude-longitude orientation).\n"
         "Intensity: SphereLights with inputs:normalize on, whose radiant intensity is"
         " inputs:intensity / 4, so a light of intensity I and colour C at distance d lights"
         " the origin with I * C / (4 * d^2); intensity 4 at distance 1 gives irradiance 1,"
         " the light a normalized DistantLight of intensity 1 gives. Each light gives the"
         " origin what the Maya rig's light gives without decay.\n"
         "Values are those of the root's default controls (the halvane: attributes of"
         " ZR_Halvane); each light's halvane: attributes hold what the controls act on." +
         SunDocumentation(rig);
}

void AppendHeader(std::string& out, const Rig& rig) {
  out += "#usda 1.0\n(\n";
  out += "    defaultPrim = \"ZR_Halvane\"\n";
  out += "    doc = \"\"\"" + Documentation(rig) + "\"\"\"\n";
  out += "    metersPerUnit = " + std::string(kMetersPerUnit) + "\n";
  out += "    upAxis = \"Y\"\n)\n\n";
}

void AppendControls(std::string& out, const Rig& rig, const RigControls& controls) {
  for (const RigControlSpec& entry : RigControlSpecs()) {
    const double value = ControlValue(controls, entry);
    out += entry.isSwitch ? "    custom bool halvane:" : "    custom double halvane:";
    out += entry.name;
    out += " = " + (entry.isSwitch ? Flag(value != 0.0) : ShortestNumber(value)) + "\n";
  }
  out += "    custom int halvane:lightCount = " + std::to_string(rig.lights.size()) + "\n";
  if (!rig.source.empty()) out += "    custom string halvane:source = " + Quoted(rig.source) + "\n";
}

void AppendLight(std::string& out, const RigLight& light, const RigControls& controls,
                 char letter) {
  const LitLight lit = LightAtControls(light, controls);
  const Vec3 dir = YUpLatLongDirection(light);
  const long double d = controls.distToOrigin;
  const std::string in = "            ";
  const std::string umbra = Single(lit.umbra);

  out += "        def SphereLight \"" + MayaLightName(static_cast<int>(light.number), letter) +
         "\" (\n            prepend apiSchemas = [\"ShadowAPI\"]\n        )\n        {\n";
  out += in + "color3f inputs:color = " +
         Tuple(Single(lit.colour[0]), Single(lit.colour[1]), Single(lit.colour[2])) + "\n";
  out += in + "float inputs:intensity = " +
         Single(RadiantIntensity(lit, controls) * kUsdIntensityPerRadiantIntensity) + "\n";
  out += in + "bool inputs:normalize = 1\n";
  out += in + "float inputs:radius = " + Single(lit.radius) + "\n";
  out += in + "color3f inputs:shadow:color = " + Tuple(umbra, umbra, umbra) + "\n";
  out += in + "bool inputs:shadow:enable = " + Flag(lit.shadows) + "\n";
  out += in + "float inputs:specular = " + Flag(lit.specular) + "\n";
  out += in + "bool treatAsPoint = " + Flag(lit.radius == 0) + "\n";
  out += in + "token visibility = " + (lit.visible ? "\"inherited\"" : "\"invisible\"") + "\n";
  out += in + "double3 xformOp:translate = " +
         Tuple(Number(d * dir.x), Number(d * dir.y), Number(d * dir.z)) + "\n";
  out += in + "uniform token[] xformOpOrder = [\"xformOp:translate\"]\n";
  out += in + "custom float halvane:areaScale = " + ShortestNumber(light.areaScale) + "\n";
  out +=
      in + "custom color3f halvane:colour = " +
      Tuple(ShortestNumber(light.normR), ShortestNumber(light.normG), ShortestNumber(light.normB)) +
      "\n";
  out += in + "custom double3 halvane:direction = " +
         Tuple(Number(dir.x), Number(dir.y), Number(dir.z)) + "\n";
  out += in + "custom double halvane:grey = " + ShortestNumber(light.grey) + "\n";
  out += in + "custom float halvane:highlight = " + ShortestNumber(light.highlight) + "\n";
  out += in + "custom double halvane:intensity = " + ShortestNumber(light.intensity) + "\n";
  out += in + "custom int halvane:level = " + std::to_string(light.level) + "\n";
  out += "        }\n";
}

// The sun: a normalized DistantLight, whose intensity is its irradiance, turned
// so that its -Z axis points from the sun to the origin.
void AppendSun(std::string& out, const RigSun& sun, const RigControls& controls) {
  const LitLight lit = SunAtControls(sun, controls);
  const Vec3 dir = YUpLatLongDirection(sun.light);
  const XyRotation turn = RotationTowards(dir);
  const std::string in = "        ";
  const std::string umbra = Single(lit.umbra);
  out +=
      "\n    def DistantLight \"ZR_Sun\" (\n        prepend apiSchemas = [\"ShadowAPI\"]\n    )\n"
      "    {\n";
  out += in + "float inputs:angle = " + Single(sun.angle) + "\n";
  out += in + "color3f inputs:color = " +
         Tuple(Single(lit.colour[0]), Single(lit.colour[1]), Single(lit.colour[2])) + "\n";
  out += in + "float inputs:intensity = " + Single(lit.intensity) + "\n";
  out += in + "bool inputs:normalize = 1\n";
  out += in + "color3f inputs:shadow:color = " + Tuple(umbra, umbra, umbra) + "\n";
  out += in + "bool inputs:shadow:enable = " + Flag(lit.shadows) + "\n";
  out += in + "token visibility = " + (lit.visible ? "\"inherited\"" : "\"invisible\"") + "\n";
  out += in + "float3 xformOp:rotateXYZ = " +
         Tuple(Single(turn.x * kDegreesPerRadian), Single(turn.y * kDegreesPerRadian), "0") + "\n";
  out += in + "uniform token[] xformOpOrder = [\"xformOp:rotateXYZ\"]\n";
  out += in + "custom color3f halvane:colour = " +
         Tuple(ShortestNumber(sun.light.normR), ShortestNumber(sun.light.normG),
               ShortestNumber(sun.light.normB)) +
         "\n";
  out += in + "custom double3 halvane:direction = " +
         Tuple(Number(dir.x), Number(dir.y), Number(dir.z)) + "\n";
  out += in + "custom double halvane:grey = " + ShortestNumber(sun.light.grey) + "\n";
  out += in + "custom double halvane:intensity = " + ShortestNumber(sun.light.intensity) + "\n";
  out += "    }\n";
}

}  // namespace

std::string UsdStage(const Rig& rig, char letter) {
  const RigControls controls;
  const bool candidate = rig.mode == RigMode::Candidate;
  std::string out;
  AppendHeader(out, rig);
  out += "def Xform \"ZR_Halvane\"\n{\n";
  AppendControls(out, rig, controls);
  for (int level = 1; level <= kLevelCount; ++level) {
    out += "\n    def Xform \"ZR_Level_" + std::to_string(level) + "\"\n    {\n";
    bool first = true;
    for (const RigLight& light : rig.lights) {
      // Without a chosen optimization every light goes under the first level.
      if ((candidate ? light.level : 1) != level) continue;
      if (!first) out += "\n";
      first = false;
      AppendLight(out, light, controls, letter);
    }
    out += "    }\n";
  }
  if (rig.sun) AppendSun(out, *rig.sun, controls);
  out += "}\n";
  return out;
}

}  // namespace halvane
