#include "rig/maya_script.h"

#include "rig/light_name.h"
#include "rig/rig_sun.h"
#include "rig/script_lines.h"
#include "rig/script_number.h"

namespace halvane {
namespace {

constexpr const char* kMayaHeader[] = {
    R"~(// check, if mental ray is loaded - do so, if false)~",
    R"~(if(`pluginInfo -q -l -n Mayatomr`){print("<ZR_Halvane>  Mentalray plugin loaded...\n");} else{loadPlugin Mayatomr;})~",
    R"~(setAttr defaultRenderGlobals.currentRenderer -type "string" mentalRay;)~",
    R"~(rendererChanged;)~",
    R"~(print("<ZR_Halvane>  Switched to Mentalray...\n");)~",
    "",
    R"~(// check, if attribute editor is selected - do so, if false)~",
    R"~(if(`isAttributeEditorVisible`){print("<ZR_Halvane>  Atribute Editor is present...\n");} else{openAEWindow;})~",
    "",
    R"~(// create root locator and add attributes)~",
    R"~(string $createTemp[] = eval ("spaceLocator -p 0 0 0 -n ZR_Halvane");)~",
    R"~(print ("<ZR_Halvane>  Root node \"" + $createTemp[0] + "\" created...\n");)~",
    R"~(string $LDRootLocator = $createTemp[0];)~",
    R"~(scale -r 3 3 3 $LDRootLocator;)~",
    "",
    R"~(eval ("addAttr -ln distToOrigin -at double -min 1 -max 5000 -dv 100 " + $LDRootLocator);)~",
    R"~(eval ("setAttr -e -keyable true " + $LDRootLocator + ".distToOrigin");)~",
    R"~(eval ("addAttr -ln multiplyIntensity -at double -min 0 -max 10 -dv 1 " + $LDRootLocator);)~",
    R"~(eval ("setAttr -e -keyable true " + $LDRootLocator + ".multiplyIntensity");)~",
    R"~(eval ("addAttr -ln saturation -at double -min 0 -max 10 -dv 1 " + $LDRootLocator);)~",
    R"~(eval ("setAttr -e -keyable true " + $LDRootLocator + ".saturation");)~",
    R"~(eval ("addAttr -ln hideLowIntensity -at double -min 0 -max 10 -dv 0.01 " + $LDRootLocator);)~",
    R"~(eval ("setAttr -e -keyable true " + $LDRootLocator + ".hideLowIntensity");)~",
    R"~(eval ("addAttr -ln clampIntensity -at double -min 0 -max 100 -dv 2 " + $LDRootLocator);)~",
    R"~(eval ("setAttr -e -keyable true " + $LDRootLocator + ".clampIntensity");)~",
    R"~(eval ("addAttr -ln specularLevel -at double  -min 0.5 -max 10 -dv 1.2 " + $LDRootLocator);)~",
    R"~(eval ("setAttr -e -keyable true " + $LDRootLocator + ".specularLevel");)~",
    R"~(eval ("addAttr -ln shadowLevel -at double -min 0 -max 1.5 -dv 0.5 " + $LDRootLocator);)~",
    R"~(eval ("setAttr -e -keyable true " + $LDRootLocator + ".shadowLevel");)~",
    R"~(eval ("addAttr -ln shadowUmbra -at double -min 0 -max 1 -dv 0 " + $LDRootLocator);)~",
    R"~(eval ("setAttr -e -keyable true " + $LDRootLocator + ".shadowUmbra");)~",
    R"~(eval ("addAttr -ln enableShadows -at bool -dv 1 " + $LDRootLocator);)~",
    R"~(eval ("setAttr -e -keyable true " + $LDRootLocator + ".enableShadows");)~",
    R"~(eval ("addAttr -ln enableArealights -at bool -dv 1 " + $LDRootLocator);)~",
    R"~(eval ("setAttr -e -keyable true " + $LDRootLocator + ".enableArealights");)~",
    "",
};

void AppendLevelLocators(std::string& out) {
  AddLine(out, "// create optimization level locators");
  for (int level = 1; level <= 6; ++level)
    AddLine(out, R"~(eval ("spaceLocator -p 0 0 0 -n ZR_Level_)~", std::to_string(level),
            R"~(");)~");
  AddLine(out,
          "select ZR_Level_1 ZR_Level_2 ZR_Level_3 ZR_Level_4 ZR_Level_5 ZR_Level_6 ZR_Halvane;");
  AddLine(out, "parent;");
  AddLine(out, "");
}

