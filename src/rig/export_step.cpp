#include "rig/export_step.h"

#include <exception>

#include "rig/light_name.h"
#include "rig/script_file.h"
#include "rig/script_text.h"
#include "base/number_text.h"
#include "workflow/workflow.h"

namespace halvane {
namespace {

constexpr int kExportStep = 8;

// Builds the script and writes it; returns an empty string or the failure.
std::string WriteScript(const Session& s, const Form& form, Host& host, ScriptKind kind,
                        const std::string& path) {
  try {
    const char letter = DrawNameLetter(host);
    return WriteFileReplacing(path, BuildScript(s, kind, ScriptOptionsFromForm(form), letter));
  } catch (const std::exception& e) {
    return WriteFailureText(path, e.what());
  }
}

}  // namespace

void ExportScript(Session& s, Form& form, Host& host, ScriptKind kind) {
  if (s.workflowState < 3) return;
  const auto path = host.ChooseSaveFile(DefaultExtension(kind), SaveFilter(kind));
  if (!path) return;

  SetBusy(form, true);
  const std::string failure = WriteScript(s, form, host, kind, *path);
  if (failure.empty())
    MarkStepDone(form, kExportStep);
  else
    host.ShowMessage(failure);
  SetBusy(form, false);
}

void ButtonExportClick(Session& s, Form& form, Host& host) {
  ExportScript(s, form, host, ScriptKind::Xsi);
}

void ButtonExportMayaClick(Session& s, Form& form, Host& host) {
  ExportScript(s, form, host, ScriptKind::Maya);
}

void TrackExpIntChange(Form& form, Host& host) {
  const double value = static_cast<double>(form.TrackExpInt.position / 10.0L);
  form.LabelExpIntens.caption = FormatFixed(value, 1, host.GetNumberFormat());
}

}  // namespace halvane
