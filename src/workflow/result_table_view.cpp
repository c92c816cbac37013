#include "workflow/result_table_view.h"

#include <algorithm>
#include <string>

#include "base/number_text.h"
#include "optimize/result_table.h"
#include "workflow/workflow.h"

namespace halvane {

void ShowResultTable(const SearchResults& results, ControlModel& controls, Host& host) {
  StringGrid& grid = controls.GridOptimized;
  if (results.count == 0) {
    EmptyResultTable(controls);
    return;
  }
  const NumberFormat nf = host.GetNumberFormat();
  const int rows = std::min<int>(results.count, kListedResults);
  grid.SetRowCount(rows + 1);
  for (int r = 1; r <= rows; ++r) {
    const SearchResult& rec = results.results[static_cast<std::size_t>(r)];
    grid.Cell(0, r) = PadLeft(std::to_string(r), 4);
    grid.Cell(1, r) = PadLeft(std::to_string(rec.lightCount), 5);
    grid.Cell(2, r) = PadLeft(FormatFixed(rec.avgReduction, 2, nf, true), 5);
    grid.Cell(3, r) = PadLeft(std::to_string(rec.recordedLights), 5);
    grid.Cell(4, r) = PadLeft(std::to_string(rec.maxReduction), 5);
    grid.Cell(5, r) = PadLeft(std::to_string(rec.diffIndex), 5);
  }
}

}  // namespace halvane
