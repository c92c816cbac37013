#pragma once

#include <iosfwd>

#include "workflow/session.h"

namespace halvane {

// One header line, then one line per point in index order; real numbers as
// the shortest decimal that reads back to the same value.
void WritePointsCsv(const Session& session, std::ostream& out);

}  // namespace halvane
