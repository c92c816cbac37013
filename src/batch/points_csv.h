#pragma once

#include <iosfwd>

#include "dome/dome.h"

namespace halvane {

// One header line, then one line per point in index order; real numbers as
// the shortest decimal that reads back to the same value.
void WritePointsCsv(const Dome& dome, std::ostream& out);

}  // namespace halvane
