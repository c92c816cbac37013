#include "rig/xsi_script.h"

#include "rig/light_name.h"
#include "rig/rig_sun.h"
#include "rig/script_lines.h"
#include "rig/script_number.h"

namespace halvane {
namespace {

constexpr const char* kAddParameter = R"~(SIAddCustomParameter ParentNull & ".Light_CTRL", )~";

void AppendLevelNulls(std::string& out) {
  for (int level = 1; level <= 6; ++level) {
    const std::string n = std::to_string(level);
    AddLine(out, "set ParentNull", n, R"~(=GetPrim ("Null", "L)~", n, R"~(", ParentNull ))~");
  }
}

// Lines 2 to 14 of a light block, the same in both modes: rotation, position,
// colour, intensity, visibility, specular, shadow and umbra expressions.
void AppendExpressions(std::string& out, const RigLight& light) {
  const std::string grey = FormatScriptNumber(light.grey);
  const std::string intensity = FormatScriptNumber(light.intensity);
  const std::string highlight = FormatScriptNumber(light.highlight);
  constexpr const char* kDistanceTimes =
      R"~(", ParentNull & ".Light_CTRL.Light_Distance_To_Origin________________________ *  )~";
  constexpr const char* kTimesSaturation =
      R"~( ) * " & ParentNull & ".Light_CTRL.Light_Color_Saturation__________________________ ")~";

  AddLine(out, "Rotate Newlight, ", FormatScriptNumber(light.rotX), ",",
          FormatScriptNumber(light.rotY),
          ", 0, siAbsolute, siLocal, siObj, siXYZ, , , , , , , , 0");
  AddLine(out, R"~(SetExpr Newlight & ".kine.local.posx)~", kDistanceTimes,
          FormatScriptNumber(light.dirX), R"~( ")~");
  AddLine(out, R"~(SetExpr Newlight & ".kine.local.posy)~", kDistanceTimes,
          FormatScriptNumber(light.dirY), R"~( ")~");
  AddLine(out, R"~(SetExpr Newlight & ".kine.local.posz)~", kDistanceTimes,
          FormatScriptNumber(light.dirZ), R"~( ")~");
  AddLine(out, R"~(SetExpr Newlight & ".light.soft_light.color.red",   ")~", grey, " + ( ",
          FormatScriptNumber(light.normR), " - ", grey, kTimesSaturation);
  AddLine(out, R"~(SetExpr Newlight & ".light.soft_light.color.green", ")~", grey, " + ( ",
          FormatScriptNumber(light.normG), " - ", grey, kTimesSaturation);
  AddLine(out, R"~(SetExpr Newlight & ".light.soft_light.color.blue",  ")~", grey, " + ( ",
          FormatScriptNumber(light.normB), " - ", grey, kTimesSaturation);
  AddLine(
      out, R"~(SetExpr Newlight & ".light.soft_light.intensity", "min()~", intensity,
      R"~( * " & ParentNull & ".Light_CTRL.Multiply_Intensity_______________________________, " & ParentNull & ".Light_CTRL.Clamp_Intensity_At_____________________________)")~");
  AddLine(
      out, R"~(SetExpr Newlight & ".visibility.rendvis", "cond( ( )~", intensity,
      R"~( > "& ParentNull & ".Light_CTRL.Dont_Use_Lights_With_Intensity_Lower_____________) && "& ParentNull & ".Light_CTRL.Visible , 1 , 0) " )~");
  AddLine(out, R"~(SetExpr Newlight & ".visibility.viewvis", Newlight & ".visibility.rendvis" )~");
  AddLine(
      out, R"~(SetExpr Newlight & ".light.SpecularContribution", "cond( )~", highlight,
      R"~( >= " & ParentNull & ".Light_CTRL.Light_Is_Specular_If_Image_Intensity_Was_Higher___ , 1 , 0 )" )~");
  AddLine(
      out, R"~(SetExpr Newlight & ".light.soft_light.shadow", "cond( ( )~", highlight,
      R"~( >= " & ParentNull & ".Light_CTRL.Light_Has_Shadows_If_Image_Intensity_Was_Higher_ ) && " & ParentNull & ".Light_CTRL.Shadows_Enabled, 1, 0 )")~");
  AddLine(
      out,
      R"~(SetExpr Newlight & ".light.soft_light.factor", ParentNull & ".Light_CTRL.Shadows_Umbra________________________________ " )~");
}

void AppendAreaSwitch(std::string& out) {
  AddLine(
      out,
      R"~(SetExpr Newlight & ".light.LightArea", ParentNull & ".Light_CTRL.Use_Area_Lights " )~");
}

void AppendAreaSampling(std::string& out, int samples) {
  const std::string count = std::to_string(samples);
  AddLine(out, R"~(SetValue Newlight & ".light.LightAreaGeom", 2)~");
  AddLine(out, R"~(SetValue Newlight & ".light.LightAreaSampU", )~", count);
  AddLine(out, R"~(SetValue Newlight & ".light.LightAreaSampV", )~", count);
}

void AppendAreaSize(std::string& out, float areaScale) {
  AddLine(
      out,
      R"~(SetExpr Newlight & ".light.LightAreaXformSX", ParentNull & ".Light_CTRL.Light_Distance_To_Origin________________________ *  )~",
      FormatScriptNumber(areaScale), R"~( ")~");
}

