#pragma once

#include "rig/script_kind.h"
#include "workflow/control_model.h"
#include "workflow/host.h"
#include "workflow/session.h"
#include "workflow/step_outcome.h"

namespace halvane {

// Step 8: asks for a file and writes the light rig as a script of `kind`,
// the lights named with one letter drawn at random. Not run before colours
// are applied or when the dialog is cancelled. A file error is shown as a
// message, returned as the failure and leaves no file under the chosen name.
// The session is not changed.
StepOutcome ExportRig(Session& session, ControlModel& controls, Host& host, ScriptKind kind);

// The Maya script the renderer choice next to the Maya button asks for:
// mental ray (the default) or Arnold.
ScriptKind MayaScriptKind(const ControlModel& controls);

}  // namespace halvane
