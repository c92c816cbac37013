#pragma once

#include "workflow/control_model.h"
#include "workflow/host.h"
#include "workflow/session.h"

namespace halvane {

// A display check box of the overlay changed: takes over the view settings
// and redraws the overlay.
void ApplyOverlaySettings(Session& session, ControlModel& controls, Host& host);
// A display check box or the range of the background changed: takes over the
// view settings and redraws background and overlay.
void ApplyBackgroundSettings(Session& session, ControlModel& controls, Host& host);

// The view range's minimum or maximum was edited: the other bound moves so
// that the minimum stays below the maximum, then everything is redrawn.
void ChangeViewMinimum(Session& session, ControlModel& controls, Host& host);
void ChangeViewMaximum(Session& session, ControlModel& controls, Host& host);

// Shifts the whole view range by one, as far as its limits allow, and
// redraws everything.
void ShiftViewRangeDown(Session& session, ControlModel& controls, Host& host);
void ShiftViewRangeUp(Session& session, ControlModel& controls, Host& host);

}  // namespace halvane
