#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "batch/options.h"

namespace halvane {

// A file the run writes, with the option that names it.
struct OutputPath {
  std::string option;  // "-o", "--points-csv", "--preview"
  std::string path;
};

// Every file the options ask for, in the order the run writes them.
std::vector<OutputPath> OutputPaths(const BatchOptions& options);

// Checks the outputs before any work: one that is the input image or
// another output of the run (the same file after following links, or the
// same path) is a usage error; one that cannot be written now is an output
// failure. Prints the first problem on `err` and returns its exit status,
// or kExitDone.
int CheckOutputPaths(const BatchOptions& options, std::ostream& err);

}  // namespace halvane
