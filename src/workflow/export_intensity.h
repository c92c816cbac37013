#pragma once

#include "workflow/control_model.h"
#include "workflow/host.h"

namespace halvane {

// The export intensity slider moved: its label shows position / 10 with one
// decimal in the user's number format.
void ShowExportIntensity(ControlModel& controls, Host& host);

}  // namespace halvane
