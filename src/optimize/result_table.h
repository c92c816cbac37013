#pragma once

#include <cstdint>

#include "optimize/search_result.h"

namespace halvane {

// The results an optimization keeps listed once it has ranked them.
constexpr uint16_t kListedResults = 100;

// Light count, level counts, largest and average reduction of a result
// over points 1..pointCount; clears its difference index.
void ComputeResultStatistics(SearchResult& result, uint32_t pointCount);

// In-place quicksorts of results[lo..hi]: by light count (then fewer single
// lights, then smaller average reduction), and by difference index
// (descending, then more lights first).
void SortByLights(SearchResults& results, int lo, int hi);
void SortByDifference(SearchResults& results, int lo, int hi);

// Number of points whose decisions differ between two results.
int CountDifferences(const SearchResult& a, const SearchResult& b, uint32_t pointCount);

// The statistics of every stored result, then the order the table shows:
// fewest lights first, and after the first four the results that differ
// most from the others.
void RankResults(SearchResults& results, uint32_t pointCount);

// The result of a table row, or an all-zero result when the row lies
// outside the results' array.
const SearchResult& ResultForRow(const SearchResults& results, int row);

}  // namespace halvane
