#include "session/workflow.h"

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
  s.ShowLines = form.CheckDisplayLines.checked;
  s.ShowFill = form.CheckDisplayFill.checked;
  s.ShowPoints = form.CheckDisplayPoints.checked;
  s.ShowUnused = form.CheckDisplay_unused.checked;
  s.DarkenImage = form.CheckDarken.checked;
  s.ShowBackground = form.CheckDisplaybackground.checked;
  s.ShowPointNr = form.CheckDisplayNr.checked;
  s.ShowCollapseNr = form.CheckDisplayCollapseNr.checked;
  s.ShowOutOfRange = form.CheckViewOutRange.checked;
}

void SyncDisplayChecks(Session& s, Form& form) {
  s.ViewUpdateEnabled = false;
  const bool havePoints = s.PointCount > 0;
  switch (s.WorkflowState) {
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
  s.ViewUpdateEnabled = true;
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
  s.ImageMissing = true;
  s.PointCount = 0;
  s.Image.height = 10;
  s.Image.width = 10;
  s.PreviewBitmap.Resize(kPreviewSize, kPreviewSize);
  s.BackBitmap.Resize(kPreviewSize, kPreviewSize);
  s.ViewMin = 0.0f;
  s.ViewMax = 1.0f;
  s.WorkflowState = 0;
  SyncDisplayChecks(s, form);  // also reads the boxes back and enables view updates

  TrackLumValueChange(s, form, host);
  TrackLumPowerChange(s, form, host);
  TrackLumRChange(s, form, host);
  s.SubdivLevel = 0;

  static const char* const kHeader[6] = {"Nb.",           "# lights",      "average reduction",
                                         "min reduction", "max reduction", "diff. index"};
  for (int col = 0; col < 6; ++col) form.GridOptimized.Cell(col, 0) = kHeader[col];

  form.Image1.visible = false;
  form.Image3.visible = true;
}

void SpinPointIterationChange(Session& s, Form& form) {
  if (s.SubdivLevel == 4) {
    form.SpinOptMaxRed.value = 5;
    form.SpinOptLevel1.value = 275;
    form.SpinOptLevel1_min.value = 50;
  } else if (s.SubdivLevel == 5) {
    form.SpinOptMaxRed.value = 6;
    form.SpinOptLevel1.value = 750;
    form.SpinOptLevel1_min.value = 90;
  }
}

void ButtonAbortClick(Session& s) {
  s.AbortRequested = true;
}

bool FormCloseQuery(Session& s) {
  s.AbortRequested = true;
  return true;
}

void FormClose(Session& s) {
  s.PreviewBitmap.Release();
  s.BackBitmap.Release();
}

}  // namespace halvane
