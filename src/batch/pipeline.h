#pragma once

#include <iosfwd>

#include "batch/options.h"

namespace halvane {

constexpr int kExitDone = 0;
constexpr int kExitUnreadable = 1;
constexpr int kExitUsage = 2;
constexpr int kExitOutputFailed = 3;
constexpr int kExitInternalError = 4;

// Runs the window's steps in order on the options' image. Log lines (with
// -v) and messages go to `err`; requested listings to `out`.
int RunPipeline(const BatchOptions& options, std::ostream& out, std::ostream& err);

}  // namespace halvane
