#include "optimize/result_table.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <string>

#include "base/number_text.h"
#include "workflow/redraw.h"
#include "workflow/workflow.h"

namespace halvane {
namespace {

constexpr int kDifferenceRecords = 750;
constexpr int kTableRows = 100;

bool LightsBefore(const SearchResult& a, const SearchResult& b) {
  if (a.lightCount != b.lightCount) return a.lightCount < b.lightCount;
  if (a.levelCount[1] != b.levelCount[1]) return a.levelCount[1] < b.levelCount[1];
  return a.avgReduction < b.avgReduction;
}

bool DifferenceBefore(const SearchResult& a, const SearchResult& b) {
  if (a.diffIndex != b.diffIndex) return a.diffIndex > b.diffIndex;
  return a.lightCount > b.lightCount;
}

// The quicksort both orderings use; records equal in every key end where this
// scheme puts them.
template <typename Before>
void QuickSort(Session& s, int lo, int hi, Before before) {
  int i = lo, j = hi;
  SearchResult pivot{};
  const SearchResult& middle = s.results.results[static_cast<std::size_t>((lo + hi) / 2)];
  pivot.lightCount = middle.lightCount;
  pivot.levelCount[1] = middle.levelCount[1];
  pivot.avgReduction = middle.avgReduction;
  pivot.diffIndex = middle.diffIndex;
  do {
    while (before(s.results.results[static_cast<std::size_t>(i)], pivot)) ++i;
    while (before(pivot, s.results.results[static_cast<std::size_t>(j)])) --j;
    if (i <= j) {
      std::swap(s.results.results[static_cast<std::size_t>(i)],
                s.results.results[static_cast<std::size_t>(j)]);
      ++i;
      --j;
    }
  } while (i <= j);
  if (lo < j) QuickSort(s, lo, j, before);
  if (i < hi) QuickSort(s, i, hi, before);
}

void ComputeDifferenceIndices(Session& s, int m) {
  for (int r = 1; r <= m; ++r) {
    SearchResult& a = s.results.results[static_cast<std::size_t>(r)];
    for (int q = r + 1; q <= m; ++q) {
      SearchResult& b = s.results.results[static_cast<std::size_t>(q)];
      const int d = CountDifferences(a, b, s.dome.pointCount);
      a.diffIndex += d;
      b.diffIndex += d;
    }
  }
}

void ShowTable(const Session& s, ControlModel& controls, Host& host) {
  StringGrid& grid = controls.GridOptimized;
  if (s.results.count == 0) {
    EmptyResultTable(controls);
    return;
  }
  const NumberFormat nf = host.GetNumberFormat();
  const int rows = std::min<int>(s.results.count, kTableRows);
  grid.SetRowCount(rows + 1);
  for (int r = 1; r <= rows; ++r) {
    const SearchResult& rec = s.results.results[static_cast<std::size_t>(r)];
    grid.Cell(0, r) = PadLeft(std::to_string(r), 4);
    grid.Cell(1, r) = PadLeft(std::to_string(rec.lightCount), 5);
    grid.Cell(2, r) = PadLeft(FormatFixed(rec.avgReduction, 2, nf, true), 5);
    grid.Cell(3, r) = PadLeft(std::to_string(rec.recordedLights), 5);
    grid.Cell(4, r) = PadLeft(std::to_string(rec.maxReduction), 5);
    grid.Cell(5, r) = PadLeft(std::to_string(rec.diffIndex), 5);
  }
}

// Sum of r, g, b, lum over the members of a collapse of `level` around p,
// one rounding per addition.
void ApplyLight(Session& s, uint32_t j, uint8_t level) {
  DomePoint& p = s.dome.points[j];
  float r = 0, g = 0, b = 0, lum = 0;
  const auto add = [](float acc, float v) {
    return static_cast<float>(static_cast<long double>(acc) + v);
  };
  for (std::size_t k = 1; k <= p.memberCount[level]; ++k) {
    const DomePoint& m = s.dome.points[static_cast<std::size_t>(p.members[k])];
    r = add(r, m.r);
    g = add(g, m.g);
    b = add(b, m.b);
    lum = add(lum, m.lum);
  }
  p.used = level != 0;
  p.lightR = r;
  p.lightG = g;
  p.lightB = b;
  p.lightLum = lum;
  p.level = level;
}

}  // namespace

const SearchResult& RecordForRow(const Session& s, int row) {
  static const SearchResult kEmpty{};
  if (row < 0 || static_cast<std::size_t>(row) >= s.results.results.capacity()) return kEmpty;
  return s.results.results[static_cast<std::size_t>(row)];
}

void ComputeResultStatistics(const Session& s, SearchResult& rec) {
  rec.avgReduction = 1.0f;
  rec.maxReduction = 1;
  rec.lightCount = 0;
  for (int32_t& c : rec.levelCount) c = 0;
  for (uint32_t j = 1; j <= s.dome.pointCount; ++j) {
    const uint8_t d = rec.decision[j];
    if (d == 0) continue;
    rec.levelCount[d] += 1;
    rec.lightCount += 1;
  }
  long long weighted = 0, lights = 0;
  for (int level = 1; level <= 7; ++level) {
    const int32_t count = rec.levelCount[static_cast<std::size_t>(level)];
    if (count > 0) rec.maxReduction = level;
    weighted += static_cast<long long>(level) * count;
    lights += count;
  }
  rec.diffIndex = 0;
  if (lights > 0)
    rec.avgReduction = static_cast<float>(static_cast<long double>(weighted) / lights);
}

int CountDifferences(const SearchResult& a, const SearchResult& b, uint32_t pointCount) {
  // Eight decisions at a time: a byte of x ^ y is non-zero where they differ,
  // and ((v & 0x7F) + 0x7F) | v has its top bit set exactly for such a byte.
  constexpr uint64_t kLow7 = 0x7F7F7F7F7F7F7F7FULL;
  const uint8_t* pa = a.decision.items + 1;
  const uint8_t* pb = b.decision.items + 1;
  const std::size_t n = std::min<std::size_t>(pointCount, kPointCapacity);
  int count = 0;
  std::size_t k = 0;
  for (; k + 8 <= n; k += 8) {
    uint64_t x, y;
    std::memcpy(&x, pa + k, 8);
    std::memcpy(&y, pb + k, 8);
    const uint64_t v = x ^ y;
    count += std::popcount((((v & kLow7) + kLow7) | v) & ~kLow7);
  }
  for (; k < n; ++k) count += pa[k] != pb[k];
  return count;
}

void SortByLights(Session& s, int lo, int hi) {
  QuickSort(s, lo, hi, LightsBefore);
}

void SortByDifference(Session& s, int lo, int hi) {
  QuickSort(s, lo, hi, DifferenceBefore);
}

void FillOptimizationTable(Session& s, ControlModel& controls, Host& host, bool showTable) {
  const int count = s.results.count;
  for (int r = 1; r <= count; ++r)
    ComputeResultStatistics(s, s.results.results[static_cast<std::size_t>(r)]);
  if (count > 0) SortByLights(s, 1, count);
  const int m = std::min(count, kDifferenceRecords);
  ComputeDifferenceIndices(s, m);
  if (count > 5) SortByDifference(s, 5, m);
  if (showTable) ShowTable(s, controls, host);
}

void GridOptimizedClick(Session& s, ControlModel& controls, Host& host) {
  if (s.workflowState < 5) return;
  const int row = controls.GridOptimized.selectedRow;
  if (row < 1 || row > s.results.count) return;
  const SearchResult& rec = s.results.results[static_cast<std::size_t>(row)];
  for (uint32_t j = 1; j <= s.dome.pointCount; ++j) ApplyLight(s, j, rec.decision[j]);
  SetStatus(controls, 1, "Optimization selected.");
  SetStatus(controls, 2, "Optimization #" + std::to_string(row));
  if (controls.CheckDisplayFill.checked) RedrawBackground(s, controls, host);
  DrawOverlay(s, controls, host, true, true, 1, s.dome.pointCount, rec);
  MarkStepDone(controls, 6);
}

}  // namespace halvane
