#pragma once

#include <cstdint>
#include <string>

#include "image/readers.h"
#include "workflow/control_model.h"
#include "workflow/host.h"
#include "workflow/session.h"
#include "workflow/step_outcome.h"

namespace halvane {

// Files larger than this are refused unread: 3000 x 3000 pixels of four bytes.
// OpenEXR files are never refused for their size, nor Radiance files whose
// picture is scaled down.
constexpr int64_t kLargestImageFileBytes = 36'000'000;

// Reads the image file at `path` with the reader its extension names, within
// the limits and the largest file size.
ReadOutcome ReadImageFile(const std::string& path, const ImageLimits& limits = {});

// Step 1: choose an image file, read it, build the background picture and
// reset the session to state 1. A picture larger than the largest side is
// loaded scaled down when the host's question is answered yes. A file that
// cannot be read shows the one message, logs why, and leaves no image.
StepOutcome LoadImage(Session& session, ControlModel& controls, Host& host);

}  // namespace halvane
