#include "rig/export_step.h"

#include <exception>

#include "base/number_text.h"
#include "rig/light_name.h"
#include "rig/script_file.h"
#include "rig/script_text.h"
#include "workflow/workflow.h"

namespace halvane {
namespace {

constexpr int kExportStep = 8;

// Builds the script and writes it; returns an empty string or the failure.
std::string WriteScript(const Session& s, const ControlModel& controls, Host& host, ScriptKind kind,
                        const std::string& path) {
  try {
    const char letter = DrawNameLetter(host);
    return WriteFileReplacing(path, BuildScript(s, kind, ScriptOptionsFromForm(controls), letter));
  } catch (const std::exception& e) {
    return WriteFailureText(path, e.what());
  }
}

}  // namespace

void ExportScript(Session& s, ControlModel& controls, Host& host, ScriptKind kind) {
  if (s.workflowState < 3) return;
  const auto path = host.ChooseSaveFile(DefaultExtension(kind), SaveFilter(kind));
  if (!path) return;

  SetBusy(controls, true);
  const std::string failure = WriteScript(s, controls, host, kind, *path);
  if (failure.empty())
    MarkStepDone(controls, kExportStep);
  else
    host.ShowMessage(failure);
  SetBusy(controls, false);
}

void ButtonExportClick(Session& s, ControlModel& controls, Host& host) {
  ExportScript(s, controls, host, ScriptKind::Xsi);
}

void ButtonExportMayaClick(Session& s, ControlModel& controls, Host& host) {
  ExportScript(s, controls, host, ScriptKind::Maya);
}

void TrackExpIntChange(ControlModel& controls, Host& host) {
  const double value = static_cast<double>(controls.TrackExpInt.position / 10.0L);
  controls.LabelExpIntens.caption = FormatFixed(value, 1, host.GetNumberFormat());
}

}  // namespace halvane
