#pragma once

#include <cstdint>

#include "optimize/search_run.h"

namespace halvane {

// The range, light limit, smallest collapse and pruning bounds each level of
// "Optimize points" runs with, by the dome's subdivision level (3: 162
// points, 4: 642, 5: 2562). Values a level does not set stay as the level
// before left them.

// Level 1 decides points 1..level1Points and keeps results of at most
// level1MaxLights lights (both only for subdivision levels 4 and 5).
void SetLevel1Values(SearchRun& run, uint8_t subdivLevel, uint32_t level1Points,
                     uint32_t level1MaxLights);
// Level 2 refines the best level-1 results over the points after level 1's.
void SetLevel2Values(SearchRun& run, uint8_t subdivLevel, uint32_t pointCount);
// Level 3 refines the best level-2 results over every point, uncut.
void SetLevel3Values(SearchRun& run, uint8_t subdivLevel, uint32_t pointCount);

}  // namespace halvane
