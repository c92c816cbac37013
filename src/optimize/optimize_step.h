#pragma once

#include "workflow/control_model.h"
#include "workflow/host.h"
#include "workflow/session.h"

namespace halvane {

// Step 5: collapse candidates, then levels 1 to 3 of the search, the ranked
// table and the applied first choice. Applies the colours (or the highlight
// increase) first when they are not applied yet.
void ButtonOptimizeClick(Session& session, ControlModel& controls, Host& host);

// Seconds from `start` to `end` (times of day); a run that crosses midnight
// adds one day.
double ElapsedSeconds(double start, double end);

}  // namespace halvane
