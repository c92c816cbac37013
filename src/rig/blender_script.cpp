#include "rig/blender_script.h"

#include "rig/light_name.h"
#include "rig/package_conventions.h"
#include "rig/rig_sun.h"
#include "rig/shortest_number.h"

namespace halvane {
namespace {

constexpr const char* kIntroduction = R"~(#
# Run it in Blender's Text Editor (Run Script), or without a window:
#     blender -b --python-exit-code 1 -P rig.py
# It builds an Empty "ZR_Halvane" whose custom properties are the rig's
# controls (the Maya rig's names, defaults and ranges), an Empty per level
# under it, and a point light per rig light under its level. Location, colour,
# energy, shadow switch, specular factor, radius and render visibility of every light
# are drivers on the root's properties, so changing distToOrigin or saturation
# on the root updates the rig at once. Hide the root from renders to hide the
# whole rig. Visibility drives the render switch only: Blender leaves objects
# disabled in viewports out of its evaluation, drivers included, so a driven
# viewport switch could never turn a light back on. Blender lights have no
# shadow colour: shadowUmbra is kept for other tools only.
#
# The lights sit where a World whose Environment Texture shows the same image
# (equirectangular, no mapping) shows their pixels: Z up, the image centre
# towards +X, its left quarter towards +Y.
#
# Brightness: the Maya rig's point lights do not decay, Blender's fall off with
# the square of the distance. A point light of P watts lights a point at
# distance d like a Sun of strength P / (4 pi d^2), so each light gets
#     energy = 4 pi distToOrigin^2 * min(intensity * multiplyIntensity, clampIntensity)
# and lights the origin exactly as the Maya light does, whatever the dome's
# size.
#
# Every driver is a simple expression (numbers, the root's properties,
# arithmetic, comparisons, min, pi), which Blender evaluates without Python,
# so the rig works with auto-run of Python scripts disabled.

import bpy

ROOT_NAME = "ZR_Halvane"
LEVEL_COUNT = 6
)~";

constexpr const char* kBuilder = R"~(

def link(obj, parent):
    bpy.context.scene.collection.objects.link(obj)
    obj.parent = parent
    return obj


def add_driver(owner, path, index, expression, root):
    curve = owner.driver_add(path, index) if index is not None else owner.driver_add(path)
    driver = curve.driver
    driver.type = "SCRIPTED"
    for name, _, _, _ in CONTROLS:
        if name in expression:
            variable = driver.variables.new()
            variable.name = name
            variable.type = "SINGLE_PROP"
            variable.targets[0].id_type = "OBJECT"
            variable.targets[0].id = root
            variable.targets[0].data_path = '["%s"]' % name
    if "rootHidden" in expression:
        variable = driver.variables.new()
        variable.name = "rootHidden"
        variable.type = "SINGLE_PROP"
        variable.targets[0].id_type = "OBJECT"
        variable.targets[0].id = root
        variable.targets[0].data_path = "hide_render"
    driver.expression = expression


def build_root():
    root = link(bpy.data.objects.new(ROOT_NAME, None), None)
    root.empty_display_size = 3
    for name, default, low, high in CONTROLS:
        root[name] = default
        root.id_properties_ui(name).update(default=default, min=low, max=high)
    return root


def build_light(root, levels, name, level, direction, colour, grey, intensity, highlight, area):
    data = bpy.data.lights.new(name, type="POINT")
    light = link(bpy.data.objects.new(name, data), levels[level - 1])
    for axis in range(3):
        add_driver(light, "location", axis, "distToOrigin * %r" % direction[axis], root)
        add_driver(data, "color", axis,
                   "%r + (%r - %r) * saturation" % (grey, colour[axis], grey), root)
    add_driver(data, "energy", None,
               "4 * pi * distToOrigin * distToOrigin * min(%r * multiplyIntensity, clampIntensity)"
               % intensity, root)
    add_driver(light, "hide_render", None, "rootHidden or not %r > hideLowIntensity" % intensity,
               root)
    add_driver(data, "specular_factor", None, "1 if %r >= specularLevel else 0" % highlight, root)
    add_driver(data, "use_shadow", None, "%r >= shadowLevel and enableShadows" % highlight, root)
    add_driver(data, "shadow_soft_size", None, "distToOrigin * %r * enableArealights" % area, root)


def build():
    root = build_root()
    levels = [link(bpy.data.objects.new("ZR_Level_%d" % (n + 1), None), root)
              for n in range(LEVEL_COUNT)]
    for light in LIGHTS:
        build_light(root, levels, *light)
    bpy.context.view_layer.update()
    print("<ZR_Halvane>  %d lights created" % len(LIGHTS))
)~";

constexpr const char* kBuild = R"~(

build()
)~";

