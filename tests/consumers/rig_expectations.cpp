#include "rig_expectations.h"

#include <charconv>
#include <vector>

#include "rig/light_name.h"
#include "rig/package_conventions.h"
#include "rig/rig_sun.h"

namespace halvane::testing {
namespace {

// JSON numbers: the shortest text of the value as stored (float or double).
std::string Json(double v) {
  char buffer[64];
  return std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, v).ptr);
}
std::string JsonFloat(long double v) {
  return Json(static_cast<double>(static_cast<float>(v)));
}
std::string JsonDouble(long double v) {
  return Json(static_cast<double>(v));
}
std::string Quote(const std::string& s) {
  return "\"" + s + "\"";
}
std::string Triple(const std::string& a, const std::string& b, const std::string& c) {
  return "[" + a + ", " + b + ", " + c + "]";
}

// One attribute: "name": ["type", value].
std::string Attribute(const std::string& name, const std::string& type, const std::string& value) {
  return Quote(name) + ": [" + Quote(type) + ", " + value + "]";
}

std::string Join(const std::vector<std::string>& items, const std::string& separator) {
  std::string out;
  for (std::size_t i = 0; i < items.size(); ++i) out += (i ? separator : "") + items[i];
  return out;
}

std::string Prim(const std::string& path, const std::string& type,
                 const std::vector<std::string>& attributes, bool shadowApi = false) {
  return "{\"path\": " + Quote(path) + ", \"type\": " + Quote(type) +
         ", \"apiSchemas\": " + (shadowApi ? "[\"ShadowAPI\"]" : "[]") + ", \"attributes\": {" +
         Join(attributes, ", ") + "}}";
}

int LevelOf(const Rig& rig, const RigLight& light) {
  return rig.mode == RigMode::Candidate ? light.level : 1;
}

std::string UsdLight(const Rig& rig, const RigLight& light, char letter) {
  const RigControls controls;
  const LitLight lit = LightAtControls(light, controls);
  const Vec3 dir = YUpLatLongDirection(light);
  const long double d = controls.distToOrigin;
  const long double intensity = lit.intensity * d * d;  // radiant intensity, times 4 below
  const std::string umbra = JsonFloat(lit.umbra);
  const std::string path = "/ZR_Halvane/ZR_Level_" + std::to_string(LevelOf(rig, light)) + "/" +
                           MayaLightName(static_cast<int>(light.number), letter);
  return Prim(
      path, "SphereLight",
      {
          Attribute(
              "inputs:color", "color3f",
              Triple(JsonFloat(lit.colour[0]), JsonFloat(lit.colour[1]), JsonFloat(lit.colour[2]))),
          Attribute("inputs:intensity", "float", JsonFloat(4 * intensity)),
          Attribute("inputs:normalize", "bool", "true"),
          Attribute("inputs:radius", "float", JsonFloat(lit.radius)),
          Attribute("inputs:shadow:color", "color3f", Triple(umbra, umbra, umbra)),
          Attribute("inputs:shadow:enable", "bool", lit.shadows ? "true" : "false"),
          Attribute("inputs:specular", "float", lit.specular ? "1" : "0"),
          Attribute("treatAsPoint", "bool", lit.radius == 0 ? "true" : "false"),
          Attribute("visibility", "token", lit.visible ? "\"inherited\"" : "\"invisible\""),
          Attribute("xformOp:translate", "double3",
                    Triple(JsonDouble(d * dir.x), JsonDouble(d * dir.y), JsonDouble(d * dir.z))),
          Attribute("xformOpOrder", "token[]", "[\"xformOp:translate\"]"),
          Attribute("halvane:areaScale", "float", JsonFloat(light.areaScale)),
          Attribute("halvane:colour", "color3f",
                    Triple(JsonFloat(light.normR), JsonFloat(light.normG), JsonFloat(light.normB))),
          Attribute("halvane:direction", "double3",
                    Triple(JsonDouble(dir.x), JsonDouble(dir.y), JsonDouble(dir.z))),
          Attribute("halvane:grey", "double", JsonDouble(light.grey)),
          Attribute("halvane:highlight", "float", JsonFloat(light.highlight)),
          Attribute("halvane:intensity", "double", JsonDouble(light.intensity)),
          Attribute("halvane:level", "int", std::to_string(light.level)),
      },
      true);
}

