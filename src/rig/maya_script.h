#pragma once

#include <string>

#include "rig/rig.h"

namespace halvane {

// The MEL script of `rig`: the root locator with its attributes, the six
// level locators and one block per light named with `letter`. Lines end in
// CR LF.
std::string MayaScript(const Rig& rig, char letter);

}  // namespace halvane
