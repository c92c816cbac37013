#pragma once

#include "workflow/control_model.h"
#include "workflow/host.h"
#include "workflow/session.h"
#include "workflow/step_outcome.h"

namespace halvane {

// Step 4 (optional): in passes, adds a growing amount of the highlight colour
// to the points at the top of the luminance range whose whole neighbourhood is
// bright too. Applies the colours first when they are not applied yet, and
// returns that step's outcome when it does not succeed.
StepOutcome BoostHighlights(Session& session, ControlModel& controls, Host& host);

}  // namespace halvane
