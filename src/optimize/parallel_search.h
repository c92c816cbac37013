#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "dome/dome.h"
#include "optimize/leaf_replay.h"
#include "optimize/search_observer.h"
#include "optimize/search_result.h"
#include "optimize/search_run.h"
#include "optimize/search_settings.h"
#include "optimize/search_tables.h"

namespace halvane {

// The level search on several threads with the literal search's results.
//
// The walk of a level never depends on the light limit, the minimum or the
// stored results: the pruning bounds are fixed per level and the limit is
// only read at a leaf. So the level is cut into subtrees in depth-first
// order, worker threads walk them independently and record the leaves that
// could be accepted, and the calling thread replays the records through the
// leaf rules in depth-first order. A walk that runs long while a worker
// waits, or runs very long, hands over its untried options as further
// subtrees, so one heavy subtree does not keep the other threads idle. In
// level 2 each worker keeps a memo of the subtrees it walked
// (subtree_memo.h). Workers touch neither the
// dome nor the results nor the observer; the calling thread reports to the
// observer while it waits, and a cancel keeps the replay of the subtrees
// finished in order up to the first unfinished one.
class ParallelSearch {
 public:
  // `forcedSplitSteps` and `memo`: see SearchSettings.
  ParallelSearch(Dome& dome, SearchResults& results, SearchRun& run, const SearchObserver& observer,
                 int threads, uint32_t forcedSplitSteps = 0, MemoUse memo = MemoUse::kAdaptive);
  ~ParallelSearch();

  // Reads the collapses of every point; call after the candidates are built.
  void PrepareRun();
  // Searches every seed from point `first` with the variant of `level`
  // (1, 2 or 3), with the values (bounds, limit, range) set in the run.
  void RunLevel(int level, uint32_t first, const std::vector<SearchSeed>& seeds);

  // What the last level did, for measurements.
  struct LevelCounts {
    uint64_t visits = 0;       // of the literal search
    uint64_t walked = 0;       // visits walked, not replayed from the memo
    uint64_t largestTask = 0;  // visits walked by the longest single walk
    uint64_t memoLookups = 0, memoHits = 0;
    std::size_t subtrees = 0;  // walks
    std::size_t splits = 0;    // walks that handed over their rest
  };
  const LevelCounts& Counts() const { return counts_; }

 private:
  class Level;

  Dome& dome_;
  SearchResults& results_;
  SearchRun& run_;
  const SearchObserver& observer_;
  int threads_;
  uint32_t forcedSplitSteps_;
  MemoUse memo_;
  std::unique_ptr<CollapseMasks> masks_;
  LevelCounts counts_;
};

// The points 1..last of `record` that are lights (decision above 0): a
// seed's starting light count.
int32_t LightsUpTo(const SearchResult& record, uint32_t last);

// The working level of every point index as the dome's points hold them
// now, for a seed.
std::vector<uint8_t> WorkingLevels(const Dome& dome);

}  // namespace halvane
