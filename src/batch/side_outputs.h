#pragma once

#include <iosfwd>

#include "batch/image_record.h"
#include "batch/options.h"
#include "workflow/control_model.h"
#include "workflow/session.h"

namespace halvane {

// Writes the points CSV and the preview picture the options ask for, each
// made whole in memory and then written through WriteOutputFile. Prints the
// file and the reason of a failure on `err` and returns kExitOutputFailed,
// else kExitDone. Each file written is added to `written`.
int WriteSideOutputs(const BatchOptions& options, const Session& session,
                     const ControlModel& controls, std::ostream& err,
                     std::vector<OutputPath>& written);

}  // namespace halvane
