#pragma once

#include "workflow/control_model.h"
#include "workflow/host.h"
#include "workflow/session.h"
#include "workflow/step_outcome.h"

namespace halvane {

// Step 7, "Reduce lights": switches off every light below TrackRedLum's
// position / 100, redraws the chosen result and marks the step done. Needs
// the colours applied.
StepOutcome ReduceLights(Session& session, ControlModel& controls, Host& host);

// Step 7, "Collapse lights": merges the chosen result's single lights with
// their neighbours within the EditRedThreshold tolerance, in groups of at
// least SpinRedGroupNr lights (see MergeSimilarLights). Needs the colours
// applied.
StepOutcome CollapseLights(Session& session, ControlModel& controls, Host& host);

// Shows the reduce threshold in LabelRedLum with one decimal.
void ShowReduceThreshold(ControlModel& controls, Host& host);

}  // namespace halvane
