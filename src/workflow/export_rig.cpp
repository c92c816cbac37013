#include "workflow/export_rig.h"

#include <exception>
#include <filesystem>
#include <string>

#include "base/output_file.h"
#include "rig/light_name.h"
#include "rig/rig.h"
#include "rig/script_text.h"
#include "workflow/chosen_rig.h"
#include "workflow/workflow.h"

namespace halvane {
namespace {

constexpr int kExportStep = 8;

std::string WriteFailureText(const std::string& path, const std::string& reason) {
  return "Cannot write \"" + path + "\": " + reason;
}

// "Maya script written: PATH (N lights)": what a completed export tells.
std::string WrittenText(ScriptKind kind, const std::string& path, std::size_t lights) {
  const char* what = kind == ScriptKind::Xsi       ? "XSI script"
                     : kind == ScriptKind::Usd     ? "USD stage"
                     : kind == ScriptKind::Blender ? "Blender script"
                                                   : "Maya script";
  return std::string(what) + " written: " + path + " (" + std::to_string(lights) +
         (lights == 1 ? " light)" : " lights)");
}

// Builds the script and writes it; returns an empty string or the failure.
// `lights` is the number of lights in the script.
std::string WriteScript(const Session& s, const ControlModel& controls, Host& host, ScriptKind kind,
                        const std::string& path, std::size_t& lights) {
  std::string text;
  try {
    const char letter = NameLetter(host.RandomInt(kNameLetterCount));
    Rig rig = ChosenRig(s, controls, kind);
    rig.source = std::filesystem::path(controls.EditImagename.text).filename().string();
    lights = rig.lights.size();
    text = ScriptText(rig, letter);
  } catch (const std::exception& e) {
    return WriteFailureText(path, e.what());
  }
  if (const auto error = WriteOutputFile(path, text)) return WriteFailureText(path, error->reason);
  return {};
}

// The message box keeps its text; the log and the status bar name the file
// and the reason too, so they stay visible once the box is closed.
void ReportFailure(ControlModel& controls, Host& host, const std::string& failure) {
  host.ShowMessage(failure);
  AddLogLine(controls, host, ":  " + failure);
  SetStatus(controls, 0, failure);
}

}  // namespace

ScriptKind MayaScriptKind(const ControlModel& controls) {
  return controls.RadioMayaRenderer.itemIndex == kMayaRendererArnold ? ScriptKind::MayaArnold
                                                                     : ScriptKind::Maya;
}

StepOutcome ExportRig(Session& s, ControlModel& controls, Host& host, ScriptKind kind) {
  if (s.workflowState < 3) return StepOutcome::NotRun("Apply colours first.");
  const auto path = host.ChooseSaveFile(DefaultExtension(kind), SaveFilter(kind));
  if (!path) return StepOutcome::NotRun("Choose a file to export to.");

  SetBusy(controls, true);
  std::size_t lights = 0;
  const std::string failure = WriteScript(s, controls, host, kind, *path, lights);
  if (failure.empty())
    MarkStepDone(controls, kExportStep);
  else
    ReportFailure(controls, host, failure);
  SetBusy(controls, false);
  if (!failure.empty()) return StepOutcome::Failed(failure);
  // The window shows the message in its status bar and log.
  return {StepStatus::kDone, WrittenText(kind, *path, lights)};
}

}  // namespace halvane
