#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "batch/output_paths.h"

namespace halvane {

// How long one step of an image's run took.
struct StepTime {
  std::string step;  // "load", "placePoints", ...
  double seconds = 0.0;
};

// What the run on one image did, for the line per image and the JSON report.
struct ImageRecord {
  std::string image;
  int exitCode = 0;
  std::vector<StepTime> stepTimes;
  std::vector<OutputPath> written;  // the outputs written, in order
  int lightCount = -1;              // the lights of the rig; -1 before colours are applied
  nlohmann::json description;       // with --json: the input, statistics, table and lights
};

}  // namespace halvane
