#pragma once

#include "dome/dome.h"
#include "optimize/search_result.h"

namespace halvane {

// Makes `result` the dome's lights: a point it keeps gets the summed colour
// and luminance of its collapse's members and the collapse's level, a point
// it absorbs is switched off (level 0, no light).
void ApplyResultLights(Dome& dome, const SearchResult& result);

}  // namespace halvane
