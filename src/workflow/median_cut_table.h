#pragma once

#include <vector>

#include "optimize/median_cut.h"

namespace halvane {

// The rows of the median cut method, one per light count of
// kMedianCutCounts, while the result table shows them.
struct MedianCutTable {
  bool shown = false;
  std::vector<std::vector<MedianCutLight>> rows;  // row r of the table is rows[r - 1]
};

}  // namespace halvane
