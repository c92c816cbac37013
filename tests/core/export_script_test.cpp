#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "rig/script_text.h"
#include "support/export_fixtures.h"

namespace halvane {
namespace {

using testing::MakeExportSession;

std::string Lines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

std::vector<std::string> Join(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

constexpr ScriptOptions kChosenRow{1, 100};
constexpr ScriptOptions kNoRow{0, 100};

const std::vector<std::string> kMayaHeader = {
    R"~(// check, if mental ray is loaded - do so, if false)~",
    R"~(if(`pluginInfo -q -l -n Mayatomr`){print("<ZR_Halvane>  Mentalray plugin loaded...\n");} else{loadPlugin Mayatomr;})~",
    R"~(setAttr defaultRenderGlobals.currentRenderer -type "string" mentalRay;)~",
    R"~(rendererChanged;)~",
    R"~(print("<ZR_Halvane>  Switched to Mentalray...\n");)~",
    R"~()~",
    R"~(// check, if attribute editor is selected - do so, if false)~",
    R"~(if(`isAttributeEditorVisible`){print("<ZR_Halvane>  Atribute Editor is present...\n");} else{openAEWindow;})~",
    R"~()~",
    R"~(// create root locator and add attributes)~",
    R"~(string $createTemp[] = eval ("spaceLocator -p 0 0 0 -n ZR_Halvane");)~",
    R"~(print ("<ZR_Halvane>  Root node \"" + $createTemp[0] + "\" created...\n");)~",
    R"~(string $LDRootLocator = $createTemp[0];)~",
    R"~(scale -r 3 3 3 $LDRootLocator;)~",
    R"~()~",
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
    R"~()~",
    R"~(// create optimization level locators)~",
    R"~(eval ("spaceLocator -p 0 0 0 -n ZR_Level_1");)~",
    R"~(eval ("spaceLocator -p 0 0 0 -n ZR_Level_2");)~",
    R"~(eval ("spaceLocator -p 0 0 0 -n ZR_Level_3");)~",
    R"~(eval ("spaceLocator -p 0 0 0 -n ZR_Level_4");)~",
    R"~(eval ("spaceLocator -p 0 0 0 -n ZR_Level_5");)~",
    R"~(eval ("spaceLocator -p 0 0 0 -n ZR_Level_6");)~",
    R"~(select ZR_Level_1 ZR_Level_2 ZR_Level_3 ZR_Level_4 ZR_Level_5 ZR_Level_6 ZR_Halvane;)~",
    R"~(parent;)~",
    R"~()~",
};

const std::vector<std::string> kMayaClosing = {
    R"~(progressBar -edit -endProgress $gMainProgressBar;)~",
    R"~(select -cl;)~",
};

// Light 1 of the fixture: level 2, colour 2, 1, 0.5.
const std::vector<std::string> kMayaLight1Candidate = {
    R"~(// creation of ZR_Light1Q)~",
    R"~(eval ("defaultPointLight(1, 1,1,1, 0, 0, 0,0,0, 1)"); rename ZR_Light1Q; parent ZR_Light1Q ZR_Level_2;)~",
    R"~(print ("<ZR_Halvane>  Light ZR_Light1Q created...\n");)~",
    R"~(setAttr "ZR_Light1QShape.areaLight" 1;)~",
    R"~(setAttr "ZR_Light1QShape.areaType" 1;)~",
    R"~(setAttr "ZR_Light1QShape.areaSamplingU" 3;)~",
    R"~(setAttr "ZR_Light1QShape.areaSamplingV" 3;)~",
    R"~(rotate -a -ws -45.000 -90.000 0 ZR_Light1Q;)~",
    R"~(expression -n ("ZR_Light1Q_EXP") -s (")~"
    R"~(ZR_Light1Q.tx = ZR_Halvane.distToOrigin * 0.500;\n)~"
    R"~(ZR_Light1Q.ty = ZR_Halvane.distToOrigin * 0.707;\n)~"
    R"~(ZR_Light1Q.tz = ZR_Halvane.distToOrigin * 0.500;\n\n)~"
    R"~(ZR_Light1Q.colorR = 0.622 + ( 1.000 - 0.622 ) * ZR_Halvane.saturation;\n)~"
    R"~(ZR_Light1Q.colorG = 0.622 + ( 0.500 - 0.622 ) * ZR_Halvane.saturation;\n)~"
    R"~(ZR_Light1Q.colorB = 0.622 + ( 0.250 - 0.622 ) * ZR_Halvane.saturation;\n\n)~"
    R"~(ZR_Light1Q.intensity = min(0.250 * ZR_Halvane.multiplyIntensity, ZR_Halvane.clampIntensity);\n\n)~"
    R"~(if((0.250 > ZR_Halvane.hideLowIntensity) && ZR_Halvane.visibility){ZR_Light1Q.visibility = 1;}else{ZR_Light1Q.visibility = 0;}\n)~"
    R"~(if(1.100 >= ZR_Halvane.specularLevel){ZR_Light1QShape.emitSpecular = 1;}else{ZR_Light1QShape.emitSpecular = 0;}\n)~"
    R"~(if((1.100 >= ZR_Halvane.shadowLevel) && ZR_Halvane.enableShadows){ZR_Light1QShape.useRayTraceShadows = 1;}else{ZR_Light1QShape.useRayTraceShadows = 0;}\n\n)~"
    R"~(ZR_Light1QShape.shadColorR = ZR_Halvane.shadowUmbra;\n)~"
    R"~(ZR_Light1QShape.shadColorG = ZR_Halvane.shadowUmbra;\n)~"
    R"~(ZR_Light1QShape.shadColorB = ZR_Halvane.shadowUmbra;\n\n)~"
    R"~(ZR_Light1Q.sx = ZR_Halvane.distToOrigin * 0.204;\n)~"
    R"~(ZR_Light1Q.sy = ZR_Halvane.distToOrigin * 0.204;\n)~"
    R"~(ZR_Light1Q.sz = ZR_Halvane.distToOrigin * 0.204;\n\n)~"
    R"~(");)~",
    R"~(progressBar -edit -step 1 $gMainProgressBar;)~",
    R"~(updateAE ("ZR_Light1Q");)~",
    R"~()~",
};

