#pragma once

#include <string>

#include "rig/rig.h"

namespace halvane {

// The rig as a MEL script for current Maya with Arnold: the Maya script's
// root locator, attributes and level locators, and a point light per light
// with one expression, built at run time from the attributes the light has,
// so the script also runs where Arnold is not loaded. No plug-in is loaded
// and the renderer is left as it is. Lines end in LF.
std::string ArnoldScript(const Rig& rig, char letter);

}  // namespace halvane
