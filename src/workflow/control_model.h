#pragma once

#include <array>
#include <string>

#include "workflow/controls.h"

namespace halvane {

constexpr Rgb kWindowColor{33, 62, 104};
constexpr Rgb kPanelColor{181, 185, 192};
constexpr Rgb kPanelDoneColor{200, 210, 230};

constexpr const char* kOpenImageFilter =
    "*.ct,*.tga,*.hdr|*.ct;*.tga;*.hdr|Mental Images .ct (8bit, 16bit and float)|*.ct|"
    "Targa .tga (8bit)|*.tga|Radiance .hdr (float)|*.hdr";

// The items of RadioMayaRenderer.
constexpr int kMayaRendererMentalRay = 0;
constexpr int kMayaRendererArnold = 1;

// Which bitmap the preview control Image1 shows.
enum class PreviewLayer { Background, Overlay };

// The model of every control of the main window, named after the controls.
// A new control model holds the values the window is designed with; StartSession then
// applies the start-up values.
struct ControlModel {
  ControlModel();

  std::string Caption;

  // Step panels 1..8 (index 0 unused) and their caption labels.
  std::array<StepPanel, 9> PanelSt{};
  std::array<Label, 9> LabelSt{};

  // 1. Load File
  Button Button_LoadImage;
  TextEdit EditImagename;

  // 2. Calculate analyse points positions
  SpinEdit SpinPointIteration;
  Button ButtonCalculateStartpoints;

  // 3. Apply color
  MaskedEdit EditBlack, EditWhite, EditClampwhite;
  Button ButtonApplyColor;
  CheckBox CheckThresholds;
  Label LabelMinvalue, LabelMaxvalue, LabelAverageValue, LabelThresholdNeighb,
      LabelThresholdNeighColor;

  // 4. Increase luminance at highlights
  MaskedEdit EditLumTolerance, EditLumToleranceNeighbour;
  SpinEdit SpinLumIterations;
  TrackBar TrackLumValue, TrackLumPower, TrackLumR, TrackLumG, TrackLumB;
  Label LabelLumvalue, LabelLumPower, LabelLumR, LabelLumG, LabelLumB;
  ColorPanel PanelLumColor;
  Button ButtonIncreaseMaxWhite;

  // 5. Optimize points
  MaskedEdit EditOptThreshold;
  SpinEdit SpinOptMaxRed, SpinOptLevel1, SpinOptLevel1_min;
  CheckBox CheckOptHalt1, CheckLumIncrease;
  Button ButtonOptimize, ButtonAbort;
  Memo Memo1;
  RadioGroup RadioLevelNr;
  Gauge GaugeOpt2;

  // 6. Choose Optimization
  StringGrid GridOptimized;

  // 7. Finetuning
  TrackBar TrackRedLum;
  Label LabelRedLum;
  Button ButtonReduceLights;
  SpinEdit SpinRedGroupNr;
  MaskedEdit EditRedThreshold;
  Button ButtonCollapseLights;

  // 8. Export
  SpinEdit SpinLightDistance;
  TrackBar TrackExpInt;
  Label LabelExpIntens;
  Button ButtonExport, ButtonExportMaya;
  RadioGroup RadioMayaRenderer;  // the Maya script's renderer: kMayaRenderer...
  Button ButtonExportUsd, ButtonExportBlender;

  // View Settings
  SpinEdit SpinViewMin, SpinViewMax;
  CheckBox CheckDarken, CheckViewOutRange, CheckDisplaybackground, CheckDisplayFill,
      CheckDisplayPoints, CheckDisplay_unused, CheckDisplayLines, CheckDisplayNr,
      CheckDisplayCollapseNr;
  Label LabelMaxpoint;

  // Mouse Position (GroupBox3)
  std::string GroupBox3;
  Label LabelcordX, LabelcordY, LabelcordR, LabelcordG, LabelcordB, LabelcordLum, Labelmaxopt;

  // Rig quality: options before the colour step and the chosen rig's error
  CheckBox CheckLinearLight;  // sample linear radiance instead of the readers' powered values
  CheckBox CheckSunLight;     // the sun as one directional light, out of the dome's picture
  SpinEdit SpinSunThreshold;  // luminance the sun's pixels are above; 0: automatic
  Label LabelRigError;        // in the choose panel
  Button ButtonMedianCut;     // the optimize panel's second method

  // Preview, placeholder, legend, log and status
  ImageControl Image1, Image2, Image3;
  PreviewLayer Image1Layer = PreviewLayer::Background;
  ListBox ListBox1;
  StatusBar StatusBar1;
};

}  // namespace halvane