std::string UsdSun(const RigSun& sun) {
  const LitLight lit = SunAtControls(sun, RigControls{});
  const Vec3 dir = YUpLatLongDirection(sun.light);
  const XyRotation turn = RotationTowards(dir);
  const std::string umbra = JsonFloat(lit.umbra);
  return Prim("/ZR_Halvane/ZR_Sun", "DistantLight",
              {
                  Attribute("inputs:angle", "float", JsonFloat(sun.angle)),
                  Attribute("inputs:color", "color3f",
                            Triple(JsonFloat(lit.colour[0]), JsonFloat(lit.colour[1]),
                                   JsonFloat(lit.colour[2]))),
                  Attribute("inputs:intensity", "float", JsonFloat(lit.intensity)),
                  Attribute("inputs:normalize", "bool", "true"),
                  Attribute("inputs:shadow:color", "color3f", Triple(umbra, umbra, umbra)),
                  Attribute("inputs:shadow:enable", "bool", lit.shadows ? "true" : "false"),
                  Attribute("visibility", "token", lit.visible ? "\"inherited\"" : "\"invisible\""),
                  Attribute("xformOp:rotateXYZ", "float3",
                            Triple(JsonFloat(turn.x * kDegreesPerRadian),
                                   JsonFloat(turn.y * kDegreesPerRadian), "0")),
                  Attribute("xformOpOrder", "token[]", "[\"xformOp:rotateXYZ\"]"),
                  Attribute("halvane:colour", "color3f",
                            Triple(JsonFloat(sun.light.normR), JsonFloat(sun.light.normG),
                                   JsonFloat(sun.light.normB))),
                  Attribute("halvane:direction", "double3",
                            Triple(JsonDouble(dir.x), JsonDouble(dir.y), JsonDouble(dir.z))),
                  Attribute("halvane:grey", "double", JsonDouble(sun.light.grey)),
                  Attribute("halvane:intensity", "double", JsonDouble(sun.light.intensity)),
              },
              true);
}

// The sun in one state of the controls: a Sun light whose strength is its
// irradiance, shining along -direction.
std::string BlenderSun(const RigSun& sun, const RigControls& c) {
  const LitLight lit = SunAtControls(sun, c);
  const Vec3 dir = BlenderDirection(sun.light);
  const long double d = c.distToOrigin;
  return "{\"location\": " +
         Triple(JsonDouble(d * dir.x), JsonDouble(d * dir.y), JsonDouble(d * dir.z)) +
         ", \"direction\": " + Triple(JsonDouble(dir.x), JsonDouble(dir.y), JsonDouble(dir.z)) +
         ", \"colour\": " +
         Triple(JsonDouble(lit.colour[0]), JsonDouble(lit.colour[1]), JsonDouble(lit.colour[2])) +
         ", \"energy\": " + JsonDouble(lit.intensity) +
         ", \"hidden\": " + (lit.visible ? "false" : "true") +
         ", \"shadow\": " + (lit.shadows ? "true" : "false") + "}";
}

std::string IrradianceJson(const Rig& rig, const RigControls& controls) {
  const auto e = OriginIrradiance(rig, controls);
  return Triple(JsonDouble(e[0]), JsonDouble(e[1]), JsonDouble(e[2]));
}

std::string BlenderLight(const Rig& rig, const RigLight& light, const RigControls& c, char letter) {
  const LitLight lit = LightAtControls(light, c);
  const Vec3 dir = BlenderDirection(light);
  const long double d = c.distToOrigin;
  // A point light of P watts lights the origin with P / (4 pi d^2).
  const long double energy = 4 * 3.141592653589793238L * d * d * lit.intensity;
  return "{\"name\": " + Quote(MayaLightName(static_cast<int>(light.number), letter)) +
         ", \"parent\": " + Quote("ZR_Level_" + std::to_string(LevelOf(rig, light))) +
         ", \"location\": " +
         Triple(JsonDouble(d * dir.x), JsonDouble(d * dir.y), JsonDouble(d * dir.z)) +
         ", \"colour\": " +
         Triple(JsonDouble(lit.colour[0]), JsonDouble(lit.colour[1]), JsonDouble(lit.colour[2])) +
         ", \"energy\": " + JsonDouble(energy) +
         ", \"hidden\": " + (lit.visible ? "false" : "true") +
         ", \"specular\": " + (lit.specular ? "1" : "0") +
         ", \"shadow\": " + (lit.shadows ? "true" : "false") +
         ", \"radius\": " + JsonDouble(lit.radius) + "}";
}

