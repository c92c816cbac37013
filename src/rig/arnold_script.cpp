#include "rig/arnold_script.h"

#include "rig/light_name.h"
#include "rig/package_conventions.h"
#include "rig/rig_sun.h"
#include "rig/shortest_number.h"

namespace halvane {
namespace {

constexpr const char* kIntroduction = R"~(//
// Paste it into the Script Editor (MEL) or source it. It loads no plug-in and
// leaves the renderer as it is. Each light's expression is assembled when the
// script runs, from the attributes the light has: where Arnold (MtoA) is not
// loaded, the Arnold attributes are simply left out.
//
// The lights sit where an aiSkydomeLight with the same image (format latlong,
// no rotation) shows their pixels: Y up, the image centre towards +Z.
//
// Brightness: Arnold's point lights fall off with the square of the distance,
// whatever decayRate says, so each light's intensity is
//     distToOrigin^2 * min(intensity * multiplyIntensity, clampIntensity)
// and it lights the origin as the mental ray rig's light does without decay.
// aiNormalize is on, so aiRadius softens shadows without changing brightness;
// decayRate is quadratic so that Maya's viewport agrees.

// The line that sets $node.$attribute to $value, if the node has the attribute.
global proc string zrHalvaneSet(string $node, string $attribute, string $value)
{
    if (!`attributeQuery -exists -node $node $attribute`) return "";
    return $node + "." + $attribute + " = " + $value + ";\n";
}

// The line that sets $node.$attribute to 1 where $condition holds, else 0.
global proc string zrHalvaneSwitch(string $node, string $attribute, string $condition)
{
    if (!`attributeQuery -exists -node $node $attribute`) return "";
    string $target = $node + "." + $attribute;
    return "if (" + $condition + ") {" + $target + " = 1;} else {" + $target + " = 0;}\n";
}

// Sets a fixed value, if the node has the attribute.
global proc zrHalvaneSetValue(string $node, string $attribute, float $value)
{
    if (`attributeQuery -exists -node $node $attribute`) setAttr ($node + "." + $attribute) $value;
}

// Creates one light under $level with its expression on the root's controls.
// The numbers come as text so the expression holds them exactly.
global proc zrHalvaneLight(string $root, string $level, string $name,
    string $dx, string $dy, string $dz, string $red, string $green, string $blue,
    string $grey, string $intensity, string $highlight, string $area, int $samples)
{
    string $light = `shadingNode -asLight pointLight -name $name`;
    if (`nodeType $light` != "transform") {
        string $parents[] = `listRelatives -parent $light`;
        $light = $parents[0];
    }
    string $moved[] = `parent $light $level`;
    $light = $moved[0];
    string $shapes[] = `listRelatives -shapes $light`;
    string $shape = $shapes[0];
    sets -edit -forceElement defaultLightSet $light;
    zrHalvaneSetValue($shape, "decayRate", 2);
    zrHalvaneSetValue($shape, "aiNormalize", 1);
    zrHalvaneSetValue($shape, "aiSamples", $samples);

    string $r = $root + ".";
    string $e = "";
    $e += zrHalvaneSet($light, "translateX", $r + "distToOrigin * " + $dx);
    $e += zrHalvaneSet($light, "translateY", $r + "distToOrigin * " + $dy);
    $e += zrHalvaneSet($light, "translateZ", $r + "distToOrigin * " + $dz);
    $e += zrHalvaneSet($shape, "colorR", $grey + " + (" + $red + " - " + $grey + ") * " + $r + "saturation");
    $e += zrHalvaneSet($shape, "colorG", $grey + " + (" + $green + " - " + $grey + ") * " + $r + "saturation");
    $e += zrHalvaneSet($shape, "colorB", $grey + " + (" + $blue + " - " + $grey + ") * " + $r + "saturation");
    $e += zrHalvaneSet($shape, "intensity", INTENSITY_FACTOR$r + "distToOrigin * " + $r + "distToOrigin * min(" + $intensity + " * " + $r + "multiplyIntensity, " + $r + "clampIntensity)");
    $e += zrHalvaneSwitch($light, "visibility", "(" + $intensity + " > " + $r + "hideLowIntensity) && " + $r + "visibility");
    $e += zrHalvaneSwitch($shape, "emitSpecular", $highlight + " >= " + $r + "specularLevel");
    $e += zrHalvaneSwitch($shape, "aiCastShadows", "(" + $highlight + " >= " + $r + "shadowLevel) && " + $r + "enableShadows");
    $e += zrHalvaneSet($shape, "shadColorR", $r + "shadowUmbra");
    $e += zrHalvaneSet($shape, "shadColorG", $r + "shadowUmbra");
    $e += zrHalvaneSet($shape, "shadColorB", $r + "shadowUmbra");
    $e += zrHalvaneSet($shape, "aiRadius", $r + "distToOrigin * " + $area + " * " + $r + "enableArealights");
    expression -name ($name + "_EXP") -string $e;
    print ("<ZR_Halvane>  Light " + $light + " created...\n");
}

// create root locator and add attributes
string $made[] = `spaceLocator -p 0 0 0 -n "ZR_Halvane"`;
string $root = $made[0];
print ("<ZR_Halvane>  Root node \"" + $root + "\" created...\n");
scale -r 3 3 3 $root;
)~";

// A number for an expression: the shortest exact text, negative ones in
// brackets so that "* (-0.5)" reads as a product.
std::string ExpressionNumber(long double value) {
  const std::string text = ShortestFixedNumber(static_cast<double>(value));
  return text[0] == '-' ? "(" + text + ")" : text;
}
std::string ExpressionNumber(float value) {
  const std::string text = ShortestFixedNumber(value);
  return text[0] == '-' ? "(" + text + ")" : text;
}

std::string Quoted(const std::string& text) {
  return "\"" + text + "\"";
}

// "2 * " when the brightness rule's constant is not one, else nothing.
std::string IntensityFactor() {
  const long double factor = kRadiantIntensityPerIrradiance * kArnoldIntensityPerRadiantIntensity;
  return factor == 1.0L ? ""
                        : Quoted(ShortestFixedNumber(static_cast<double>(factor)) + " * ") + " + ";
}

std::string Introduction() {
  std::string text = kIntroduction;
  const std::string marker = "INTENSITY_FACTOR";
  text.replace(text.find(marker), marker.size(), IntensityFactor());
  return text;
}

void AppendControls(std::string& out) {
  for (const RigControlSpec& control : RigControlSpecs()) {
    const std::string name = control.name;
    if (control.isSwitch) {
      out += "addAttr -ln " + name + " -at bool -dv " + (control.defaultValue != 0 ? "1" : "0") +
             " $root;\n";
    } else {
      out += "addAttr -ln " + name + " -at double -min " + ShortestFixedNumber(control.minValue) +
             " -max " + ShortestFixedNumber(control.maxValue) + " -dv " +
             ShortestFixedNumber(control.defaultValue) + " $root;\n";
    }
    out += "setAttr -e -keyable true ($root + \"." + name + "\");\n";
  }
}

void AppendLevels(std::string& out) {
  out +=
      "\n// create optimization level locators\n"
      "string $levels[];\n"
      "int $i;\n"
      "for ($i = 1; $i <= 6; $i++) {\n"
      "    string $level[] = `spaceLocator -p 0 0 0 -n (\"ZR_Level_\" + $i)`;\n"
      "    string $moved[] = `parent $level[0] $root`;\n"
      "    $levels[$i - 1] = $moved[0];\n"
      "}\n";
}

void AppendLight(std::string& out, const RigLight& light, bool candidate, char letter) {
  const Vec3 dir = YUpLatLongDirection(light);
  // Without a chosen optimization every light goes under the first level.
  const int level = candidate ? light.level : 1;
  out += "zrHalvaneLight($root, $levels[" + std::to_string(level - 1) + "], " +
         Quoted(MayaLightName(static_cast<int>(light.number), letter)) + ", " +
         Quoted(ExpressionNumber(dir.x)) + ", " + Quoted(ExpressionNumber(dir.y)) + ", " +
         Quoted(ExpressionNumber(dir.z)) + ", " + Quoted(ExpressionNumber(light.normR)) + ", " +
         Quoted(ExpressionNumber(light.normG)) + ", " + Quoted(ExpressionNumber(light.normB)) +
         ", " + Quoted(ExpressionNumber(static_cast<long double>(light.grey))) + ", " +
         Quoted(ExpressionNumber(static_cast<long double>(light.intensity))) + ", " +
         Quoted(ExpressionNumber(light.highlight)) + ", " +
         Quoted(ExpressionNumber(light.areaScale)) + ", " + std::to_string(light.areaSamples) +
         ");\n";
}

constexpr const char* kSunProcedure = R"~(
// The sun: a directional light under the root, turned to shine from its
// direction. Its intensity is the irradiance it gives,
//     intensity * multiplyIntensity
// (never clamped or hidden for its brightness); aiAngle and lightAngle are its
// angular diameter, and aiNormalize keeps the brightness whatever the angle.
global proc zrHalvaneSun(string $root, string $name,
    string $dx, string $dy, string $dz, string $red, string $green, string $blue,
    string $grey, string $intensity, float $rotateX, float $rotateY, float $angle)
{
    string $light = `shadingNode -asLight directionalLight -name $name`;
    if (`nodeType $light` != "transform") {
        string $parents[] = `listRelatives -parent $light`;
        $light = $parents[0];
    }
    string $moved[] = `parent $light $root`;
    $light = $moved[0];
    string $shapes[] = `listRelatives -shapes $light`;
    string $shape = $shapes[0];
    sets -edit -forceElement defaultLightSet $light;
    setAttr ($light + ".rotate") $rotateX $rotateY 0;
    zrHalvaneSetValue($shape, "lightAngle", $angle);
    zrHalvaneSetValue($shape, "aiAngle", $angle);
    zrHalvaneSetValue($shape, "aiNormalize", 1);

    string $r = $root + ".";
    string $e = "";
    $e += zrHalvaneSet($light, "translateX", $r + "distToOrigin * " + $dx);
    $e += zrHalvaneSet($light, "translateY", $r + "distToOrigin * " + $dy);
    $e += zrHalvaneSet($light, "translateZ", $r + "distToOrigin * " + $dz);
    $e += zrHalvaneSet($shape, "colorR", $grey + " + (" + $red + " - " + $grey + ") * " + $r + "saturation");
    $e += zrHalvaneSet($shape, "colorG", $grey + " + (" + $green + " - " + $grey + ") * " + $r + "saturation");
    $e += zrHalvaneSet($shape, "colorB", $grey + " + (" + $blue + " - " + $grey + ") * " + $r + "saturation");
    $e += zrHalvaneSet($shape, "intensity", $intensity + " * " + $r + "multiplyIntensity");
    $e += zrHalvaneSwitch($light, "visibility", $r + "visibility");
    $e += zrHalvaneSwitch($shape, "aiCastShadows", $r + "enableShadows");
    $e += zrHalvaneSet($shape, "shadColorR", $r + "shadowUmbra");
    $e += zrHalvaneSet($shape, "shadColorG", $r + "shadowUmbra");
    $e += zrHalvaneSet($shape, "shadColorB", $r + "shadowUmbra");
    expression -name ($name + "_EXP") -string $e;
    print ("<ZR_Halvane>  Light " + $light + " created...\n");
}
)~";

