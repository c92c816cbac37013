#pragma once

#include <cstdint>

#include "dome/dome.h"
#include "optimize/search_observer.h"
#include "optimize/search_result.h"
#include "optimize/search_run.h"

namespace halvane {

// The literal, single-threaded depth-first search of a level: decisions are
// changed and undone in place in `run.current`; accepted leaves are copied
// into `results`. It is the reference the parallel search
// (parallel_search.h) is tested against.
class LiteralSearch {
 public:
  LiteralSearch(Dome& dome, SearchResults& results, SearchRun& run, const SearchObserver& observer);

  // Searches from point `first` with the variant of `level` (1, 2 or 3).
  void Run(int level, uint32_t first);
  // Evaluates `run.current` as a completed result.
  void Leaf();

 private:
  void Search(uint32_t j);
  void Continue(uint32_t j);
  bool Pruned(uint32_t j) const;
  void CountRejected();
  void Refresh(bool preview);
  bool MembersFree(const DomePoint& p, uint8_t level) const;

  Dome& dome_;
  SearchResults& results_;
  SearchRun& run_;
  const SearchObserver& observer_;
  int level_ = 1;
  uint32_t half_, third_, fifth_, tenth_;
};

// Limits each point's working level in from..to so that no collapse reaches
// back before the seed's first free point (`run.firstFree`, found first).
void PrepareSeed(Dome& dome, SearchRun& run, uint32_t from, uint32_t to);

}  // namespace halvane
