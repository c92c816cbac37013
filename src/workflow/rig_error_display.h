#pragma once

#include <optional>
#include <string>

#include "rig/rig_error.h"
#include "workflow/control_model.h"
#include "workflow/host.h"
#include "workflow/session.h"

namespace halvane {

// The environment the rig error compares with, measured once per colour step.
const EnvironmentIrradiance& SampledEnvironment(Session& session);

// The error of the rig the export would write, or nothing before colours are
// applied.
std::optional<RigError> ChosenRigError(Session& session, const ControlModel& controls);

// "4.15 % (scale 1.02)".
std::string RigErrorText(const RigError& error, const NumberFormat& format);

// Shows the chosen rig's error in LabelRigError and logs
// "Rig error: 4.15 % (scale 1.02, ...)" naming the view it was measured on;
// returns that line without the time, or nothing before colours are applied.
std::optional<std::string> ShowRigError(Session& session, ControlModel& controls, Host& host);

}  // namespace halvane
