#pragma once

#include "workflow/control_model.h"
#include "workflow/host.h"
#include "workflow/session.h"

namespace halvane {

// The highlight boost's sliders: each takes its position into the session's
// highlight settings and shows the value beside it.
void ShowHighlightValue(Session& session, ControlModel& controls, Host& host);
void ShowHighlightPower(Session& session, ControlModel& controls, Host& host);
// Shared by the red, green and blue sliders; also colours the sample panel.
void ShowHighlightColour(Session& session, ControlModel& controls, Host& host);

}  // namespace halvane
