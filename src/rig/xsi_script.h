#pragma once

#include <string>

#include "rig/rig.h"

namespace halvane {

// The VBScript of `rig`: the root null and its custom parameters, the six
// level nulls (candidate mode only) and one block per light named with
// `letter`. The last block ends the file. Lines end in CR LF.
std::string XsiScript(const Rig& rig, char letter);

}  // namespace halvane
