#pragma once

#include <string>

#include "workflow/control_model.h"
#include "workflow/host.h"
#include "workflow/session.h"

namespace halvane {

// The luminance window width from the threshold field: blanks count as "0",
// whole part before the first ".", hundredths after it.
float ParseThreshold(const std::string& text);

// Every point becomes a single light of its own colour again, with no
// collapse candidates.
void ResetOptimizationFields(Session& session);

// For every point, the largest reduction level at which it may be a collapse
// centre (`maxLevel`) and the ring-ordered members of each such collapse;
// then the thinning of centre candidates on plateaus of equal reach.
// `maxReduction` is the largest level tried (3..6).
void BuildCandidates(Session& session, ControlModel& controls, Host& host, float threshold,
                     uint8_t maxReduction);

// The thinning pass alone (part of BuildCandidates).
void ThinCandidates(Session& session);

}  // namespace halvane