// With a sun the root's builder also builds the sun under the new root.
constexpr const char* kSunBuilder = R"~(

# The sun: a Sun light whose strength is the irradiance it gives,
#     energy = intensity * multiplyIntensity
# (never clamped or hidden for its brightness), turned so that it shines from
# its direction towards the origin, and shown at distToOrigin in that direction.
def build_sun(root, name, direction, colour, grey, intensity, angle, rotation):
    data = bpy.data.lights.new(name, type="SUN")
    data.angle = angle
    sun = link(bpy.data.objects.new(name, data), root)
    sun.rotation_euler = rotation
    for axis in range(3):
        add_driver(sun, "location", axis, "distToOrigin * %r" % direction[axis], root)
        add_driver(data, "color", axis,
                   "%r + (%r - %r) * saturation" % (grey, colour[axis], grey), root)
    add_driver(data, "energy", None, "%r * multiplyIntensity" % intensity, root)
    add_driver(sun, "hide_render", None, "rootHidden", root)
    add_driver(data, "use_shadow", None, "enableShadows", root)


build_dome_root = build_root


def build_root():
    root = build_dome_root()
    build_sun(root, *SUN)
    print("<ZR_Halvane>  sun created")
    return root
)~";

std::string Number(long double value) {
  return ShortestNumber(static_cast<double>(value));
}

// A Python number: switches as whole numbers, the rest as floats.
std::string PythonNumber(double value, bool isSwitch) {
  if (isSwitch) return value != 0.0 ? "1" : "0";
  std::string text = ShortestNumber(value);
  if (text.find_first_of(".e") == std::string::npos) text += ".0";
  return text;
}

void AppendControls(std::string& out) {
  out += "\n# name, default, min, max (switches hold 0 or 1)\nCONTROLS = [\n";
  for (const RigControlSpec& entry : RigControlSpecs()) {
    out += "    (\"" + std::string(entry.name) + "\", " +
           PythonNumber(entry.defaultValue, entry.isSwitch) + ", " +
           PythonNumber(entry.minValue, entry.isSwitch) + ", " +
           PythonNumber(entry.maxValue, entry.isSwitch) + "),\n";
  }
  out += "]\n";
}

void AppendLights(std::string& out, const Rig& rig, char letter) {
  out +=
      "\n# name, level, direction (x, y, z), colour at saturation 1 (r, g, b), grey,\n"
      "# intensity, image highlight, area scale\nLIGHTS = [\n";
  const bool candidate = rig.mode == RigMode::Candidate;
  for (const RigLight& light : rig.lights) {
    const Vec3 dir = BlenderDirection(light);
    // Without a chosen optimization every light goes under the first level.
    const int level = candidate ? light.level : 1;
    out += "    (\"" + MayaLightName(static_cast<int>(light.number), letter) + "\", " +
           std::to_string(level) + ", (" + Number(dir.x) + ", " + Number(dir.y) + ", " +
           Number(dir.z) + "), (" + ShortestNumber(light.normR) + ", " +
           ShortestNumber(light.normG) + ", " + ShortestNumber(light.normB) + "), " +
           ShortestNumber(light.grey) + ", " + ShortestNumber(light.intensity) + ", " +
           ShortestNumber(light.highlight) + ", " + ShortestNumber(light.areaScale) + "),\n";
  }
  out += "]\n";
}

void AppendSun(std::string& out, const RigSun& sun) {
  const Vec3 dir = BlenderDirection(sun.light);
  const XyRotation turn = RotationTowards(dir);
  out +=
      "\n# The sun: name, direction (x, y, z), colour at saturation 1 (r, g, b), grey,\n"
      "# intensity, angle (radians), rotation (x, y, z radians)\nSUN = (\"ZR_Sun\", (" +
      Number(dir.x) + ", " + Number(dir.y) + ", " + Number(dir.z) + "), (" +
      ShortestNumber(sun.light.normR) + ", " + ShortestNumber(sun.light.normG) + ", " +
      ShortestNumber(sun.light.normB) + "), " + ShortestNumber(sun.light.grey) + ", " +
      ShortestNumber(sun.light.intensity) + ", " + Number(sun.angle / kDegreesPerRadian) + ", (" +
      Number(turn.x) + ", " + Number(turn.y) + ", 0.0))\n";
}

}  // namespace

std::string BlenderScript(const Rig& rig, char letter) {
  std::string out = "# Halvane light rig for Blender 3.x and 4.x: " + PointLightsLine(rig) + ".\n";
  out += kIntroduction;
  AppendControls(out);
  AppendLights(out, rig, letter);
  if (rig.sun) AppendSun(out, *rig.sun);
  out += kBuilder;
  if (rig.sun) out += kSunBuilder;
  out += kBuild;
  return out;
}

}  // namespace halvane
