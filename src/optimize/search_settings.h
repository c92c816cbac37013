#pragma once

#include <cstddef>
#include <cstdint>

namespace halvane {

// What the searches did per level (index 1..3), for measurements: the times
// for both, the counts from the parallel search.
struct SearchStatistics {
  uint64_t visits[4] = {};  // visits of the literal search
  uint64_t walked[4] = {};  // visits walked; the rest came from memo hits
  uint64_t memoLookups[4] = {};
  uint64_t memoHits[4] = {};
  uint64_t largestTask[4] = {};  // visits walked by the longest single walk
  std::size_t subtrees[4] = {};
  std::size_t splits[4] = {};
  double cpuSeconds[4] = {};  // process CPU time while the level ran
  double wallSeconds[4] = {};
};

// Where the level-2 walks remember subtree outcomes (subtree_memo.h).
enum class MemoUse : uint8_t {
  kAdaptive,    // at the points where its hits have paid for its lookups
  kEverywhere,  // at every decision whose key fits: for tests on small trees
  kOff,
};

// How "Optimize points" walks its search tree.
struct SearchSettings {
  // Worker threads of the level search; 0 = one per core. The results are
  // the same for every count.
  int threads = 0;
  // The literal single-threaded search (the reference the tests compare
  // against) instead of the parallel one.
  bool literal = false;
  // Filled by the parallel search when set.
  SearchStatistics* statistics = nullptr;
  // 0: a long walk hands over its rest only when a worker waits for work.
  // Otherwise every walk splits after this many steps, waiting worker or
  // not: the tests use it to split often and the same way on every run.
  uint32_t forcedSplitSteps = 0;
  // The level-2 memo; the results are the same with any.
  MemoUse memo = MemoUse::kAdaptive;
};

// The thread count `threads` stands for: itself, or the core count for 0.
int ResolveThreadCount(int threads);

}  // namespace halvane
