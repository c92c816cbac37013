#pragma once

#include "rig/script_kind.h"
#include "workflow/control_model.h"
#include "workflow/host.h"
#include "workflow/session.h"

namespace halvane {

// Step 8: asks for a file and writes the light rig as a script of `kind`.
// Does nothing before colours are applied or when the dialog is cancelled;
// a file error is shown as a message and leaves no file under the chosen
// name. The session is not changed.
void ExportScript(Session& session, ControlModel& controls, Host& host, ScriptKind kind);

// The two export buttons: "XSI Script" and "Maya Script".
void ButtonExportClick(Session& session, ControlModel& controls, Host& host);
void ButtonExportMayaClick(Session& session, ControlModel& controls, Host& host);

// The intensity slider moved: its label shows position / 10 with one decimal.
void TrackExpIntChange(ControlModel& controls, Host& host);

}  // namespace halvane