// Light 4 of the fixture: black, level 1, in the top left corner of the image.
const std::vector<std::string> kMayaLight4Candidate = {
    R"~(// creation of ZR_Light4Q)~",
    R"~(eval ("defaultPointLight(1, 1,1,1, 0, 0, 0,0,0, 1)"); rename ZR_Light4Q; parent ZR_Light4Q ZR_Level_1;)~",
    R"~(print ("<ZR_Halvane>  Light ZR_Light4Q created...\n");)~",
    R"~(setAttr "ZR_Light4QShape.areaLight" 1;)~",
    R"~(setAttr "ZR_Light4QShape.areaType" 1;)~",
    R"~(setAttr "ZR_Light4QShape.areaSamplingU" 2;)~",
    R"~(setAttr "ZR_Light4QShape.areaSamplingV" 2;)~",
    R"~(rotate -a -ws -90.000 -180.000 0 ZR_Light4Q;)~",
    R"~(expression -n ("ZR_Light4Q_EXP") -s (")~"
    R"~(ZR_Light4Q.tx = ZR_Halvane.distToOrigin * 0.000;\n)~"
    R"~(ZR_Light4Q.ty = ZR_Halvane.distToOrigin * 1.000;\n)~"
    R"~(ZR_Light4Q.tz = ZR_Halvane.distToOrigin * 0.000;\n\n)~"
    R"~(ZR_Light4Q.colorR = 0.000 + ( 0.000 - 0.000 ) * ZR_Halvane.saturation;\n)~"
    R"~(ZR_Light4Q.colorG = 0.000 + ( 0.000 - 0.000 ) * ZR_Halvane.saturation;\n)~"
    R"~(ZR_Light4Q.colorB = 0.000 + ( 0.000 - 0.000 ) * ZR_Halvane.saturation;\n\n)~"
    R"~(ZR_Light4Q.intensity = min(0.125 * ZR_Halvane.multiplyIntensity, ZR_Halvane.clampIntensity);\n\n)~"
    R"~(if((0.125 > ZR_Halvane.hideLowIntensity) && ZR_Halvane.visibility){ZR_Light4Q.visibility = 1;}else{ZR_Light4Q.visibility = 0;}\n)~"
    R"~(if(0.050 >= ZR_Halvane.specularLevel){ZR_Light4QShape.emitSpecular = 1;}else{ZR_Light4QShape.emitSpecular = 0;}\n)~"
    R"~(if((0.050 >= ZR_Halvane.shadowLevel) && ZR_Halvane.enableShadows){ZR_Light4QShape.useRayTraceShadows = 1;}else{ZR_Light4QShape.useRayTraceShadows = 0;}\n\n)~"
    R"~(ZR_Light4QShape.shadColorR = ZR_Halvane.shadowUmbra;\n)~"
    R"~(ZR_Light4QShape.shadColorG = ZR_Halvane.shadowUmbra;\n)~"
    R"~(ZR_Light4QShape.shadColorB = ZR_Halvane.shadowUmbra;\n\n)~"
    R"~(ZR_Light4Q.sx = ZR_Halvane.distToOrigin * 0.076;\n)~"
    R"~(ZR_Light4Q.sy = ZR_Halvane.distToOrigin * 0.076;\n)~"
    R"~(ZR_Light4Q.sz = ZR_Halvane.distToOrigin * 0.076;\n\n)~"
    R"~(");)~",
    R"~(progressBar -edit -step 1 $gMainProgressBar;)~",
    R"~(updateAE ("ZR_Light4Q");)~",
    R"~()~",
};