// A light of a chosen optimization goes under its level null; otherwise
// directly under the root, and its area lines come in another order.
void AppendLight(std::string& out, const RigLight& light, bool candidate, char letter) {
  const std::string n = XsiLightName(static_cast<int>(light.number), letter);
  const std::string parent = candidate ? "ParentNull" + std::to_string(light.level) : "ParentNull";
  AddLine(out, R"~(Set Newlight= GetPrimLight ("Point.Preset", ")~", n, R"~(" ,)~", parent, ")");
  AppendExpressions(out, light);
  if (candidate) {
    AppendAreaSampling(out, light.areaSamples);
    AppendAreaSwitch(out);
  } else {
    AppendAreaSwitch(out);
    AppendAreaSampling(out, light.areaSamples);
  }
  AppendAreaSize(out, light.areaScale);
}

void AppendHeader(std::string& out, int lightDistance) {
  AddLine(out, R"~(set ParentNull=GetPrim ("Null", "ZR_Halvane"))~");
  AddLine(out, R"~(AddProp "Custom_parameter_list",ParentNull, , "Light_CTRL")~");
  AddLine(out, kAddParameter, R"~("Visible", siBool, 1, 0, 1, , 5, 0, 1)~");
  AddLine(out, kAddParameter, R"~("Light_Distance_To_Origin________________________", siDouble, )~",
          std::to_string(lightDistance), " , 1, 5000, , 5, 10, 100");
  AddLine(out, kAddParameter,
          R"~("Light_Color_Saturation__________________________", siDouble, 1, 0, 10, , 5, 0, 2)~");
  AddLine(
      out, kAddParameter,
      R"~("Dont_Use_Lights_With_Intensity_Lower_____________", siDouble, 0.01, 0, 1, , 5, 0, 1)~");
  AddLine(
      out, kAddParameter,
      R"~("Multiply_Intensity_______________________________", siDouble, 1, 0, 10, , 5, 0, 3)~");
  AddLine(out, kAddParameter,
          R"~("Clamp_Intensity_At_____________________________", siDouble, 2, 0, 100, , 5, 0, 5)~");
  AddLine(
      out, kAddParameter,
      R"~("Light_Is_Specular_If_Image_Intensity_Was_Higher___", siDouble, 1.2, 0.5, 10, , 5, 0.5, 10)~");
  AddLine(out, kAddParameter, R"~("Shadows_Enabled", siBool, 1, 0, 1, , 5, 0, 1)~");
  AddLine(out, kAddParameter, R"~("Use_Area_Lights", siBool, 1, 0, 1, , 5, 0, 1)~");
  AddLine(out, kAddParameter,
          R"~("Shadows_Umbra________________________________", siDouble, 0, 0, 1, , 5, 0, 1)~");
  AddLine(
      out, kAddParameter,
      R"~("Light_Has_Shadows_If_Image_Intensity_Was_Higher_",  siDouble, 0.5, 0, 1.5, , 5, 0, 1.5)~");
}

