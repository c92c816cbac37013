#pragma once

#include <string>

#include "batch/options.h"

namespace halvane {

// Output names are patterns: "{stem}" stands for the image's file name
// without folder and extension, so one command line can name the outputs of
// several images ("rigs/{stem}.usda").
inline constexpr const char* kStemField = "{stem}";

// With more than one image every output option must hold "{stem}", else the
// images would overwrite each other's files. Returns the usage problem, or
// empty.
std::string OutputPatternProblem(const BatchOptions& options);

// The options of the run on `image`: `image` set and "{stem}" in every output
// name replaced by the image's stem.
BatchOptions OptionsForImage(const BatchOptions& options, const std::string& image);

}  // namespace halvane
