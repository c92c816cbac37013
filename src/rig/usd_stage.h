#pragma once

#include <string>

#include "rig/rig.h"

namespace halvane {

// The rig as a USD stage in text form (.usda): a root Xform named like the
// Maya root with the controls as custom attributes, six level Xforms, and a
// UsdLux SphereLight per light with the values the Maya expressions give at
// the default controls. Lines end in LF.
std::string UsdStage(const Rig& rig, char letter);

}  // namespace halvane
