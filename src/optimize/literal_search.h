#pragma once

#include <cstdint>
#include <string>

#include "workflow/control_model.h"
#include "workflow/host.h"
#include "workflow/session.h"

namespace halvane {

// The values of one optimization run and the literal, single-threaded
// depth-first search of its levels. Decisions are changed and undone in place
// in `Current`; accepted leaves are copied into the session's result table.
// The run keeps its values here whichever search walks the tree; the walk
// itself is the reference the parallel search (parallel_search.h) is tested
// against.
class LevelSearch {
 public:
  LevelSearch(Session& session, ControlModel& controls, Host& host);

  // Searches from point `first` with the variant of `level` (1, 2 or 3).
  void Run(int level, uint32_t first);
  // Evaluates `Current` as a completed result.
  void Leaf();
  // Gauge and status text while a decision is still trying collapses.
  void RefreshProgress();
  // Limits each point's working level of the range so that no collapse
  // reaches back before the seed's first free point.
  void PrepareSeed(uint32_t from, uint32_t to);
  // Every point's `used` from `Current`, then the overlay of the level's range.
  void ShowCurrent();

  SearchResult Current{};
  int64_t RunLights = 0;
  uint32_t MinLights = 0;
  uint32_t LightLimit = 0;
  uint32_t FirstIndex = 0;
  uint32_t LastIndex = 0;
  uint32_t ProgressIndex = 0;
  uint8_t MinLevel = 0;
  uint32_t BoundAll = 0, BoundHalf = 0, BoundThird = 0, BoundFifth = 0, BoundTenth = 0;
  uint32_t SeedIndex = 1;
  std::string SeedLabel;
  uint32_t FirstFree = 1;

 private:
  void Search(uint32_t j);
  void Continue(uint32_t j);
  bool Pruned(uint32_t j) const;
  void CountCut();
  bool MembersFree(const DomePoint& p, uint8_t level) const;

  Session& s_;
  ControlModel& controls_;
  Host& host_;
  int level_ = 1;
  uint32_t n_, half_, third_, fifth_, tenth_;
};

}  // namespace halvane
