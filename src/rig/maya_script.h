#pragma once

#include <string>

#include "rig/export_selection.h"
#include "workflow/session.h"

namespace halvane {

// The MEL script's first section: renderer set-up and the root locator with
// its keyable control attributes.
void AppendMayaHeader(std::string& out);

// The rest of the MEL script: the six level locators, one block per exported
// light named with `letter`, and the closing lines.
void AppendMayaLights(std::string& out, const Session& session, const ExportSelection& selection,
                      char letter);

}  // namespace halvane
