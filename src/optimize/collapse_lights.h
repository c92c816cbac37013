#pragma once

#include "workflow/control_model.h"
#include "workflow/host.h"
#include "workflow/session.h"

namespace halvane {

// Step 7, "Collapse lights": merges each single light of the chosen
// optimization with those of its neighbours whose luminance lies within the
// EditRedThreshold tolerance, when the group holds at least SpinRedGroupNr
// lights. Larger groups are formed first. The merged light keeps the summed
// colour and luminance; a group of four or more becomes a level-2 light.
void ButtonCollapseLightsClick(Session& session, ControlModel& controls, Host& host);

}  // namespace halvane