// The sun: an infinite light under the root, turned to shine from its
// direction, whose intensity is its irradiance; multiply, saturation,
// visibility and the shadow switch act on it, not the clamp or the hide
// threshold.
void AppendSun(std::string& out, const RigSun& sun) {
  const RigLight& light = sun.light;
  const XyRotation turn = RotationTowards({light.dirX, light.dirY, light.dirZ});
  const std::string grey = FormatScriptNumber(light.grey);
  constexpr const char* kDistanceTimes =
      R"~(", ParentNull & ".Light_CTRL.Light_Distance_To_Origin________________________ *  )~";
  constexpr const char* kTimesSaturation =
      R"~( ) * " & ParentNull & ".Light_CTRL.Light_Color_Saturation__________________________ ")~";
  AddLine(out, R"~(Set Newlight= GetPrimLight ("Infinite.Preset", "ZR_Sun" ,ParentNull))~");
  AddLine(out, "Rotate Newlight, ",
          FormatScriptNumber(static_cast<double>(turn.x * kDegreesPerRadian)), ",",
          FormatScriptNumber(static_cast<double>(turn.y * kDegreesPerRadian)),
          ", 0, siAbsolute, siLocal, siObj, siXYZ, , , , , , , , 0");
  const std::pair<const char*, double> axes[] = {
      {"posx", light.dirX}, {"posy", light.dirY}, {"posz", light.dirZ}};
  for (const auto& [axis, value] : axes)
    AddLine(out, R"~(SetExpr Newlight & ".kine.local.)~", axis, kDistanceTimes,
            FormatScriptNumber(value), R"~( ")~");
  const std::pair<const char*, float> channels[] = {{R"~(red",   ")~", light.normR},
                                                    {R"~(green", ")~", light.normG},
                                                    {R"~(blue",  ")~", light.normB}};
  for (const auto& [channel, value] : channels)
    AddLine(out, R"~(SetExpr Newlight & ".light.soft_light.color.)~", channel, grey, " + ( ",
            FormatScriptNumber(value), " - ", grey, kTimesSaturation);
  AddLine(
      out, R"~(SetExpr Newlight & ".light.soft_light.intensity", ")~",
      FormatScriptNumber(light.intensity),
      R"~( * " & ParentNull & ".Light_CTRL.Multiply_Intensity_______________________________")~");
  AddLine(out, R"~(SetExpr Newlight & ".visibility.rendvis", ParentNull & ".Light_CTRL.Visible")~");
  AddLine(out, R"~(SetExpr Newlight & ".visibility.viewvis", Newlight & ".visibility.rendvis" )~");
  AddLine(
      out,
      R"~(SetExpr Newlight & ".light.soft_light.shadow", ParentNull & ".Light_CTRL.Shadows_Enabled")~");
  AddLine(
      out,
      R"~(SetExpr Newlight & ".light.soft_light.factor", ParentNull & ".Light_CTRL.Shadows_Umbra________________________________ " )~");
}

}  // namespace

std::string XsiScript(const Rig& rig, char letter) {
  std::string out;
  AppendHeader(out, rig.lightDistance);
  const bool candidate = rig.mode == RigMode::Candidate;
  if (candidate) AppendLevelNulls(out);
  for (const RigLight& light : rig.lights) AppendLight(out, light, candidate, letter);
  if (rig.sun) AppendSun(out, *rig.sun);
  return out;
}

}  // namespace halvane
