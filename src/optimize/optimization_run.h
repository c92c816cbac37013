#pragma once

#include <chrono>
#include <cstdint>

#include "base/fixed_array.h"
#include "dome/dome.h"
#include "optimize/literal_search.h"
#include "optimize/parallel_search.h"
#include "optimize/search_observer.h"
#include "optimize/search_result.h"
#include "optimize/search_run.h"
#include "optimize/search_settings.h"

namespace halvane {

// The levels of one "Optimize points" run on a dome whose collapse
// candidates are built: the values each level runs with, the seeds a level
// takes from the best results of the level before, and the search (literal
// or parallel) that walks it. The caller shows what happens between the
// steps: prepare a level, then search it.
class OptimizationRun {
 public:
  OptimizationRun(Dome& dome, SearchResults& results, const SearchSettings& settings,
                  const SearchObserver& observer);

  // Level 1 starts from every point a light, with empty results; it decides
  // points 1..level1Points and keeps results of at most level1MaxLights
  // lights (642 and 2562 points; 162 points list the all-lights result).
  void PrepareLevel1(uint32_t level1Points, uint32_t level1MaxLights);
  // Levels 2 and 3 take the best results of the level before as seeds.
  void PrepareLevel(int level);
  void SearchLevel(int level);

  const SearchRun& run() const { return run_; }

 private:
  void TakeSeeds(int maxSeeds, uint32_t upTo);
  bool UseLiteral(int level) const;
  void RefineSeedsLiterally(int level);
  bool RefineSeedsInParallel(int level);
  // The wall and process CPU time since it was made.
  class LevelClock {
   public:
    LevelClock();
    double CpuSeconds() const;
    double WallSeconds() const;

   private:
    std::chrono::steady_clock::time_point wall_;
    double cpu_;
  };
  // Fills the statistics of `level`, if any: the times, and the counts of
  // the parallel search when it searched the level.
  void Measure(int level, const LevelClock& clock, bool parallel);

  Dome& dome_;
  SearchResults& results_;
  SearchRun run_;
  LiteralSearch literal_;
  ParallelSearch parallel_;
  bool useLiteral_;
  SearchStatistics* statistics_;
  uint32_t from_ = 1;  // where levels 2 and 3 prepare and search their seeds
  FixedArray<uint32_t, kSeedCapacity + 1> seedLights_{};
};

}  // namespace halvane