TEST(ExportMayaScript, CandidateModeWritesTheChosenLightsUnderTheirLevels) {
  auto s = MakeExportSession();
  const std::string expected = Lines(
      Join(Join(Join(kMayaHeader, kMayaLight1Candidate), kMayaLight4Candidate), kMayaClosing));
  EXPECT_EQ(BuildScript(*s, ScriptKind::Maya, kChosenRow, 'Q'), expected);
}

TEST(ExportMayaScript, PlainModePutsEveryLightUnderTheFirstLevel) {
  auto s = MakeExportSession();
  s->dome.pointCount = 7;  // 5 and 6 are not lights: the numbers keep the gap
  testing::SetExportPoint(*s, 7, 10, 10, 0, 1, 0, 1, 1, 1, 1, true);
  const std::string script = BuildScript(*s, ScriptKind::Maya, kNoRow, 'K');
  EXPECT_NE(script.find(R"~(setAttr "ZR_Light4KShape.areaLight" 1;)~"
                        "\r\n"
                        "setAttr \"ZR_Light4KShape.areaType\" 1;\r\n"),
            std::string::npos);
  EXPECT_NE(script.find("updateAE (\"ZR_Light4K\");\r\n\r\n// creation of ZR_Light7K\r\n"),
            std::string::npos);
  EXPECT_NE(script.find(R"~(expression -n ("ZR_Light7K_EXP") -s ("ZR_Light7K.tx = )~"),
            std::string::npos);
  EXPECT_NE(script.find(R"~({ZR_Light7KShape.emitSpecular = 1;})~"), std::string::npos);
  // Light 2 (level 0, absorbed in the listed result) is exported here, sized
  // as a level-1 light.
  EXPECT_NE(script.find("parent ZR_Light2K ZR_Level_1;\r\n"), std::string::npos);
  EXPECT_NE(script.find(R"~(ZR_Light2K.sx = ZR_Halvane.distToOrigin * 0.540;\n)~"),
            std::string::npos);
  EXPECT_NE(script.find(R"~(ZR_Light2K.colorR = 1.000 + ( 1.000 - 1.000 ) * )~"),
            std::string::npos);
  EXPECT_NE(script.find("parent ZR_Light1K ZR_Level_1;\r\n"), std::string::npos);
  EXPECT_NE(script.find(R"~(setAttr "ZR_Light1KShape.areaSamplingU" 3;)~"), std::string::npos);
  EXPECT_NE(script.find(R"~(ZR_Light1K.sx = ZR_Halvane.distToOrigin * 1.440;\n)~"),
            std::string::npos);
  EXPECT_NE(script.find(R"~(if(1.300 >= ZR_Halvane.specularLevel))~"), std::string::npos);
  EXPECT_EQ(script.find("ZR_Light3K"), std::string::npos);
}

