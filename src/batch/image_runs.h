#pragma once

#include <iosfwd>

#include "batch/options.h"

namespace halvane {

// Runs the pipeline on every image of the command line, one after another.
// All outputs are named and checked before the first image is read; a
// failing image does not stop the others. With more than one image a line
// per image and a summary follow on `err`. With --json the description goes
// to `out` as one document, or to the --json file of each image. Returns the
// highest exit status of the images.
int RunImages(const BatchOptions& options, std::ostream& out, std::ostream& err);

}  // namespace halvane
