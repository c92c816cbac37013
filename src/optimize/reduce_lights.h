#pragma once

#include "session/form.h"
#include "session/host.h"
#include "session/session.h"

namespace halvane {

// Step 7, "Reduce lights": switches off every point whose light luminance is
// below TrackRedLum's position / 100, redraws the chosen optimization and
// marks the step done. Needs the colours applied (state 3 or more).
void ButtonReduceLightsClick(Session& session, Form& form, Host& host);

// Shows the reduce threshold in LabelRedLum with one decimal.
void TrackRedLumChange(Form& form, Host& host);

// Clears `used` and the light colour and luminance of a point.
void SwitchOffLight(point_typ& point);

// The common end of both finetuning commands: redraws the preview for the
// chosen optimization as choosing a row does, and marks step 7 done.
void FinishFinetuning(Session& session, Form& form, Host& host, const optimization_typ& chosen);

}  // namespace halvane