TEST(ExportMayaScript, NoLightWritesHeaderLevelsAndClosingOnly) {
  auto s = MakeExportSession();
  for (uint32_t i = 1; i <= 4; ++i) s->dome.points[i].used = false;
  const std::string expected = Lines(Join(kMayaHeader, kMayaClosing));
  EXPECT_EQ(BuildScript(*s, ScriptKind::Maya, kChosenRow, 'Q'), expected);
  EXPECT_EQ(BuildScript(*s, ScriptKind::Maya, kNoRow, 'Q'), expected);
}

const std::vector<std::string> kXsiHeader = {
    R"~(set ParentNull=GetPrim ("Null", "ZR_Halvane"))~",
    R"~(AddProp "Custom_parameter_list",ParentNull, , "Light_CTRL")~",
    R"~(SIAddCustomParameter ParentNull & ".Light_CTRL", "Visible", siBool, 1, 0, 1, , 5, 0, 1)~",
    R"~(SIAddCustomParameter ParentNull & ".Light_CTRL", "Light_Distance_To_Origin________________________", siDouble, 250 , 1, 5000, , 5, 10, 100)~",
    R"~(SIAddCustomParameter ParentNull & ".Light_CTRL", "Light_Color_Saturation__________________________", siDouble, 1, 0, 10, , 5, 0, 2)~",
    R"~(SIAddCustomParameter ParentNull & ".Light_CTRL", "Dont_Use_Lights_With_Intensity_Lower_____________", siDouble, 0.01, 0, 1, , 5, 0, 1)~",
    R"~(SIAddCustomParameter ParentNull & ".Light_CTRL", "Multiply_Intensity_______________________________", siDouble, 1, 0, 10, , 5, 0, 3)~",
    R"~(SIAddCustomParameter ParentNull & ".Light_CTRL", "Clamp_Intensity_At_____________________________", siDouble, 2, 0, 100, , 5, 0, 5)~",
    R"~(SIAddCustomParameter ParentNull & ".Light_CTRL", "Light_Is_Specular_If_Image_Intensity_Was_Higher___", siDouble, 1.2, 0.5, 10, , 5, 0.5, 10)~",
    R"~(SIAddCustomParameter ParentNull & ".Light_CTRL", "Shadows_Enabled", siBool, 1, 0, 1, , 5, 0, 1)~",
    R"~(SIAddCustomParameter ParentNull & ".Light_CTRL", "Use_Area_Lights", siBool, 1, 0, 1, , 5, 0, 1)~",
    R"~(SIAddCustomParameter ParentNull & ".Light_CTRL", "Shadows_Umbra________________________________", siDouble, 0, 0, 1, , 5, 0, 1)~",
    R"~(SIAddCustomParameter ParentNull & ".Light_CTRL", "Light_Has_Shadows_If_Image_Intensity_Was_Higher_",  siDouble, 0.5, 0, 1.5, , 5, 0, 1.5)~",
};

