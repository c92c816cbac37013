// What a cancel leaves of levels 1 and 2 of the parallel search (level 2
// with its memo), against the whole level, through the optimize layer.
#include <gtest/gtest.h>

#include <stdexcept>
#include <utility>

#include "base/number_text.h"
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

// Levels 1 and 2 on the sample image at 642 points, level 1 over 300 of
// them: a level 2 of about 260 million visits. A cancel may be set at the
// first look of level 2.
struct Level2 {
  Level2(SearchSettings settings, bool cancelInLevel2) {
    ResetOptimizationFields(dome);
    const float threshold = ReadMaskedField(made->controls.EditOptThreshold.text);
    BuildCandidates(dome, {threshold, 5}, {});
    SearchObserver observer;
    observer.cancel = &cancel;
    observer.letEventsRun = [&] {
      if (!inLevel2 || !cancelInLevel2 || cancel) return;
      cancel = true;
    };
    OptimizationRun run(dome, results, settings, observer);
    run.PrepareLevel1(300, 50);
    run.SearchLevel(1);
    run.PrepareLevel(2);
    inLevel2 = true;
    run.SearchLevel(2);
    values = run.run();
  }
  static std::unique_ptr<testing::DomeRun> Sample() {
    auto run = testing::ImageDome(testing::SampleImagePath(), 4);
    if (!run) throw std::runtime_error("the sample image cannot be read");
    return run;
  }
  std::unique_ptr<testing::DomeRun> made = Sample();
  Dome& dome = made->s.dome;
  SearchResults& results = made->s.results;
  SearchRun values;
  std::atomic<bool> cancel = false;
  bool inLevel2 = false;
};

// The window's abort during level 2 with the memo looked up everywhere:
// the search stops early and keeps a prefix of the whole level's records.
// (How fast it stops is measured by bench/search_speed_bench.cpp.)
TEST(SearchLevel, ACancelInLevel2WithTheMemoStopsAtOnceAndKeepsAPrefix) {
  const SearchSettings settings{.threads = 2, .memo = MemoUse::kEverywhere};
  const Level2 whole(settings, false);
  ASSERT_GT(whole.results.foundCount, 0u);
  const Level2 cancelled(settings, true);
  ASSERT_TRUE(cancelled.cancel);
  EXPECT_LT(cancelled.results.abortedCount, whole.results.abortedCount);
  EXPECT_LE(cancelled.results.foundCount, whole.results.foundCount);
  EXPECT_GE(cancelled.values.minLights, whole.values.minLights);
  const std::size_t kept = std::min<std::size_t>(cancelled.results.count, kResultCapacity - 1);
  for (std::size_t i = 1; i <= kept; ++i)
    ASSERT_TRUE(testing::SameRecord(cancelled.results.results[i], whole.results.results[i])) << i;
}

}  // namespace
}  // namespace halvane
