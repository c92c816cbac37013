#pragma once

#include <cstdint>

#include "base/progress.h"
#include "dome/dome.h"

namespace halvane {

struct CandidateSettings {
  float threshold = 0.0f;    // width of a collapse's luminance window
  uint8_t maxReduction = 0;  // largest collapse level tried (3..6)
};

// Every point becomes a single light of its own colour again, with no
// collapse candidates.
void ResetOptimizationFields(Dome& dome);

// For every point, the largest reduction level at which it may be a collapse
// centre (`maxLevel`) and the ring-ordered members of each such collapse;
// then the thinning of centre candidates on plateaus of equal reach.
// Reports "i/n" every tenth point.
void BuildCandidates(Dome& dome, const CandidateSettings& settings, const Progress& progress);

// The thinning pass alone (part of BuildCandidates).
void ThinCandidates(Dome& dome);

}  // namespace halvane
