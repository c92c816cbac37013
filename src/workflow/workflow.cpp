#include "workflow/workflow.h"

#include "dome/highlight.h"
#include "image/file_buffer.h"

namespace halvane {
namespace {

void SetCheck(CheckBox& box, bool on) {
  box.checked = on;
}

}  // namespace

void SetBusy(Form& form, bool busy) {
  const bool enabled = !busy;
  for (Button* b : {&form.Button_LoadImage, &form.ButtonCalculateStartpoints,
                    &form.ButtonApplyColor, &form.ButtonIncreaseMaxWhite, &form.ButtonOptimize,
                    &form.ButtonReduceLights, &form.ButtonExport, &form.ButtonCollapseLights})
    b->enabled = enabled;
  form.GridOptimized.enabled = enabled;
}

void ReadDisplayChecks(Session& s, const Form& form) {
  s.view.showLines = form.CheckDisplayLines.checked;
  s.view.showFill = form.CheckDisplayFill.checked;
  s.view.showPoints = form.CheckDisplayPoints.checked;
  s.view.showUnused = form.CheckDisplay_unused.checked;
  s.view.darkenImage = form.CheckDarken.checked;
  s.view.showBackground = form.CheckDisplaybackground.checked;
  s.view.showPointNr = form.CheckDisplayNr.checked;
  s.view.showCollapseNr = form.CheckDisplayCollapseNr.checked;
  s.view.showOutOfRange = form.CheckViewOutRange.checked;
}

void SyncDisplayChecks(Session& s, Form& form) {
  s.view.updateEnabled = false;
  const bool havePoints = s.dome.pointCount > 0;
  switch (s.workflowState) {
    case 0:
      SetCheck(form.CheckDisplaybackground, false);
      SetCheck(form.CheckDisplayFill, false);
      SetCheck(form.CheckDisplayPoints, false);
      SetCheck(form.CheckDisplay_unused, false);
      break;
    case 1:
    case 2:
      SetCheck(form.CheckDisplaybackground, true);
      SetCheck(form.CheckDisplayFill, false);
      SetCheck(form.CheckDisplayPoints, havePoints);
      SetCheck(form.CheckDisplay_unused, havePoints);
      break;
    case 3:
      SetCheck(form.CheckDisplayFill, true);
      break;
    case 4:
      SetCheck(form.CheckDisplayFill, true);
      SetCheck(form.CheckDisplayPoints, true);
      SetCheck(form.CheckDisplay_unused, true);
      break;
    case 5:
      SetCheck(form.CheckDisplayFill, true);
      SetCheck(form.CheckDisplayPoints, true);
      SetCheck(form.CheckDisplay_unused, false);
      break;
    default:
      break;
  }
  ReadDisplayChecks(s, form);
  s.view.updateEnabled = true;
}

void AddLogLine(Form& form, Host& host, const std::string& text) {
  form.ListBox1.items.push_back(host.TimeText() + text);
  form.ListBox1.itemIndex = static_cast<int>(form.ListBox1.items.size()) - 1;
}

void SetStatus(Form& form, int panel, const std::string& text) {
  form.StatusBar1.panels.at(static_cast<std::size_t>(panel)) = text;
}

void EmptyResultTable(Form& form) {
  form.GridOptimized.SetRowCount(2);
  for (std::string& cell : form.GridOptimized.cells[1]) cell.clear();
}

void MarkStepDone(Form& form, int step) {
  if (step < 1 || step > 8) return;
  form.PanelSt[step].color = kPanelDoneColor;
  form.LabelSt[step].bold = true;
  for (int later = step + 1; later <= 8; ++later) {
    form.PanelSt[later].color = kPanelColor;
    form.LabelSt[later].bold = false;
  }
}

void EndStep(Form& form, Host& host, int step, const std::string& logText,
             const std::string& statusText) {
  AddLogLine(form, host, logText);
  SetStatus(form, 0, statusText);
  SetStatus(form, 1, "");
  SetStatus(form, 2, "");
  MarkStepDone(form, step);
  SetBusy(form, false);
}

void FormCreate(Session& s, Form& form, Host& host) {
  host.SeedRandom();
  SharedFileBuffer();
  s.imageMissing = true;
  s.dome.pointCount = 0;
  s.image.height = 10;
  s.image.width = 10;
  s.view.preview.Resize(kPreviewSize, kPreviewSize);
  s.view.background.Resize(kPreviewSize, kPreviewSize);
  s.view.viewMin = 0.0f;
  s.view.viewMax = 1.0f;
  s.workflowState = 0;
  SyncDisplayChecks(s, form);  // also reads the boxes back and enables view updates

  TrackLumValueChange(s, form, host);
  TrackLumPowerChange(s, form, host);
  TrackLumRChange(s, form, host);
  s.dome.subdivLevel = 0;

  static const char* const kHeader[6] = {"Nb.",           "# lights",      "average reduction",
                                         "min reduction", "max reduction", "diff. index"};
  for (int col = 0; col < 6; ++col) form.GridOptimized.Cell(col, 0) = kHeader[col];

  form.Image1.visible = false;
  form.Image3.visible = true;
}

void SpinPointIterationChange(Session& s, Form& form) {
  if (s.dome.subdivLevel == 4) {
    form.SpinOptMaxRed.value = 5;
    form.SpinOptLevel1.value = 275;
    form.SpinOptLevel1_min.value = 50;
  } else if (s.dome.subdivLevel == 5) {
    form.SpinOptMaxRed.value = 6;
    form.SpinOptLevel1.value = 750;
    form.SpinOptLevel1_min.value = 90;
  }
}

void ButtonAbortClick(Session& s) {
  s.abortRequested = true;
}

bool FormCloseQuery(Session& s) {
  s.abortRequested = true;
  return true;
}

void FormClose(Session& s) {
  s.view.preview.Release();
  s.view.background.Release();
}

}  // namespace halvane
