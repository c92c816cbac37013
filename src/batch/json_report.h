#pragma once

#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "batch/image_record.h"
#include "workflow/control_model.h"
#include "workflow/session.h"

namespace halvane {

// The number of lights the exported rig of the session holds.
int RigLightCount(const Session& session, const ControlModel& controls);

// The image and what the run made of it, as far as it got: the input file
// (path, size in bytes, format, and once loaded the picture size), the dome
// statistics, the result table and its chosen row, and the rig's lights with
// their pixel, direction, colour and intensity (docs/halvane-batch.schema.json).
nlohmann::json DescribeImage(const std::string& imagePath, std::optional<char> letter,
                             const Session& session, const ControlModel& controls);

// One JSON document for the images of a run: each record's description with
// its exit status, the outputs written and the seconds per step.
std::string JsonDocument(const std::vector<ImageRecord>& records);

}  // namespace halvane