// The one expression that ties the light to the root's attributes. The "\n"
// inside are MEL string escapes, so the whole expression is one line.
void AppendExpression(std::string& out, const RigLight& light, const std::string& n) {
  const std::string dirX = FormatScriptNumber(light.dirX);
  const std::string dirY = FormatScriptNumber(light.dirY);
  const std::string dirZ = FormatScriptNumber(light.dirZ);
  const std::string grey = FormatScriptNumber(light.grey);
  const std::string normR = FormatScriptNumber(light.normR);
  const std::string normG = FormatScriptNumber(light.normG);
  const std::string normB = FormatScriptNumber(light.normB);
  const std::string intensity = FormatScriptNumber(light.intensity);
  const std::string highlight = FormatScriptNumber(light.highlight);
  const std::string area = FormatScriptNumber(light.areaScale);

  out += R"~(expression -n (")~" + n + R"~(_EXP") -s (")~";
  out += n + ".tx = ZR_Halvane.distToOrigin * " + dirX + R"~(;\n)~";
  out += n + ".ty = ZR_Halvane.distToOrigin * " + dirY + R"~(;\n)~";
  out += n + ".tz = ZR_Halvane.distToOrigin * " + dirZ + R"~(;\n\n)~";
  out += n + ".colorR = " + grey + " + ( " + normR + " - " + grey +
         R"~( ) * ZR_Halvane.saturation;\n)~";
  out += n + ".colorG = " + grey + " + ( " + normG + " - " + grey +
         R"~( ) * ZR_Halvane.saturation;\n)~";
  out += n + ".colorB = " + grey + " + ( " + normB + " - " + grey +
         R"~( ) * ZR_Halvane.saturation;\n\n)~";
  out += n + ".intensity = min(" + intensity +
         R"~( * ZR_Halvane.multiplyIntensity, ZR_Halvane.clampIntensity);\n\nif(()~" + intensity +
         " > ZR_Halvane.hideLowIntensity) && ZR_Halvane.visibility){" + n +
         ".visibility = 1;}else{" + n + R"~(.visibility = 0;}\n)~";
  out += "if(" + highlight + " >= ZR_Halvane.specularLevel){" + n +
         "Shape.emitSpecular = 1;}else{" + n + R"~(Shape.emitSpecular = 0;}\n)~";
  out += "if((" + highlight + " >= ZR_Halvane.shadowLevel) && ZR_Halvane.enableShadows){" + n +
         "Shape.useRayTraceShadows = 1;}else{" + n + R"~(Shape.useRayTraceShadows = 0;}\n\n)~";
  out += n + R"~(Shape.shadColorR = ZR_Halvane.shadowUmbra;\n)~";
  out += n + R"~(Shape.shadColorG = ZR_Halvane.shadowUmbra;\n)~";
  out += n + R"~(Shape.shadColorB = ZR_Halvane.shadowUmbra;\n\n)~";
  out += n + ".sx = ZR_Halvane.distToOrigin * " + area + R"~(;\n)~";
  out += n + ".sy = ZR_Halvane.distToOrigin * " + area + R"~(;\n)~";
  out += n + ".sz = ZR_Halvane.distToOrigin * " + area + R"~(;\n\n)~";
  out += R"~(");)~";
  out.append(kScriptLineEnd);
}

void AppendLight(std::string& out, const RigLight& light, bool candidate, char letter) {
  const std::string n = MayaLightName(static_cast<int>(light.number), letter);
  // Without a chosen optimization every light goes under the first level.
  const std::string group = std::to_string(candidate ? light.level : 1);
  const std::string samples = std::to_string(light.areaSamples);

  AddLine(out, "// creation of ", n);
  AddLine(out, R"~(eval ("defaultPointLight(1, 1,1,1, 0, 0, 0,0,0, 1)"); rename )~", n, "; parent ",
          n, " ZR_Level_", group, ";");
  AddLine(out, R"~(print ("<ZR_Halvane>  Light )~", n, R"~( created...\n");)~");
  AddLine(out, R"~(setAttr ")~", n, R"~(Shape.areaLight" 1;)~");
  AddLine(out, R"~(setAttr ")~", n, R"~(Shape.areaType" 1;)~");
  AddLine(out, R"~(setAttr ")~", n, R"~(Shape.areaSamplingU" )~", samples, ";");
  AddLine(out, R"~(setAttr ")~", n, R"~(Shape.areaSamplingV" )~", samples, ";");
  AddLine(out, "rotate -a -ws ", FormatScriptNumber(light.rotX), " ",
          FormatScriptNumber(light.rotY), " 0 ", n, ";");
  AppendExpression(out, light, n);
  AddLine(out, "progressBar -edit -step 1 $gMainProgressBar;");
  AddLine(out, R"~(updateAE (")~", n, R"~(");)~");
  AddLine(out, "");
}