const std::vector<std::string> kXsiLevelNulls = {
    R"~(set ParentNull1=GetPrim ("Null", "L1", ParentNull ))~",
    R"~(set ParentNull2=GetPrim ("Null", "L2", ParentNull ))~",
    R"~(set ParentNull3=GetPrim ("Null", "L3", ParentNull ))~",
    R"~(set ParentNull4=GetPrim ("Null", "L4", ParentNull ))~",
    R"~(set ParentNull5=GetPrim ("Null", "L5", ParentNull ))~",
    R"~(set ParentNull6=GetPrim ("Null", "L6", ParentNull ))~",
};

const std::vector<std::string> kXsiLight1Candidate = {
    R"~(Set Newlight= GetPrimLight ("Point.Preset", "ZR_LightQ1" ,ParentNull2))~",
    R"~(Rotate Newlight, -45.000,-90.000, 0, siAbsolute, siLocal, siObj, siXYZ, , , , , , , , 0)~",
    R"~(SetExpr Newlight & ".kine.local.posx", ParentNull & ".Light_CTRL.Light_Distance_To_Origin________________________ *  0.500 ")~",
    R"~(SetExpr Newlight & ".kine.local.posy", ParentNull & ".Light_CTRL.Light_Distance_To_Origin________________________ *  0.707 ")~",
    R"~(SetExpr Newlight & ".kine.local.posz", ParentNull & ".Light_CTRL.Light_Distance_To_Origin________________________ *  0.500 ")~",
    R"~(SetExpr Newlight & ".light.soft_light.color.red",   "0.622 + ( 1.000 - 0.622 ) * " & ParentNull & ".Light_CTRL.Light_Color_Saturation__________________________ ")~",
    R"~(SetExpr Newlight & ".light.soft_light.color.green", "0.622 + ( 0.500 - 0.622 ) * " & ParentNull & ".Light_CTRL.Light_Color_Saturation__________________________ ")~",
    R"~(SetExpr Newlight & ".light.soft_light.color.blue",  "0.622 + ( 0.250 - 0.622 ) * " & ParentNull & ".Light_CTRL.Light_Color_Saturation__________________________ ")~",
    R"~(SetExpr Newlight & ".light.soft_light.intensity", "min(0.250 * " & ParentNull & ".Light_CTRL.Multiply_Intensity_______________________________, " & ParentNull & ".Light_CTRL.Clamp_Intensity_At_____________________________)")~",
    R"~(SetExpr Newlight & ".visibility.rendvis", "cond( ( 0.250 > "& ParentNull & ".Light_CTRL.Dont_Use_Lights_With_Intensity_Lower_____________) && "& ParentNull & ".Light_CTRL.Visible , 1 , 0) " )~",
    R"~(SetExpr Newlight & ".visibility.viewvis", Newlight & ".visibility.rendvis" )~",
    R"~(SetExpr Newlight & ".light.SpecularContribution", "cond( 1.100 >= " & ParentNull & ".Light_CTRL.Light_Is_Specular_If_Image_Intensity_Was_Higher___ , 1 , 0 )" )~",
    R"~(SetExpr Newlight & ".light.soft_light.shadow", "cond( ( 1.100 >= " & ParentNull & ".Light_CTRL.Light_Has_Shadows_If_Image_Intensity_Was_Higher_ ) && " & ParentNull & ".Light_CTRL.Shadows_Enabled, 1, 0 )")~",
    R"~(SetExpr Newlight & ".light.soft_light.factor", ParentNull & ".Light_CTRL.Shadows_Umbra________________________________ " )~",
    R"~(SetValue Newlight & ".light.LightAreaGeom", 2)~",
    R"~(SetValue Newlight & ".light.LightAreaSampU", 3)~",
    R"~(SetValue Newlight & ".light.LightAreaSampV", 3)~",
    R"~(SetExpr Newlight & ".light.LightArea", ParentNull & ".Light_CTRL.Use_Area_Lights " )~",
    R"~(SetExpr Newlight & ".light.LightAreaXformSX", ParentNull & ".Light_CTRL.Light_Distance_To_Origin________________________ *  0.204 ")~",
};

