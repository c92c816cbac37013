#pragma once

#include "rig/rig.h"
#include "workflow/control_model.h"
#include "workflow/session.h"

namespace halvane {

// The rig the export step writes for `kind`: the lights of the table's
// selected row (or every used point when no row is listed), of either method,
// and the sun the colour step found.
Rig ChosenRig(const Session& session, const ControlModel& controls, ScriptKind kind);

}  // namespace halvane
