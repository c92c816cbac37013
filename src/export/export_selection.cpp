#include "export/export_selection.h"

namespace halvane {

ExportSelection SelectExportMode(const Session& s, int selectedRow) {
  if (s.OptimizationCount > 0 && selectedRow >= 1 && selectedRow <= s.OptimizationCount)
    return {true, selectedRow};
  return {false, 0};
}

std::vector<uint32_t> ExportedPoints(const Session& s, const ExportSelection& selection) {
  std::vector<uint32_t> indices;
  for (uint32_t i = 1; i <= s.PointCount; ++i) {
    if (!s.Points[i].used) continue;
    if (selection.candidate && s.Optimizations[selection.optimization].decision[i] == 0) continue;
    indices.push_back(i);
  }
  return indices;
}

}  // namespace halvane
