#pragma once

#include "workflow/control_model.h"
#include "workflow/host.h"
#include "workflow/session.h"

namespace halvane {

// What the two finetuning commands share.

// Clears `used` and the light colour and luminance of a point.
void SwitchOffLight(DomePoint& point);

// The common end of both commands: redraws the preview for the chosen
// optimization as choosing a row does, and marks step 7 done.
void FinishFinetuning(Session& session, ControlModel& controls, Host& host,
                      const SearchResult& chosen);

}  // namespace halvane
