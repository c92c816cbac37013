#pragma once

#include "workflow/form.h"
#include "workflow/host.h"
#include "workflow/session.h"

namespace halvane {

// Step 7, "Reduce lights": switches off every point whose light luminance is
// below TrackRedLum's position / 100, redraws the chosen optimization and
// marks the step done. Needs the colours applied (state 3 or more).
void ButtonReduceLightsClick(Session& session, Form& form, Host& host);

// Shows the reduce threshold in LabelRedLum with one decimal.
void TrackRedLumChange(Form& form, Host& host);

}  // namespace halvane
