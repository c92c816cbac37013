#pragma once

#include <string>

#include "rig/rig.h"

namespace halvane::testing {

// The rig of an image file after the window's steps with their start-up
// values: load, start points, colour application and, when `optimize`, the
// optimization with the first result chosen (otherwise every point is a
// light). The rig's source is the file's name.
Rig PipelineRig(const std::string& imagePath, ScriptKind kind, bool optimize);

// A 128 x 64 Radiance image, black but for one pixel of value 512 at
// (column, row), written to `path`.
void WriteBrightPixelImage(const std::string& path, int column, int row);

}  // namespace halvane::testing
