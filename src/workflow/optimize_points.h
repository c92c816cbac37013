#pragma once

#include "workflow/control_model.h"
#include "workflow/host.h"
#include "workflow/session.h"
#include "workflow/step_outcome.h"

namespace halvane {

// Step 5 "Optimize points": collapse candidates, then levels 1 to 3 of the
// search with the session's search settings, the ranked table and the
// applied first choice. Applies the colours (or the highlight increase)
// first when they are not applied yet. Aborted when the user stopped it or
// it halted after level 1; the results found so far are listed either way.
StepOutcome OptimizePoints(Session& session, ControlModel& controls, Host& host);

}  // namespace halvane
