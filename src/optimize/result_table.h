#pragma once

#include "workflow/control_model.h"
#include "workflow/host.h"
#include "workflow/session.h"

namespace halvane {

// Light count, level counts, largest and average reduction of a result.
void ComputeResultStatistics(const Session& session, SearchResult& record);

// In-place quicksorts of Optimizations[lo..hi]: by light count (then fewer
// single lights, then smaller average reduction), and by difference index
// (descending, then more lights first).
void SortByLights(Session& session, int lo, int hi);
void SortByDifference(Session& session, int lo, int hi);

// Number of points whose decisions differ between two results.
int CountDifferences(const SearchResult& a, const SearchResult& b, uint32_t pointCount);

// Statistics and ordering of the stored results and, when `showTable`, the
// rows of GridOptimized.
void FillOptimizationTable(Session& session, ControlModel& controls, Host& host, bool showTable);

// Applies the grid's selected row: its lights, their summed colours and
// levels go into the points.
void GridOptimizedClick(Session& session, ControlModel& controls, Host& host);

// The record for a grid row, or an all-zero record when the row lies outside
// the results' array.
const SearchResult& RecordForRow(const Session& session, int row);

}  // namespace halvane
