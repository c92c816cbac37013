#pragma once

#include "workflow/control_model.h"
#include "workflow/host.h"
#include "workflow/session.h"
#include "workflow/step_outcome.h"

namespace halvane {

// Step 6: the table's selected row becomes the dome's lights (their summed
// colours and levels), shown in the preview.
StepOutcome ChooseResult(Session& session, ControlModel& controls, Host& host);

}  // namespace halvane