// The sun: a directional light under the root, turned to shine from its
// direction, whose intensity is its irradiance; the root's multiply,
// saturation, visibility and shadow switch act on it, not the clamp or the
// hide threshold.
void AppendSun(std::string& out, const RigSun& sun) {
  const RigLight& light = sun.light;
  const XyRotation turn = RotationTowards({light.dirX, light.dirY, light.dirZ});
  const std::string n = "ZR_Sun", shape = "ZR_SunShape";
  const std::string grey = FormatScriptNumber(light.grey);
  AddLine(out, "// creation of ", n);
  AddLine(out, "createNode transform -n ", n, " -p ZR_Halvane;");
  AddLine(out, "createNode directionalLight -n ", shape, " -p ", n, ";");
  AddLine(out, "sets -edit -forceElement defaultLightSet ", n, ";");
  AddLine(out, R"~(print ("<ZR_Halvane>  Light )~", n, R"~( created...
");)~");
  AddLine(out, R"~(setAttr ")~", shape, R"~(.lightAngle" )~", FormatScriptNumber(sun.angle), ";");
  AddLine(out, "rotate -a -ws ",
          FormatScriptNumber(static_cast<double>(turn.x * kDegreesPerRadian)), " ",
          FormatScriptNumber(static_cast<double>(turn.y * kDegreesPerRadian)), " 0 ", n, ";");
  out += R"~(expression -n (")~" + n + R"~(_EXP") -s (")~";
  out += n + ".tx = ZR_Halvane.distToOrigin * " + FormatScriptNumber(light.dirX) + R"~(;\n)~";
  out += n + ".ty = ZR_Halvane.distToOrigin * " + FormatScriptNumber(light.dirY) + R"~(;\n)~";
  out += n + ".tz = ZR_Halvane.distToOrigin * " + FormatScriptNumber(light.dirZ) + R"~(;\n\n)~";
  const std::pair<const char*, float> channels[] = {
      {"R", light.normR}, {"G", light.normG}, {"B", light.normB}};
  for (const auto& [channel, value] : channels)
    out += shape + ".color" + channel + " = " + grey + " + ( " + FormatScriptNumber(value) + " - " +
           grey + R"~( ) * ZR_Halvane.saturation;\n)~";
  out += shape + ".intensity = " + FormatScriptNumber(light.intensity) +
         R"~( * ZR_Halvane.multiplyIntensity;\n\n)~";
  out +=
      "if(ZR_Halvane.visibility){" + n + ".visibility = 1;}else{" + n + R"~(.visibility = 0;}\n)~";
  out += "if(ZR_Halvane.enableShadows){" + shape + ".useRayTraceShadows = 1;}else{" + shape +
         R"~(.useRayTraceShadows = 0;}\n\n)~";
  for (const char* channel : {"R", "G", "B"})
    out += shape + ".shadColor" + channel + R"~( = ZR_Halvane.shadowUmbra;\n)~";
  out += R"~(");)~";
  out.append(kScriptLineEnd);
  AddLine(out, "");
}

}  // namespace

std::string MayaScript(const Rig& rig, char letter) {
  std::string out;
  for (const char* line : kMayaHeader) AddLine(out, line);
  AppendLevelLocators(out);
  for (const RigLight& light : rig.lights)
    AppendLight(out, light, rig.mode == RigMode::Candidate, letter);
  if (rig.sun) AppendSun(out, *rig.sun);
  AddLine(out, "progressBar -edit -endProgress $gMainProgressBar;");
  AddLine(out, "select -cl;");
  return out;
}

}  // namespace halvane
