#include "optimize/result_table.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <string>
#include "base/number_text.h"

#include "base/number_text.h"
#include "optimize/popcount_clones.h"

namespace halvane {
namespace {

constexpr int kDifferenceRecords = 750;
constexpr int kFirstByDifference = 5;  // rows before it stay in light order

bool LightsBefore(const SearchResult& a, const SearchResult& b) {
  if (a.lightCount != b.lightCount) return a.lightCount < b.lightCount;
  if (a.levelCount[1] != b.levelCount[1]) return a.levelCount[1] < b.levelCount[1];
  return a.avgReduction < b.avgReduction;
}

bool DifferenceBefore(const SearchResult& a, const SearchResult& b) {
  if (a.diffIndex != b.diffIndex) return a.diffIndex > b.diffIndex;
  return a.lightCount > b.lightCount;
}

SearchResult& At(SearchResults& results, int index) {
  return results.results[static_cast<std::size_t>(index)];
}

// The quicksort both orderings use; records equal in every key end where this
// scheme puts them.
template <typename Before>
void QuickSort(SearchResults& results, int lo, int hi, Before before) {
  int i = lo, j = hi;
  SearchResult pivot{};
  const SearchResult& middle = At(results, (lo + hi) / 2);
  pivot.lightCount = middle.lightCount;
  pivot.levelCount[1] = middle.levelCount[1];
  pivot.avgReduction = middle.avgReduction;
  pivot.diffIndex = middle.diffIndex;
  do {
    while (before(At(results, i), pivot)) ++i;
    while (before(pivot, At(results, j))) --j;
    if (i <= j) {
      std::swap(At(results, i), At(results, j));
      ++i;
      --j;
    }
  } while (i <= j);
  if (lo < j) QuickSort(results, lo, j, before);
  if (i < hi) QuickSort(results, i, hi, before);
}

void ComputeDifferenceIndices(SearchResults& results, int m, uint32_t pointCount) {
  for (int r = 1; r <= m; ++r) {
    SearchResult& a = At(results, r);
    for (int q = r + 1; q <= m; ++q) {
      SearchResult& b = At(results, q);
      const int d = CountDifferences(a, b, pointCount);
      a.diffIndex += d;
      b.diffIndex += d;
    }
  }
}

}  // namespace

const SearchResult& ResultForRow(const SearchResults& results, int row) {
  static const SearchResult kEmpty{};
  if (row < 0 || static_cast<std::size_t>(row) >= results.results.capacity()) return kEmpty;
  return results.results[static_cast<std::size_t>(row)];
}

void ComputeResultStatistics(SearchResult& rec, uint32_t pointCount) {
  rec.avgReduction = 1.0f;
  rec.maxReduction = 1;
  rec.lightCount = 0;
  for (int32_t& c : rec.levelCount) c = 0;
  for (uint32_t j = 1; j <= pointCount; ++j) {
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

HALVANE_POPCOUNT_CLONES int CountDifferences(const SearchResult& a, const SearchResult& b,
                                             uint32_t pointCount) {
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

void SortByLights(SearchResults& results, int lo, int hi) {
  QuickSort(results, lo, hi, LightsBefore);
}

void SortByDifference(SearchResults& results, int lo, int hi) {
  QuickSort(results, lo, hi, DifferenceBefore);
}

void RankResults(SearchResults& results, uint32_t pointCount) {
  const int count = results.count;
  for (int r = 1; r <= count; ++r) ComputeResultStatistics(At(results, r), pointCount);
  if (count > 0) SortByLights(results, 1, count);
  const int m = std::min(count, kDifferenceRecords);
  ComputeDifferenceIndices(results, m, pointCount);
  if (count > kFirstByDifference) SortByDifference(results, kFirstByDifference, m);
}

}  // namespace halvane
