#pragma once

#include <string>

#include "rig/rig.h"

namespace halvane {

// The whole script of `rig` in the language of its kind, every light named
// with `letter`. The Maya and XSI scripts end their lines in CR LF, the USD
// stage, the Blender script and the Arnold script in LF.
std::string ScriptText(const Rig& rig, char letter);

}  // namespace halvane
