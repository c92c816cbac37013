#pragma once

#include <string>

#include "rig/rig.h"

namespace halvane {

// The rig as a Python script for Blender 3.x and 4.x: an Empty root whose
// custom properties are the controls, an Empty per level, and a point light
// per light whose location, colour, energy, shadow switch, specular factor,
// radius and visibility are drivers on the root's properties mirroring the
// Maya expressions. Lines end in LF.
std::string BlenderScript(const Rig& rig, char letter);

}  // namespace halvane
