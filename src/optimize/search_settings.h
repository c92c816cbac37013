#pragma once

#include <cstddef>
#include <cstdint>

namespace halvane {

// What the parallel search did per level (index 1..3), for measurements.
struct SearchStatistics {
  uint64_t visits[4] = {};
  std::size_t subtrees[4] = {};
  std::size_t splits[4] = {};
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
};

// The thread count `threads` stands for: itself, or the core count for 0.
int ResolveThreadCount(int threads);

}  // namespace halvane
