#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "batch/options.h"

namespace halvane {

// A file the run writes, with the option that names it.
struct OutputPath {
  std::string option;  // "-o", "--points-csv", "--preview", "--json"
  std::string path;
};

// Every file the options ask for, in the order the run writes them.
std::vector<OutputPath> OutputPaths(const BatchOptions& options);

// Checks the outputs of every image's run before any work: one that is an
// input image or another output of the command (the same file after
// following links, or the same path) is a usage error; one that cannot be
// written now is an output failure. Prints the first problem on `err` and
// returns its exit status, or kExitDone.
int CheckOutputPaths(const std::vector<BatchOptions>& runs, std::ostream& err);

}  // namespace halvane
