#pragma once

#include <cstdint>
#include <string>

#include "optimize/search_result.h"

namespace halvane {

// The caps on the running light count of a level-1 or level-2 visit: a
// visit of point j whose count is above a cap that applies to j is cut.
// Level 3 is never cut.
struct PruneBounds {
  uint32_t all = 0;    // any point of the level
  uint32_t half = 0;   // points below half the point count
  uint32_t third = 0;  // level 1 only: points below a third of the count
  uint32_t fifth = 0;  // level 1 only: points below a fifth
  uint32_t tenth = 0;  // level 1 only: points below a tenth
};

// The values of the level being searched, whichever search walks it. The
// literal search changes and undoes decisions in place in `current`.
struct SearchRun {
  SearchResult current{};
  int64_t runLights = 0;  // lights of the decisions made so far
  uint32_t minLights = 0;
  uint32_t lightLimit = 0;  // a leaf with more running lights is rejected
  uint32_t firstIndex = 0;  // the range of points the level decides
  uint32_t lastIndex = 0;
  uint32_t progressIndex = 0;  // the open decision the progress reports, 0 if none
  uint8_t minLevel = 0;        // smallest collapse level tried in levels 1 and 2
  PruneBounds bounds;
  uint32_t seedIndex = 1;
  std::string seedLabel;  // "seed/seeds  " before the progress text
  uint32_t firstFree = 1;
};

}  // namespace halvane
