#pragma once

#include "workflow/control_model.h"
#include "workflow/host.h"
#include "workflow/session.h"

namespace halvane {

// Step 7, "Reduce lights": switches off every point whose light luminance is
// below TrackRedLum's position / 100, redraws the chosen optimization and
// marks the step done. Needs the colours applied (state 3 or more).
void ButtonReduceLightsClick(Session& session, ControlModel& controls, Host& host);

// Shows the reduce threshold in LabelRedLum with one decimal.
void TrackRedLumChange(ControlModel& controls, Host& host);

}  // namespace halvane
