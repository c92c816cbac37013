#pragma once

#include "workflow/control_model.h"
#include "workflow/host.h"
#include "workflow/session.h"
#include "workflow/step_outcome.h"

namespace halvane {

constexpr const char* kBlackWhiteMustDiffer = "Black point and white point must differ.";

// Step 3: every point takes the mean colour of the image around it (limited
// to the clamp luminance) and becomes a light of that colour; statistics,
// proposals for the later steps' fields, and the points sorted by
// neighbourhood luminance. Places the points first when there are none.
// Equal black and white points are refused with a message (shown, and
// returned as the failure) before anything changes.
StepOutcome ApplyColour(Session& session, ControlModel& controls, Host& host);

}  // namespace halvane