const std::vector<std::string> kXsiLight4Candidate = {
    R"~(Set Newlight= GetPrimLight ("Point.Preset", "ZR_LightQ4" ,ParentNull1))~",
    R"~(Rotate Newlight, -90.000,-180.000, 0, siAbsolute, siLocal, siObj, siXYZ, , , , , , , , 0)~",
    R"~(SetExpr Newlight & ".kine.local.posx", ParentNull & ".Light_CTRL.Light_Distance_To_Origin________________________ *  0.000 ")~",
    R"~(SetExpr Newlight & ".kine.local.posy", ParentNull & ".Light_CTRL.Light_Distance_To_Origin________________________ *  1.000 ")~",
    R"~(SetExpr Newlight & ".kine.local.posz", ParentNull & ".Light_CTRL.Light_Distance_To_Origin________________________ *  0.000 ")~",
    R"~(SetExpr Newlight & ".light.soft_light.color.red",   "0.000 + ( 0.000 - 0.000 ) * " & ParentNull & ".Light_CTRL.Light_Color_Saturation__________________________ ")~",
    R"~(SetExpr Newlight & ".light.soft_light.color.green", "0.000 + ( 0.000 - 0.000 ) * " & ParentNull & ".Light_CTRL.Light_Color_Saturation__________________________ ")~",
    R"~(SetExpr Newlight & ".light.soft_light.color.blue",  "0.000 + ( 0.000 - 0.000 ) * " & ParentNull & ".Light_CTRL.Light_Color_Saturation__________________________ ")~",
    R"~(SetExpr Newlight & ".light.soft_light.intensity", "min(0.125 * " & ParentNull & ".Light_CTRL.Multiply_Intensity_______________________________, " & ParentNull & ".Light_CTRL.Clamp_Intensity_At_____________________________)")~",
    R"~(SetExpr Newlight & ".visibility.rendvis", "cond( ( 0.125 > "& ParentNull & ".Light_CTRL.Dont_Use_Lights_With_Intensity_Lower_____________) && "& ParentNull & ".Light_CTRL.Visible , 1 , 0) " )~",
    R"~(SetExpr Newlight & ".visibility.viewvis", Newlight & ".visibility.rendvis" )~",
    R"~(SetExpr Newlight & ".light.SpecularContribution", "cond( 0.050 >= " & ParentNull & ".Light_CTRL.Light_Is_Specular_If_Image_Intensity_Was_Higher___ , 1 , 0 )" )~",
    R"~(SetExpr Newlight & ".light.soft_light.shadow", "cond( ( 0.050 >= " & ParentNull & ".Light_CTRL.Light_Has_Shadows_If_Image_Intensity_Was_Higher_ ) && " & ParentNull & ".Light_CTRL.Shadows_Enabled, 1, 0 )")~",
    R"~(SetExpr Newlight & ".light.soft_light.factor", ParentNull & ".Light_CTRL.Shadows_Umbra________________________________ " )~",
    R"~(SetValue Newlight & ".light.LightAreaGeom", 2)~",
    R"~(SetValue Newlight & ".light.LightAreaSampU", 2)~",
    R"~(SetValue Newlight & ".light.LightAreaSampV", 2)~",
    R"~(SetExpr Newlight & ".light.LightArea", ParentNull & ".Light_CTRL.Use_Area_Lights " )~",
    R"~(SetExpr Newlight & ".light.LightAreaXformSX", ParentNull & ".Light_CTRL.Light_Distance_To_Origin________________________ *  0.076 ")~",
};

