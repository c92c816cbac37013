#pragma once

#include <cstdint>
#include <vector>

#include "workflow/session.h"

namespace halvane {

// Which lights an export writes. In candidate mode they are the lights of one
// listed optimization; in plain mode every used point is a light.
struct ExportSelection {
  bool candidate = false;
  int optimization = 0;  // the chosen result in candidate mode, else 0
};

// Candidate mode when `selectedRow` (the top row of the result table's
// selection) names a listed optimization, plain mode otherwise.
ExportSelection SelectExportMode(const Session& session, int selectedRow);

// The indices of the exported points in ascending order. Numbers keep their
// gaps: absorbed and deleted points are simply left out.
std::vector<uint32_t> ExportedPoints(const Session& session, const ExportSelection& selection);

}  // namespace halvane
