#pragma once

#include "workflow/control_model.h"
#include "workflow/host.h"
#include "workflow/session.h"

namespace halvane {

// Shows, for the preview pixel (x, y) under the pointer, the image position
// and the colour values there in the "Mouse Position" labels: before the
// colours are applied the raw pixel and its value normalised by the black and
// white points, afterwards the colour, luminance and largest level of the
// first point near the pointer next to the raw pixel. Without a loaded image
// only the position is shown.
void ShowReadoutAt(const Session& session, ControlModel& controls, Host& host, int x, int y);

}  // namespace halvane
