#pragma once

namespace halvane {

// Qt keeps per-user runtime files in XDG_RUNTIME_DIR and warns at every start
// where a session manager has not set it (containers, CI, ssh). Sets it to a
// private folder of our own in the temporary folder when it is missing.
void EnsureRuntimeFolder();

}  // namespace halvane
