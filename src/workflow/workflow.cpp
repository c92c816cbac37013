#include "workflow/workflow.h"

#include "workflow/highlight_sliders.h"

namespace halvane {
namespace {

void SetCheck(CheckBox& box, bool on) {
  box.checked = on;
}

}  // namespace

void SetBusy(ControlModel& controls, bool busy) {
  const bool enabled = !busy;
  for (Button* b :
       {&controls.Button_LoadImage, &controls.ButtonCalculateStartpoints,
        &controls.ButtonApplyColor, &controls.ButtonIncreaseMaxWhite, &controls.ButtonOptimize,
        &controls.ButtonReduceLights, &controls.ButtonExport, &controls.ButtonCollapseLights,
        &controls.ButtonExportUsd, &controls.ButtonExportBlender, &controls.ButtonMedianCut})
    b->enabled = enabled;
  controls.GridOptimized.enabled = enabled;
}

void ReadDisplayChecks(Session& s, const ControlModel& controls) {
  s.view.showLines = controls.CheckDisplayLines.checked;
  s.view.showFill = controls.CheckDisplayFill.checked;
  s.view.showPoints = controls.CheckDisplayPoints.checked;
  s.view.showUnused = controls.CheckDisplay_unused.checked;
  s.view.darkenImage = controls.CheckDarken.checked;
  s.view.showBackground = controls.CheckDisplaybackground.checked;
  s.view.showPointNr = controls.CheckDisplayNr.checked;
  s.view.showCollapseNr = controls.CheckDisplayCollapseNr.checked;
  s.view.showOutOfRange = controls.CheckViewOutRange.checked;
}

void SyncDisplayChecks(Session& s, ControlModel& controls) {
  s.view.updateEnabled = false;
  const bool havePoints = s.dome.pointCount > 0;
  switch (s.workflowState) {
    case 0:
      SetCheck(controls.CheckDisplaybackground, false);
      SetCheck(controls.CheckDisplayFill, false);
      SetCheck(controls.CheckDisplayPoints, false);
      SetCheck(controls.CheckDisplay_unused, false);
      break;
    case 1:
    case 2:
      SetCheck(controls.CheckDisplaybackground, true);
      SetCheck(controls.CheckDisplayFill, false);
      SetCheck(controls.CheckDisplayPoints, havePoints);
      SetCheck(controls.CheckDisplay_unused, havePoints);
      break;
    case 3:
      SetCheck(controls.CheckDisplayFill, true);
      break;
    case 4:
      SetCheck(controls.CheckDisplayFill, true);
      SetCheck(controls.CheckDisplayPoints, true);
      SetCheck(controls.CheckDisplay_unused, true);
      break;
    case 5:
      SetCheck(controls.CheckDisplayFill, true);
      SetCheck(controls.CheckDisplayPoints, true);
      SetCheck(controls.CheckDisplay_unused, false);
      break;
    default:
      break;
  }
  ReadDisplayChecks(s, controls);
  s.view.updateEnabled = true;
}

void AddLogLine(ControlModel& controls, Host& host, const std::string& text) {
  controls.ListBox1.items.push_back(host.TimeText() + text);
  controls.ListBox1.itemIndex = static_cast<int>(controls.ListBox1.items.size()) - 1;
}

void SetStatus(ControlModel& controls, int panel, const std::string& text) {
  controls.StatusBar1.panels.at(static_cast<std::size_t>(panel)) = text;
}

void EmptyResultTable(ControlModel& controls) {
  controls.GridOptimized.SetRowCount(2);
  for (std::string& cell : controls.GridOptimized.cells[1]) cell.clear();
}

void MarkStepDone(ControlModel& controls, int step) {
  if (step < 1 || step > 8) return;
  controls.PanelSt[step].color = kPanelDoneColor;
  controls.LabelSt[step].bold = true;
  for (int later = step + 1; later <= 8; ++later) {
    controls.PanelSt[later].color = kPanelColor;
    controls.LabelSt[later].bold = false;
  }
}

void EndStep(ControlModel& controls, Host& host, int step, const std::string& logText,
             const std::string& statusText) {
  AddLogLine(controls, host, logText);
  SetStatus(controls, 0, statusText);
  SetStatus(controls, 1, "");
  SetStatus(controls, 2, "");
  MarkStepDone(controls, step);
  SetBusy(controls, false);
}

void StartSession(Session& s, ControlModel& controls, Host& host) {
  host.SeedRandom();
  s.imageMissing = true;
  s.dome.pointCount = 0;
  s.image.height = 10;
  s.image.width = 10;
  s.view.preview.Resize(kPreviewSize, kPreviewSize);
  s.view.background.Resize(kPreviewSize, kPreviewSize);
  s.view.viewMin = 0.0f;
  s.view.viewMax = 1.0f;
  s.workflowState = 0;
  SyncDisplayChecks(s, controls);  // also reads the boxes back and enables view updates

  ShowHighlightValue(s, controls, host);
  ShowHighlightPower(s, controls, host);
  ShowHighlightColour(s, controls, host);
  s.dome.subdivLevel = 0;

  static const char* const kHeader[6] = {"Nb.",           "# lights",      "average reduction",
                                         "min reduction", "max reduction", "diff. index"};
  for (int col = 0; col < 6; ++col) controls.GridOptimized.Cell(col, 0) = kHeader[col];

  controls.Image1.visible = false;
  controls.Image3.visible = true;
}

void ProposeSearchSettings(Session& s, ControlModel& controls) {
  if (s.dome.subdivLevel == 4) {
    controls.SpinOptMaxRed.value = 5;
    controls.SpinOptLevel1.value = 275;
    controls.SpinOptLevel1_min.value = 50;
  } else if (s.dome.subdivLevel == 5) {
    controls.SpinOptMaxRed.value = 6;
    controls.SpinOptLevel1.value = 750;
    controls.SpinOptLevel1_min.value = 90;
  }
}

void RequestAbort(Session& s) {
  s.abortRequested = true;
}

bool RequestClose(Session& s) {
  s.abortRequested = true;
  return true;
}

void ReleasePreview(Session& s) {
  s.view.preview.Release();
  s.view.background.Release();
}

}  // namespace halvane
