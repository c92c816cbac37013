#pragma once

#include "image/display_color.h"
#include "workflow/session.h"

namespace halvane {

// The session's view settings that the display mapping reads.
DisplaySettings DisplaySettingsOf(const Session& session);

}  // namespace halvane
