#pragma once

#include <string>

#include "rig/rig.h"

namespace halvane::testing {

// What a USD reader must see in the stage written for `rig` with `letter`:
// metadata, prims in file order with their types, API schemas and attribute
// values and types, and the irradiance at the origin. JSON for
// check_rig_usda.mjs.
std::string UsdExpectations(const Rig& rig, char letter);

// What Blender must hold after running the script written for `rig`: the
// controls with their ranges, and for the default controls and for changed
// ones every light's evaluated values and the irradiance at the origin. JSON
// for check_blender_rig.py.
std::string BlenderExpectations(const Rig& rig, char letter);

}  // namespace halvane::testing
