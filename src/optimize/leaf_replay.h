#pragma once

#include <cstdint>
#include <vector>

#include "optimize/search_result.h"
#include "optimize/search_run.h"
#include "optimize/search_tables.h"
#include "optimize/subtree_walk.h"

namespace halvane {

// One seed of a level as the walks need it.
struct SearchSeed {
  SearchResult record{};        // the decisions the search starts from
  int32_t run = 0;              // starting runLights
  std::vector<uint8_t> levels;  // working level of every point index 0..kPointCapacity
};

// Applies the leaf rules to the recorded leaves of a level's walks, in
// depth-first order, on the calling thread: light limit, minimum, the result
// cap with its overwritten last entry, and the counts. Accepted leaves are
// rebuilt from their seed and the collapses on their path.
class LeafReplay {
 public:
  LeafReplay(SearchResults& results, SearchRun& run, const CollapseMasks& masks,
             const std::vector<SearchSeed>& seeds);

  void Replay(uint32_t seed, const WalkRecord& record);
  // Stores a deferred overwrite of the last entry and leaves `run.current`
  // as the literal walk leaves it after the last seed.
  void Finish();
  // True when a new minimum was accepted since the last call; the result is
  // rebuilt into `into`.
  bool TakeNewBest(SearchResult& into);

 private:
  struct Path {
    uint32_t seed = 0;
    int32_t lights = 0;
    std::vector<CollapseCode> centres;
  };

  void Gap(uint64_t skipped, uint32_t skippedMin);
  void Leaf(uint32_t seed, const LeafEvent& e, const CollapseCode* centres);
  void Rebuild(uint32_t seed, const CollapseCode* centres, std::size_t count, int32_t lights,
               SearchResult& into) const;
  static void Keep(Path& path, uint32_t seed, const LeafEvent& e, const CollapseCode* centres);

  SearchResults& results_;
  SearchRun& run_;
  const CollapseMasks& masks_;
  const std::vector<SearchSeed>& seeds_;
  Path overwrite_, best_;
  bool overwritePending_ = false, bestPending_ = false;
  bool accepted_ = false;
  uint32_t lastAcceptedSeed_ = 0;
  int32_t lastAcceptedLights_ = 0;
};

}  // namespace halvane
