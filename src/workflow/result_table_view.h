#pragma once

#include "optimize/search_result.h"
#include "workflow/control_model.h"
#include "workflow/host.h"

namespace halvane {

// The rows of GridOptimized for the ranked results: at most the listed
// results, padded cells in the host's number format; one empty row when
// there are none.
void ShowResultTable(const SearchResults& results, ControlModel& controls, Host& host);

}  // namespace halvane
