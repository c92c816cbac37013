#include "rig/script_text.h"

#include "rig/export_selection.h"
#include "rig/maya_script.h"
#include "rig/xsi_script.h"

namespace halvane {

ScriptOptions ScriptOptionsFromForm(const ControlModel& controls) {
  return {controls.GridOptimized.selectedRow, controls.SpinLightDistance.value};
}

namespace {

std::string ScriptHeader(ScriptKind kind, const ScriptOptions& options) {
  std::string out;
  if (kind == ScriptKind::Maya)
    AppendMayaHeader(out);
  else
    AppendXsiHeader(out, options.lightDistance);
  return out;
}

std::string ScriptAfterHeader(const Session& s, ScriptKind kind, const ScriptOptions& options,
                              char letter) {
  const ExportSelection selection = SelectExportMode(s, options.selectedRow);
  std::string out;
  if (kind == ScriptKind::Maya)
    AppendMayaLights(out, s, selection, letter);
  else
    AppendXsiLights(out, s, selection, letter);
  return out;
}

}  // namespace

std::string BuildScript(const Session& s, ScriptKind kind, const ScriptOptions& options,
                        char letter) {
  return ScriptHeader(kind, options) + ScriptAfterHeader(s, kind, options, letter);
}

}  // namespace halvane
