#include "rig/export_selection.h"

namespace halvane {

ExportSelection SelectExportMode(const Session& s, int selectedRow) {
  if (s.results.count > 0 && selectedRow >= 1 && selectedRow <= s.results.count)
    return {true, selectedRow};
  return {false, 0};
}

std::vector<uint32_t> ExportedPoints(const Session& s, const ExportSelection& selection) {
  std::vector<uint32_t> indices;
  for (uint32_t i = 1; i <= s.dome.pointCount; ++i) {
    if (!s.dome.points[i].used) continue;
    if (selection.candidate && s.results.results[selection.optimization].decision[i] == 0) continue;
    indices.push_back(i);
  }
  return indices;
}

}  // namespace halvane
