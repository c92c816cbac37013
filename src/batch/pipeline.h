#pragma once

#include <iosfwd>

#include "batch/image_record.h"
#include "batch/options.h"

namespace halvane {

constexpr int kExitDone = 0;
constexpr int kExitUnreadable = 1;
constexpr int kExitUsage = 2;
constexpr int kExitOutputFailed = 3;
constexpr int kExitInternalError = 4;

// Runs the window's steps in order on the options' image. Log lines (with
// -v), the progress and messages go to `err`; requested listings to `out`.
// `record` receives the exit status, the step times, the outputs written
// and, with --json, the description of the image and its rig.
int RunPipeline(const BatchOptions& options, std::ostream& out, std::ostream& err,
                ImageRecord& record);

}  // namespace halvane
