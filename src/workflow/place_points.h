#pragma once

#include "workflow/control_model.h"
#include "workflow/host.h"
#include "workflow/session.h"
#include "workflow/step_outcome.h"

namespace halvane {

// Step 2: the geodesic grid of analysis points (the icosahedron refined to
// SpinPointIteration levels), their neighbours and the image pixel each
// direction looks at. Colours applied before must be applied again.
StepOutcome PlacePoints(Session& session, ControlModel& controls, Host& host);

}  // namespace halvane
