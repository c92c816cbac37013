#pragma once

#include "workflow/control_model.h"
#include "workflow/host.h"
#include "workflow/session.h"

namespace halvane {

constexpr const char* kBlackWhiteMustDiffer = "Black point and white point must differ.";

// Step 3: every point takes the mean colour of the image around it (limited
// to the clamp luminance) and becomes a light of that colour; statistics,
// threshold proposals, and the points sorted by neighbourhood luminance.
// Generates the points first when there are none.
void ButtonApplyColorClick(Session& session, ControlModel& controls, Host& host);

// "00500/642 points": progress of a pass over the points.
std::string PointProgressText(uint32_t i, uint32_t count);

}  // namespace halvane
