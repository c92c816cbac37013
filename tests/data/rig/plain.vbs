set ParentNull=GetPrim ("Null", "ZR_Halvane")
AddProp "Custom_parameter_list",ParentNull, , "Light_CTRL"
SIAddCustomParameter ParentNull & ".Light_CTRL", "Visible", siBool, 1, 0, 1, , 5, 0, 1
SIAddCustomParameter ParentNull & ".Light_CTRL", "Light_Distance_To_Origin________________________", siDouble, 250 , 1, 5000, , 5, 10, 100
SIAddCustomParameter ParentNull & ".Light_CTRL", "Light_Color_Saturation__________________________", siDouble, 1, 0, 10, , 5, 0, 2
SIAddCustomParameter ParentNull & ".Light_CTRL", "Dont_Use_Lights_With_Intensity_Lower_____________", siDouble, 0.01, 0, 1, , 5, 0, 1
SIAddCustomParameter ParentNull & ".Light_CTRL", "Multiply_Intensity_______________________________", siDouble, 1, 0, 10, , 5, 0, 3
SIAddCustomParameter ParentNull & ".Light_CTRL", "Clamp_Intensity_At_____________________________", siDouble, 2, 0, 100, , 5, 0, 5
SIAddCustomParameter ParentNull & ".Light_CTRL", "Light_Is_Specular_If_Image_Intensity_Was_Higher___", siDouble, 1.2, 0.5, 10, , 5, 0.5, 10
SIAddCustomParameter ParentNull & ".Light_CTRL", "Shadows_Enabled", siBool, 1, 0, 1, , 5, 0, 1
SIAddCustomParameter ParentNull & ".Light_CTRL", "Use_Area_Lights", siBool, 1, 0, 1, , 5, 0, 1
SIAddCustomParameter ParentNull & ".Light_CTRL", "Shadows_Umbra________________________________", siDouble, 0, 0, 1, , 5, 0, 1
SIAddCustomParameter ParentNull & ".Light_CTRL", "Light_Has_Shadows_If_Image_Intensity_Was_Higher_",  siDouble, 0.5, 0, 1.5, , 5, 0, 1.5
Set Newlight= GetPrimLight ("Point.Preset", "ZR_LightQ1" ,ParentNull)
Rotate Newlight, -45.000,-90.000, 0, siAbsolute, siLocal, siObj, siXYZ, , , , , , , , 0
SetExpr Newlight & ".kine.local.posx", ParentNull & ".Light_CTRL.Light_Distance_To_Origin________________________ *  0.500 "
SetExpr Newlight & ".kine.local.posy", ParentNull & ".Light_CTRL.Light_Distance_To_Origin________________________ *  0.707 "
SetExpr Newlight & ".kine.local.posz", ParentNull & ".Light_CTRL.Light_Distance_To_Origin________________________ *  0.500 "
SetExpr Newlight & ".light.soft_light.color.red",   "0.622 + ( 1.000 - 0.622 ) * " & ParentNull & ".Light_CTRL.Light_Color_Saturation__________________________ "
SetExpr Newlight & ".light.soft_light.color.green", "0.622 + ( 0.500 - 0.622 ) * " & ParentNull & ".Light_CTRL.Light_Color_Saturation__________________________ "
SetExpr Newlight & ".light.soft_light.color.blue",  "0.622 + ( 0.250 - 0.622 ) * " & ParentNull & ".Light_CTRL.Light_Color_Saturation__________________________ "
SetExpr Newlight & ".light.soft_light.intensity", "min(0.250 * " & ParentNull & ".Light_CTRL.Multiply_Intensity_______________________________, " & ParentNull & ".Light_CTRL.Clamp_Intensity_At_____________________________)"
SetExpr Newlight & ".visibility.rendvis", "cond( ( 0.250 > "& ParentNull & ".Light_CTRL.Dont_Use_Lights_With_Intensity_Lower_____________) && "& ParentNull & ".Light_CTRL.Visible , 1 , 0) " 
SetExpr Newlight & ".visibility.viewvis", Newlight & ".visibility.rendvis" 
SetExpr Newlight & ".light.SpecularContribution", "cond( 1.300 >= " & ParentNull & ".Light_CTRL.Light_Is_Specular_If_Image_Intensity_Was_Higher___ , 1 , 0 )" 
SetExpr Newlight & ".light.soft_light.shadow", "cond( ( 1.300 >= " & ParentNull & ".Light_CTRL.Light_Has_Shadows_If_Image_Intensity_Was_Higher_ ) && " & ParentNull & ".Light_CTRL.Shadows_Enabled, 1, 0 )"
SetExpr Newlight & ".light.soft_light.factor", ParentNull & ".Light_CTRL.Shadows_Umbra________________________________ " 
SetExpr Newlight & ".light.LightArea", ParentNull & ".Light_CTRL.Use_Area_Lights " 
SetValue Newlight & ".light.LightAreaGeom", 2
SetValue Newlight & ".light.LightAreaSampU", 2
SetValue Newlight & ".light.LightAreaSampV", 2
SetExpr Newlight & ".light.LightAreaXformSX", ParentNull & ".Light_CTRL.Light_Distance_To_Origin________________________ *  0.075 "
Set Newlight= GetPrimLight ("Point.Preset", "ZR_LightQ2" ,ParentNull)
Rotate Newlight, 0.000,0.000, 0, siAbsolute, siLocal, siObj, siXYZ, , , , , , , , 0
SetExpr Newlight & ".kine.local.posx", ParentNull & ".Light_CTRL.Light_Distance_To_Origin________________________ *  0.000 "
SetExpr Newlight & ".kine.local.posy", ParentNull & ".Light_CTRL.Light_Distance_To_Origin________________________ *  0.000 "
SetExpr Newlight & ".kine.local.posz", ParentNull & ".Light_CTRL.Light_Distance_To_Origin________________________ *  1.000 "
SetExpr Newlight & ".light.soft_light.color.red",   "1.000 + ( 1.000 - 1.000 ) * " & ParentNull & ".Light_CTRL.Light_Color_Saturation__________________________ "
SetExpr Newlight & ".light.soft_light.color.green", "1.000 + ( 1.000 - 1.000 ) * " & ParentNull & ".Light_CTRL.Light_Color_Saturation__________________________ "
SetExpr Newlight & ".light.soft_light.color.blue",  "1.000 + ( 1.000 - 1.000 ) * " & ParentNull & ".Light_CTRL.Light_Color_Saturation__________________________ "
SetExpr Newlight & ".light.soft_light.intensity", "min(0.125 * " & ParentNull & ".Light_CTRL.Multiply_Intensity_______________________________, " & ParentNull & ".Light_CTRL.Clamp_Intensity_At_____________________________)"
SetExpr Newlight & ".visibility.rendvis", "cond( ( 0.125 > "& ParentNull & ".Light_CTRL.Dont_Use_Lights_With_Intensity_Lower_____________) && "& ParentNull & ".Light_CTRL.Visible , 1 , 0) " 
SetExpr Newlight & ".visibility.viewvis", Newlight & ".visibility.rendvis" 
SetExpr Newlight & ".light.SpecularContribution", "cond( 1.000 >= " & ParentNull & ".Light_CTRL.Light_Is_Specular_If_Image_Intensity_Was_Higher___ , 1 , 0 )" 
SetExpr Newlight & ".light.soft_light.shadow", "cond( ( 1.000 >= " & ParentNull & ".Light_CTRL.Light_Has_Shadows_If_Image_Intensity_Was_Higher_ ) && " & ParentNull & ".Light_CTRL.Shadows_Enabled, 1, 0 )"
SetExpr Newlight & ".light.soft_light.factor", ParentNull & ".Light_CTRL.Shadows_Umbra________________________________ " 
SetExpr Newlight & ".light.LightArea", ParentNull & ".Light_CTRL.Use_Area_Lights " 
SetValue Newlight & ".light.LightAreaGeom", 2
SetValue Newlight & ".light.LightAreaSampU", 2
SetValue Newlight & ".light.LightAreaSampV", 2
SetExpr Newlight & ".light.LightAreaXformSX", ParentNull & ".Light_CTRL.Light_Distance_To_Origin________________________ *  0.075 "
Set Newlight= GetPrimLight ("Point.Preset", "ZR_LightQ4" ,ParentNull)
Rotate Newlight, -90.000,-180.000, 0, siAbsolute, siLocal, siObj, siXYZ, , , , , , , , 0
SetExpr Newlight & ".kine.local.posx", ParentNull & ".Light_CTRL.Light_Distance_To_Origin________________________ *  0.000 "
SetExpr Newlight & ".kine.local.posy", ParentNull & ".Light_CTRL.Light_Distance_To_Origin________________________ *  1.000 "
SetExpr Newlight & ".kine.local.posz", ParentNull & ".Light_CTRL.Light_Distance_To_Origin________________________ *  0.000 "
SetExpr Newlight & ".light.soft_light.color.red",   "0.000 + ( 0.000 - 0.000 ) * " & ParentNull & ".Light_CTRL.Light_Color_Saturation__________________________ "
SetExpr Newlight & ".light.soft_light.color.green", "0.000 + ( 0.000 - 0.000 ) * " & ParentNull & ".Light_CTRL.Light_Color_Saturation__________________________ "
SetExpr Newlight & ".light.soft_light.color.blue",  "0.000 + ( 0.000 - 0.000 ) * " & ParentNull & ".Light_CTRL.Light_Color_Saturation__________________________ "
SetExpr Newlight & ".light.soft_light.intensity", "min(0.125 * " & ParentNull & ".Light_CTRL.Multiply_Intensity_______________________________, " & ParentNull & ".Light_CTRL.Clamp_Intensity_At_____________________________)"
SetExpr Newlight & ".visibility.rendvis", "cond( ( 0.125 > "& ParentNull & ".Light_CTRL.Dont_Use_Lights_With_Intensity_Lower_____________) && "& ParentNull & ".Light_CTRL.Visible , 1 , 0) " 
SetExpr Newlight & ".visibility.viewvis", Newlight & ".visibility.rendvis" 
SetExpr Newlight & ".light.SpecularContribution", "cond( 0.050 >= " & ParentNull & ".Light_CTRL.Light_Is_Specular_If_Image_Intensity_Was_Higher___ , 1 , 0 )" 
SetExpr Newlight & ".light.soft_light.shadow", "cond( ( 0.050 >= " & ParentNull & ".Light_CTRL.Light_Has_Shadows_If_Image_Intensity_Was_Higher_ ) && " & ParentNull & ".Light_CTRL.Shadows_Enabled, 1, 0 )"
SetExpr Newlight & ".light.soft_light.factor", ParentNull & ".Light_CTRL.Shadows_Umbra________________________________ " 
SetExpr Newlight & ".light.LightArea", ParentNull & ".Light_CTRL.Use_Area_Lights " 
SetValue Newlight & ".light.LightAreaGeom", 2
SetValue Newlight & ".light.LightAreaSampU", 2
SetValue Newlight & ".light.LightAreaSampV", 2
SetExpr Newlight & ".light.LightAreaXformSX", ParentNull & ".Light_CTRL.Light_Distance_To_Origin________________________ *  0.075 "
