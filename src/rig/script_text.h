#pragma once

#include <string>

#include "rig/rig.h"

namespace halvane {

// The whole script of `rig` in the language of its kind, every light named
// with `letter`, lines ending in CR LF.
std::string ScriptText(const Rig& rig, char letter);

}  // namespace halvane