void AppendSun(std::string& out, const RigSun& sun) {
  const RigLight& light = sun.light;
  const Vec3 dir = YUpLatLongDirection(light);
  const XyRotation turn = RotationTowards(dir);
  out += kSunProcedure;
  out += "zrHalvaneSun($root, \"ZR_Sun\", " + Quoted(ExpressionNumber(dir.x)) + ", " +
         Quoted(ExpressionNumber(dir.y)) + ", " + Quoted(ExpressionNumber(dir.z)) + ", " +
         Quoted(ExpressionNumber(light.normR)) + ", " + Quoted(ExpressionNumber(light.normG)) +
         ", " + Quoted(ExpressionNumber(light.normB)) + ", " +
         Quoted(ExpressionNumber(static_cast<long double>(light.grey))) + ", " +
         Quoted(ExpressionNumber(static_cast<long double>(light.intensity))) + ", " +
         ExpressionNumber(turn.x * kDegreesPerRadian) + ", " +
         ExpressionNumber(turn.y * kDegreesPerRadian) + ", " +
         ExpressionNumber(static_cast<long double>(sun.angle)) + ");\n";
}

}  // namespace

std::string ArnoldScript(const Rig& rig, char letter) {
  std::string out = "// Halvane light rig for Maya with Arnold: " + PointLightsLine(rig) + ".\n";
  out += Introduction();
  AppendControls(out);
  AppendLevels(out);
  out += "\n// create the lights\n";
  const bool candidate = rig.mode == RigMode::Candidate;
  for (const RigLight& light : rig.lights) AppendLight(out, light, candidate, letter);
  if (rig.sun) AppendSun(out, *rig.sun);
  out += "select -clear;\n";
  return out;
}

}  // namespace halvane