std::string BlenderState(const Rig& rig, const RigControls& c, const std::string& set,
                         char letter) {
  std::vector<std::string> lights;
  for (const RigLight& light : rig.lights) lights.push_back(BlenderLight(rig, light, c, letter));
  const std::string sun = rig.sun ? ", \"sun\": " + BlenderSun(*rig.sun, c) : "";
  return "{\"set\": {" + set + "}, \"irradiance\": " + IrradianceJson(rig, c) + sun +
         ", \"lights\": [\n  " + Join(lights, ",\n  ") + "]}";
}

}  // namespace

std::string UsdExpectations(const Rig& rig, char letter) {
  const RigControls controls;
  std::vector<std::string> root;
  for (const RigControlSpec& entry : RigControlSpecs()) {
    const double value = ControlValue(controls, entry);
    root.push_back(
        entry.isSwitch
            ? Attribute("halvane:" + std::string(entry.name), "bool", value != 0 ? "true" : "false")
            : Attribute("halvane:" + std::string(entry.name), "double", Json(value)));
  }
  root.push_back(Attribute("halvane:lightCount", "int", std::to_string(rig.lights.size())));
  if (!rig.source.empty()) root.push_back(Attribute("halvane:source", "string", Quote(rig.source)));

  std::vector<std::string> prims{Prim("/ZR_Halvane", "Xform", root)};
  for (int level = 1; level <= 6; ++level) {
    prims.push_back(Prim("/ZR_Halvane/ZR_Level_" + std::to_string(level), "Xform", {}));
    for (const RigLight& light : rig.lights)
      if (LevelOf(rig, light) == level) prims.push_back(UsdLight(rig, light, letter));
  }
  if (rig.sun) prims.push_back(UsdSun(*rig.sun));
  return "{\"defaultPrim\": \"ZR_Halvane\", \"upAxis\": \"Y\", \"metersPerUnit\": 0.01,\n"
         "\"documentationStart\": \"Halvane light rig: " +
         std::to_string(rig.lights.size()) +
         " lights\",\n\"irradiance\": " + IrradianceJson(rig, controls) + ",\n\"prims\": [\n" +
         Join(prims, ",\n") + "]}\n";
}

std::string BlenderExpectations(const Rig& rig, char letter) {
  std::vector<std::string> controls;
  for (const RigControlSpec& entry : RigControlSpecs())
    controls.push_back(
        "{\"name\": " + Quote(entry.name) + ", \"default\": " + Json(entry.defaultValue) +
        ", \"min\": " + Json(entry.minValue) + ", \"max\": " + Json(entry.maxValue) + "}");
  RigControls changed;
  changed.distToOrigin = 250;
  changed.saturation = 0.5;
  RigControls hidden = changed;
  hidden.multiplyIntensity = 40;  // past the clamp for most lights
  hidden.hideLowIntensity = 0.3;
  hidden.specularLevel = 0.5;
  hidden.enableShadows = false;
  hidden.enableArealights = false;
  const std::string sun = rig.sun ? "\"sun\": {\"name\": \"ZR_Sun\", \"angle\": " +
                                        JsonDouble(rig.sun->angle / kDegreesPerRadian) + "},\n"
                                  : "";
  return "{\"root\": \"ZR_Halvane\", " + sun + "\"controls\": [" + Join(controls, ", ") +
         "],\n\"states\": [\n" + BlenderState(rig, RigControls{}, "", letter) + ",\n" +
         BlenderState(rig, changed, "\"distToOrigin\": 250.0, \"saturation\": 0.5", letter) +
         ",\n" +
         BlenderState(rig, hidden,
                      "\"multiplyIntensity\": 40.0, \"hideLowIntensity\": 0.3, "
                      "\"specularLevel\": 0.5, \"enableShadows\": 0, \"enableArealights\": 0",
                      letter) +
         "]}\n";
}

}  // namespace halvane::testing
