#include "workflow/export_rig.h"

#include <exception>
#include <string>

#include "rig/light_name.h"
#include "rig/rig.h"
#include "rig/script_file.h"
#include "rig/script_text.h"
#include "workflow/workflow.h"

namespace halvane {
namespace {

constexpr int kExportStep = 8;

RigOptions RigOptionsFromForm(const ControlModel& controls, ScriptKind kind) {
  return {kind, controls.GridOptimized.selectedRow, controls.SpinLightDistance.value};
}

// Builds the script and writes it; returns an empty string or the failure.
std::string WriteScript(const Session& s, const ControlModel& controls, Host& host, ScriptKind kind,
                        const std::string& path) {
  try {
    const char letter = NameLetter(host.RandomInt(kNameLetterCount));
    const Rig rig = MakeRig(s.dome, s.image, s.results, RigOptionsFromForm(controls, kind));
    return WriteFileReplacing(path, ScriptText(rig, letter));
  } catch (const std::exception& e) {
    return WriteFailureText(path, e.what());
  }
}

// The message box keeps its text; the log and the status bar name the file
// and the reason too, so they stay visible once the box is closed.
void ReportFailure(ControlModel& controls, Host& host, const std::string& failure) {
  host.ShowMessage(failure);
  AddLogLine(controls, host, ":  " + failure);
  SetStatus(controls, 0, failure);
}

}  // namespace

StepOutcome ExportRig(Session& s, ControlModel& controls, Host& host, ScriptKind kind) {
  if (s.workflowState < 3) return StepOutcome::NotRun("Apply colours first.");
  const auto path = host.ChooseSaveFile(DefaultExtension(kind), SaveFilter(kind));
  if (!path) return StepOutcome::NotRun("Choose a file to export to.");

  SetBusy(controls, true);
  const std::string failure = WriteScript(s, controls, host, kind, *path);
  if (failure.empty())
    MarkStepDone(controls, kExportStep);
  else
    ReportFailure(controls, host, failure);
  SetBusy(controls, false);
  return failure.empty() ? StepOutcome::Done() : StepOutcome::Failed(failure);
}

}  // namespace halvane
