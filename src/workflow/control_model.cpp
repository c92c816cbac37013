#include "workflow/control_model.h"

namespace halvane {
namespace {

SpinEdit Spin(const char* caption, int value, int lo, int hi) {
  return SpinEdit{caption, value, lo, hi};
}

TrackBar Track(const char* caption, int position, int lo, int hi) {
  return TrackBar{caption, position, lo, hi};
}

CheckBox Check(const char* caption, bool checked, bool visible = true) {
  return CheckBox{caption, checked, visible};
}

void SetUpStepPanels(ControlModel& f) {
  static const char* const kTitles[9] = {"",
                                         "1. Load File",
                                         "2. Calculate analyse points positions",
                                         "3. Apply color from source image to analyse points",
                                         "(4. OPTIONAL) Increase luminance at highlights",
                                         "5. Optimize points",
                                         "6. Choose Optimization",
                                         "(7. OPTIONAL) Finetuning",
                                         "8. Export"};
  for (int i = 1; i <= 8; ++i) {
    f.PanelSt[i].color = kPanelColor;
    f.LabelSt[i] = Label{kTitles[i], false};
  }
}

void SetUpGrid(StringGrid& grid) {
  grid.colWidths = {29, 67, 98, 91, 87, 84, 64, 64, 64, 64, 64};
  grid.SetRowCount(2);
  grid.selectedRow = 1;
}

}  // namespace

ControlModel::ControlModel() {
  Caption = "ZR_Halvane";
  SetUpStepPanels(*this);

  Button_LoadImage = {"Load Image..."};

  SpinPointIteration = Spin("Initial analyse resolution:", 4, 3, 4);
  ButtonCalculateStartpoints = {"Calculate points"};

  EditBlack = {"Black point:", "  .  "};
  EditWhite = {"White point:", " 1.  "};
  EditClampwhite = {"Clamp luminance at:", "99.  "};
  ButtonApplyColor = {"Apply color"};
  CheckThresholds = Check("Calculate thresholds", true, false);
  LabelMinvalue = {"Min Luminance:                     "};
  LabelMaxvalue = {"Max Luminance:                     "};
  LabelAverageValue = {"Average Luminane:                  "};
  LabelThresholdNeighb = {"Av. Lum. diff. (neighbour points): "};
  LabelThresholdNeighColor = {"Av. Color diff. (neighbour points):"};

  EditLumTolerance = {"Luminance tolerance:", "  . 1"};
  EditLumToleranceNeighbour = {"Neighbour tolerance:", "  .1 "};
  SpinLumIterations = Spin("Iterations:", 6, 1, 9);
  TrackLumValue = Track("Value:", 30, 10, 80);
  TrackLumPower = Track("Power:", 20, 5, 40);
  TrackLumR = Track("R", 20, 10, 20);
  TrackLumG = Track("G", 18, 10, 20);
  TrackLumB = Track("B", 13, 10, 20);
  LabelLumvalue = {"3.0"};
  LabelLumPower = {"2.0"};
  LabelLumR = {"1.00"};
  LabelLumG = {"0.90"};
  LabelLumB = {"0.65"};
  PanelLumColor.color = Rgb{255, 229, 166};
  ButtonIncreaseMaxWhite = {"Increase max Luminance"};

  EditOptThreshold = {"Collapse points if threshold is lower than", "  .5 "};
  SpinOptMaxRed = Spin("Max Reduction:", 5, 3, 6);
  SpinOptLevel1 = Spin("Level 1 optimizes nb of points:", 275, 100, 1000);
  SpinOptLevel1_min = Spin("Max points after opt. Level 1:", 50, 20, 150);
  CheckOptHalt1 = Check("Halt after opt. Level 1", false);
  CheckLumIncrease = Check("Increase luminance", false, false);
  ButtonOptimize = {"Optimize points"};
  ButtonAbort = {"Abort"};
  Memo1.lines = {
      "If no optimization was found after level 1, increase \"Collapse points if threshold is "
      "lower than\"",
      "",
      "Hints for speed:",
      "While Level 1 Optimization run, you can see \"x min lights found\" in the status bar, if "
      "\"max points after ",
      "opt. Level1\" is much larger than this value, you should reduce it (min lights found +5 or "
      "+7)",
      "",
      "After Level 1 and 2 are done, compare the calculation times. If the time difference is "
      "very big, try to ",
      "change \"Level 1 optimizes nb of points\".",
      "A lower value speeds up calculation of Level 1."};
  RadioLevelNr.items = {"1", "2", "3"};
  RadioLevelNr.itemIndex = -1;

  SetUpGrid(GridOptimized);

  TrackRedLum = Track("Delete lights with image luminance lower:", 80, 20, 200);
  LabelRedLum = {"0.8"};
  ButtonReduceLights = {"Reduce lights"};
  SpinRedGroupNr = Spin("Collapse group of min.", 2, 2, 7);
  EditRedThreshold = {"lights if threshold is lower than", "  .1 "};
  ButtonCollapseLights = {"Collapse lights"};

  SpinLightDistance = Spin("Light distance to origin", 100, 5, 10000);
  TrackExpInt = Track("Intensity:", 10, 5, 20);
  LabelExpIntens = {"1.0"};
  ButtonExport = {"XSI Script"};
  ButtonExportMaya = {"Maya Script"};
  RadioMayaRenderer.items = {"mental ray", "Arnold"};
  RadioMayaRenderer.itemIndex = kMayaRendererMentalRay;
  ButtonExportUsd = {"USD Stage"};
  ButtonExportBlender = {"Blender Script"};

  SpinViewMin = Spin("View range:", 0, 0, 50);
  SpinViewMax = Spin("to", 1, 1, 50);
  CheckDarken = Check("Darken image in display", true);
  CheckViewOutRange = Check("Visualise out-of-range luminance ", true);
  CheckDisplaybackground = Check("Display Image", true);
  CheckDisplayFill = Check("Display Fill", false);
  CheckDisplayPoints = Check("Display Lights", true);
  CheckDisplay_unused = Check("Display Unused Lights", true);
  CheckDisplayLines = Check("Display Lines", false);
  CheckDisplayNr = Check("Display high and low Point #", false);
  CheckDisplayCollapseNr = Check("Display collapse #", true);
  LabelMaxpoint = {""};

  CheckLinearLight = Check("Linear light", false);
  CheckSunLight = Check("Sun as a directional light", false);
  SpinSunThreshold = Spin("Sun threshold:", 0, 0, 100000);
  LabelRigError = {"Rig error: -"};
  ButtonMedianCut = {"Median cut"};

  GroupBox3 = "Mouse Position";
  LabelcordX = {"X:"};
  LabelcordY = {"Y:"};
  LabelcordR = {"R:"};
  LabelcordG = {"G:"};
  LabelcordB = {"B:"};
  LabelcordLum = {"Lum:"};
  Labelmaxopt = {"MaxOpt:"};
}

}  // namespace halvane
