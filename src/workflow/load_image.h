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
constexpr int64_t kLargestImageFileBytes = 36'000'000;

// Reads the image file at `path` with the reader its extension names, within
// the largest image side and file size.
ReadOutcome ReadImageFile(const std::string& path);

// Step 1: choose an image file, read it, build the background picture and
// reset the session to state 1. A file that cannot be read shows the one
// message, logs why, and leaves no image.
StepOutcome LoadImage(Session& session, ControlModel& controls, Host& host);

}  // namespace halvane
