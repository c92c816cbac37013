#pragma once

#include <string>

#include "rig/script_kind.h"
#include "workflow/control_model.h"
#include "workflow/session.h"

namespace halvane {

// The control values a script depends on.
struct ScriptOptions {
  int selectedRow = 1;      // top row of the result table's selection
  int lightDistance = 100;  // the XSI distance parameter's default
};

ScriptOptions ScriptOptionsFromForm(const ControlModel& controls);

// The whole script text, every light named with `letter`, lines ending in
// CR LF.
std::string BuildScript(const Session& session, ScriptKind kind, const ScriptOptions& options,
                        char letter);

}  // namespace halvane
