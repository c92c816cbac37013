#pragma once

#include <optional>
#include <string>

#include "base/number_text.h"
#include "rig/rig.h"
#include "workflow/session.h"

namespace halvane {

// The sun the last colour step took out of the dome's picture, as the rig's
// directional light; none without the option or when no sun was found.
std::optional<RigSun> SessionSun(const Session& session);

// The log line of the colour step about the sun: where it is, how wide and
// bright, and the threshold used; empty without the option.
std::string SunLogLine(const Session& session, const NumberFormat& format);

}  // namespace halvane
