#pragma once

#include <string>

#include "rig/export_selection.h"
#include "workflow/session.h"

namespace halvane {

// The VBScript's first section: the root null and its custom parameters,
// the distance parameter defaulting to `lightDistance`.
void AppendXsiHeader(std::string& out, int lightDistance);

// The rest of the VBScript: the six level nulls (candidate mode only) and one
// block per exported light named with `letter`. The last block ends the file.
void AppendXsiLights(std::string& out, const Session& session, const ExportSelection& selection,
                     char letter);

}  // namespace halvane
