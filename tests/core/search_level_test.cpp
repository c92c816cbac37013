// One level of the parallel search against the literal walk, record by
// record in the order they were stored, and what an abort leaves behind.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <utility>

#include "core/search_domes.h"
#include "optimize/literal_search.h"
#include "optimize/optimize_step.h"
#include "optimize/parallel_search.h"

namespace halvane::testing {
namespace {

// A 642-point dome with its collapse candidates built (by a run halted after
// level 1), and the values level 1 starts from.
class SearchLevel : public ::testing::Test {
 protected:
  static std::unique_ptr<DomeRun> Candidates(const Environment& env, int maxReduction, int points,
                                             int maxLights) {
    std::unique_ptr<DomeRun> dome = MakeDome(4, env);
    OptimizeControls c;
    c.maxReduction = maxReduction;
    c.level1Points = points;
    c.level1MaxLights = maxLights;
    c.haltAfterLevel1 = true;
    c.ApplyTo(dome->controls);
    ButtonOptimizeClick(dome->s, dome->controls, dome->host, {1, false});
    return dome;
  }

  // The start of level 1 for 642 points, as the run sets it.
  static void StartLevel1(DomeRun& run, LevelSearch& r) {
    Session& s = run.s;
    const uint32_t n = s.dome.pointCount;
    const auto m = static_cast<uint32_t>(run.controls.SpinOptLevel1_min.value);
    s.results.foundCount = 0;
    s.results.count = 0;
    s.results.abortedCount = 0;
    s.results.seedCount = 1;
    s.abortRequested = false;
    r.MinLights = n;
    r.SeedLabel = "1/1  ";
    r.Current = SearchResult{};
    for (uint32_t i = 1; i <= n; ++i) r.Current.decision[i] = 1;
    r.FirstIndex = 1;
    r.LastIndex = static_cast<uint32_t>(run.controls.SpinOptLevel1.value);
    r.LightLimit = m;
    r.MinLevel = 4;
    r.BoundAll = 2 * m + 100;
    r.BoundHalf = 2 * m + 50;
    r.BoundThird = m + 50;
    r.BoundFifth = m + 55;
    r.BoundTenth = static_cast<uint32_t>(std::nearbyint(m / 1.4L)) + 30;
    for (uint32_t i = 1; i <= n; ++i) s.dome.points[i].level = s.dome.points[i].maxLevel;
  }

  static void RunParallel(DomeRun& run, LevelSearch& r, int threads, uint32_t splitSteps = 0) {
    ParallelSearch search(run.s, run.controls, run.host, r, threads, splitSteps);
    search.PrepareRun();
    search.RunLevel(1, 1, {SearchSeed{r.Current, 0, WorkingLevels(run.s)}});
  }
};

TEST_F(SearchLevel, StoresTheLiteralRecordsInTheirOrderWithAnyThreadCount) {
  const std::unique_ptr<DomeRun> dome = Candidates(Uniform(1.0f), 4, 100, 40);
  DomeRun literal(*dome);
  LevelSearch expected(literal.s, literal.controls, literal.host);
  StartLevel1(literal, expected);
  expected.Run(1, 1);
  ASSERT_GT(literal.s.results.foundCount, 5000u) << "the case must overflow the result table";

  for (int threads : {1, 2, 8}) {
    SCOPED_TRACE(threads);
    DomeRun parallel(*dome);
    LevelSearch actual(parallel.s, parallel.controls, parallel.host);
    StartLevel1(parallel, actual);
    RunParallel(parallel, actual, threads);
    EXPECT_EQ(parallel.s.results.foundCount, literal.s.results.foundCount);
    EXPECT_EQ(parallel.s.results.count, literal.s.results.count);
    EXPECT_EQ(parallel.s.results.abortedCount, literal.s.results.abortedCount);
    EXPECT_EQ(actual.MinLights, expected.MinLights);
    EXPECT_EQ(actual.LightLimit, expected.LightLimit);
    for (std::size_t i = 1; i <= literal.s.results.count; ++i)
      ASSERT_TRUE(SameRecord(parallel.s.results.results[i], literal.s.results.results[i])) << i;
    EXPECT_TRUE(SameRecord(actual.Current, expected.Current));
  }

  // An abort keeps a prefix of what the literal level stores: the same first
  // records (the last entry aside, which later results overwrite), smaller
  // counts, a minimum no lower; also when the walks split into pieces.
  for (const auto& [threads, splitSteps] : {std::pair{1, 0u}, {2, 0u}, {2, 512u}}) {
    SCOPED_TRACE(::testing::Message() << threads << " threads, split after " << splitSteps);
    DomeRun parallel(*dome);
    LevelSearch actual(parallel.s, parallel.controls, parallel.host);
    StartLevel1(parallel, actual);
    parallel.host.onEvents = [&] { parallel.s.abortRequested = true; };
    const auto start = std::chrono::steady_clock::now();
    RunParallel(parallel, actual, threads, splitSteps);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ(parallel.host.eventRuns, 1);
    EXPECT_LT(seconds, 0.5);
    EXPECT_LT(parallel.s.results.abortedCount, literal.s.results.abortedCount);
    EXPECT_LT(parallel.s.results.foundCount, literal.s.results.foundCount);
    EXPECT_GE(actual.MinLights, expected.MinLights);
    const std::size_t kept = std::min<std::size_t>(parallel.s.results.count, 4999);
    for (std::size_t i = 1; i <= kept; ++i)
      ASSERT_TRUE(SameRecord(parallel.s.results.results[i], literal.s.results.results[i])) << i;
  }
}

// The abort button during a long run: the step ends through its aborted
// ending, with the window's events let run while the workers searched.
TEST_F(SearchLevel, TheAbortButtonEndsALongRunAsAborted) {
  std::unique_ptr<DomeRun> dome = MakeDome(4, Uniform(1.0f));
  OptimizeControls c;
  c.maxReduction = 4;
  c.level1Points = 150;
  c.level1MaxLights = 30;  // some seconds of level 1
  c.ApplyTo(dome->controls);
  int runs = 0;
  dome->host.onEvents = [&] {
    if (dome->controls.StatusBar1.panels[1] == "Optimize LEVEL 1..." && ++runs == 3)
      dome->s.abortRequested = true;
  };
  ButtonOptimizeClick(dome->s, dome->controls, dome->host, {2, false});
  EXPECT_EQ(runs, 3);
  EXPECT_EQ(dome->controls.StatusBar1.panels[0], "Optimize points aborted.");
  EXPECT_EQ(dome->s.workflowState, 5);
  ASSERT_FALSE(dome->controls.ListBox1.items.empty());
  EXPECT_NE(dome->controls.ListBox1.items.back().find(":  Optimization aborted. "),
            std::string::npos);
}

}  // namespace
}  // namespace halvane::testing