TEST(ExportXsiScript, CandidateModeWritesLevelNullsAndTheChosenLights) {
  auto s = MakeExportSession();
  const std::string expected =
      Lines(Join(Join(Join(kXsiHeader, kXsiLevelNulls), kXsiLight1Candidate), kXsiLight4Candidate));
  EXPECT_EQ(BuildScript(*s, ScriptKind::Xsi, ScriptOptions{1, 250}, 'Q'), expected);
}

TEST(ExportXsiScript, PlainModeCreatesLightsUnderTheRootWithFixedAreaLines) {
  auto s = MakeExportSession();
  const std::vector<std::string> light2Start = {
      R"~(Set Newlight= GetPrimLight ("Point.Preset", "ZR_LightQ2" ,ParentNull))~",
      R"~(Rotate Newlight, 0.000,0.000, 0, siAbsolute, siLocal, siObj, siXYZ, , , , , , , , 0)~",
  };
  const std::vector<std::string> light2End = {
      R"~(SetExpr Newlight & ".light.soft_light.factor", ParentNull & ".Light_CTRL.Shadows_Umbra________________________________ " )~",
      R"~(SetExpr Newlight & ".light.LightArea", ParentNull & ".Light_CTRL.Use_Area_Lights " )~",
      R"~(SetValue Newlight & ".light.LightAreaGeom", 2)~",
      R"~(SetValue Newlight & ".light.LightAreaSampU", 2)~",
      R"~(SetValue Newlight & ".light.LightAreaSampV", 2)~",
      R"~(SetExpr Newlight & ".light.LightAreaXformSX", ParentNull & ".Light_CTRL.Light_Distance_To_Origin________________________ *  0.075 ")~",
  };
  const std::string script = BuildScript(*s, ScriptKind::Xsi, ScriptOptions{0, 250}, 'Q');
  EXPECT_EQ(script.rfind(Lines(kXsiHeader), 0), 0u);
  EXPECT_EQ(script.find("ParentNull1"), std::string::npos);
  EXPECT_NE(script.find(Lines(light2Start)), std::string::npos);
  EXPECT_NE(script.find(Lines(light2End)), std::string::npos);
  EXPECT_NE(script.find(R"~("cond( 1.300 >= ")~"), std::string::npos);  // lum, not the 7 mean
  EXPECT_EQ(script.find("ZR_LightQ3"), std::string::npos);
  // Three lights of 19 lines after the 13 header lines, and no empty line.
  EXPECT_EQ(std::count(script.begin(), script.end(), '\n'), 13 + 3 * 19);
  EXPECT_EQ(script.find("\r\n\r\n"), std::string::npos);
}

TEST(ExportXsiScript, NoLightWritesHeaderAndLevelNullsOnly) {
  auto s = MakeExportSession();
  for (uint32_t i = 1; i <= 4; ++i) s->dome.points[i].used = false;
  EXPECT_EQ(BuildScript(*s, ScriptKind::Xsi, ScriptOptions{1, 250}, 'Q'),
            Lines(Join(kXsiHeader, kXsiLevelNulls)));
  EXPECT_EQ(BuildScript(*s, ScriptKind::Xsi, ScriptOptions{0, 250}, 'Q'), Lines(kXsiHeader));
}

// A level outside 1..6 has no group of its own; the light joins level 1.
TEST(ExportXsiScript, LightWithLevelOutsideTheGroupsJoinsLevelOne) {
  auto s = MakeExportSession();
  s->dome.points[1].level = 0;
  const std::string xsi = BuildScript(*s, ScriptKind::Xsi, kChosenRow, 'Q');
  EXPECT_NE(xsi.find(R"~("ZR_LightQ1" ,ParentNull1))~"), std::string::npos);
  const std::string maya = BuildScript(*s, ScriptKind::Maya, kChosenRow, 'Q');
  EXPECT_NE(maya.find("parent ZR_Light1Q ZR_Level_1;"), std::string::npos);
}

}  // namespace
}  // namespace halvane
