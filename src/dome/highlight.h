#pragma once

#include "workflow/control_model.h"
#include "workflow/host.h"
#include "workflow/session.h"

namespace halvane {

// Step 4 (optional): in passes, adds a growing amount of the highlight colour
// to the points at the top of the luminance range whose whole neighbourhood is
// bright too. Applies the colours first when they are not applied yet.
void ButtonIncreaseMaxWhiteClick(Session& session, ControlModel& controls, Host& host);

// Number of passes for the requested iterations at `stepsPerPass`.
int HighlightPasses(int iterations, int stepsPerPass);
// Increase steps per pass by the resolution of the points.
int HighlightStepsPerPass(uint8_t subdivLevel);
// The increment of pass k (1-based).
float HighlightIncrement(int pass, int stepsPerPass, float value, float power);

// Handlers of the step's track bars.
void TrackLumValueChange(Session& session, ControlModel& controls, Host& host);
void TrackLumPowerChange(Session& session, ControlModel& controls, Host& host);
void TrackLumRChange(Session& session, ControlModel& controls, Host& host);

}  // namespace halvane
