// What a cancel leaves of level 1 of the parallel search, against the whole
// level, through the optimize layer. Every level stops through the same check.
#include <gtest/gtest.h>

#include <utility>

#include "optimize/candidates.h"
#include "optimize/optimization_run.h"
#include "support/optimize_fixtures.h"

namespace halvane {
namespace {

// Level 1 over 100 of 642 points of a uniform dome, limit 40: more results
// than the table holds.
struct Level1 {
  explicit Level1(SearchSettings settings, SearchObserver observer = {}) {
    ResetOptimizationFields(dome);
    BuildCandidates(dome, {0.5f, 4}, {});
    OptimizationRun run(dome, results, settings, observer);
    run.PrepareLevel1(100, 40);
    run.SearchLevel(1);
    values = run.run();
  }
  std::unique_ptr<testing::DomeRun> made = testing::MakeDome(4, testing::Uniform(1.0f));
  Dome& dome = made->s.dome;
  SearchResults& results = made->s.results;
  SearchRun values;
};

// A cancel at the first look keeps a prefix of what the literal level
// stores: the same first records (the last entry aside, which later results
// overwrite), smaller counts, a minimum no lower; also when the walks split
// into pieces. (Whole levels are compared in search_differential_test.)
TEST(SearchLevel, ACancelKeepsAPrefixOfTheLiteralRecords) {
  const Level1 literal({.literal = true});
  ASSERT_GT(literal.results.foundCount, kResultCapacity) << "the table must overflow";
  for (const auto& [threads, splitSteps] : {std::pair{1, 0u}, {2, 0u}, {2, 512u}}) {
    SCOPED_TRACE(::testing::Message() << threads << " threads, split after " << splitSteps);
    std::atomic<bool> cancel = false;
    int looks = 0;
    SearchObserver observer;
    observer.cancel = &cancel;
    observer.letEventsRun = [&] {
      ++looks;
      cancel = true;
    };
    const Level1 parallel({.threads = threads, .forcedSplitSteps = splitSteps}, observer);
    EXPECT_EQ(looks, 1);
    EXPECT_LT(parallel.results.abortedCount, literal.results.abortedCount);
    EXPECT_LT(parallel.results.foundCount, literal.results.foundCount);
    EXPECT_GE(parallel.values.minLights, literal.values.minLights);
    const std::size_t kept = std::min<std::size_t>(parallel.results.count, kResultCapacity - 1);
    for (std::size_t i = 1; i <= kept; ++i)
      ASSERT_TRUE(testing::SameRecord(parallel.results.results[i], literal.results.results[i]))
          << i;
  }
}

}  // namespace
}  // namespace halvane
