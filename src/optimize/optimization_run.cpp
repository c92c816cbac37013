#include "optimize/optimization_run.h"

#include <time.h>

#include <algorithm>
#include <string>
#include <vector>

#include "optimize/level_values.h"
#include "optimize/result_table.h"

namespace halvane {
namespace {

constexpr int kLevel2Seeds = 50;
constexpr int kLevel3Seeds = 100;

double ProcessCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

}  // namespace

OptimizationRun::LevelClock::LevelClock()
    : wall_(std::chrono::steady_clock::now()), cpu_(ProcessCpuSeconds()) {}

double OptimizationRun::LevelClock::CpuSeconds() const {
  return ProcessCpuSeconds() - cpu_;
}

double OptimizationRun::LevelClock::WallSeconds() const {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - wall_).count();
}

OptimizationRun::OptimizationRun(Dome& dome, SearchResults& results, const SearchSettings& settings,
                                 const SearchObserver& observer)
    : dome_(dome),
      results_(results),
      literal_(dome, results, run_, observer),
      parallel_(dome, results, run_, observer, ResolveThreadCount(settings.threads),
                settings.forcedSplitSteps, settings.memo),
      useLiteral_(settings.literal),
      statistics_(settings.statistics) {
  if (!useLiteral_) parallel_.PrepareRun();
}

void OptimizationRun::PrepareLevel1(uint32_t level1Points, uint32_t level1MaxLights) {
  const uint32_t n = dome_.pointCount;
  results_.foundCount = 0;
  results_.count = 0;
  results_.abortedCount = 0;
  run_.minLights = n;
  run_.seedLabel = "1/1  ";
  run_.current = SearchResult{};
  for (uint32_t i = 1; i <= n; ++i) run_.current.decision[i] = 1;
  run_.runLights = 0;
  run_.progressIndex = 0;
  run_.firstIndex = 1;
  results_.seedCount = 1;
  run_.seedIndex = 1;
  run_.firstFree = 1;
  SetLevel1Values(run_, dome_.subdivLevel, level1Points, level1MaxLights);
  if (dome_.subdivLevel == 3) {
    results_.results[1] = run_.current;
    results_.count = 1;
  }
  for (uint32_t i = 1; i <= n; ++i) dome_.points[i].level = dome_.points[i].maxLevel;
}

void OptimizationRun::PrepareLevel(int level) {
  if (level == 2) {
    run_.firstIndex = run_.lastIndex;
    TakeSeeds(kLevel2Seeds, run_.firstIndex);
    SetLevel2Values(run_, dome_.subdivLevel, dome_.pointCount);
    from_ = run_.firstIndex + 1;
  } else {
    TakeSeeds(kLevel3Seeds, 0);
    SetLevel3Values(run_, dome_.subdivLevel, dome_.pointCount);
    from_ = 1;
  }
}

// Copies the first results into the seeds, with each seed's starting light
// count over points 1..upTo.
void OptimizationRun::TakeSeeds(int maxSeeds, uint32_t upTo) {
  results_.seedCount = static_cast<uint16_t>(std::min<int>(maxSeeds, results_.count));
  RankResults(results_, dome_.pointCount);
  for (uint16_t i = 1; i <= results_.seedCount; ++i) {
    results_.seeds[i] = results_.results[i];
    seedLights_[i] = static_cast<uint32_t>(LightsUpTo(results_.seeds[i], upTo));
  }
  run_.minLights = dome_.pointCount;
  results_.foundCount = 0;
  results_.count = 0;
}

// The parallel search needs collapses of level 2 or more; other minimum
// levels never occur with the level values.
bool OptimizationRun::UseLiteral(int level) const {
  return useLiteral_ || (level != 3 && run_.minLevel < 2);
}

void OptimizationRun::SearchLevel(int level) {
  if (level == 1 && dome_.subdivLevel != 4 && dome_.subdivLevel != 5) return;
  const LevelClock clock;
  bool parallel = false;
  if (UseLiteral(level)) {
    if (level == 1) {
      literal_.Run(1, 1);
    } else {
      RefineSeedsLiterally(level);
    }
  } else if (level == 1) {
    parallel_.RunLevel(1, 1, {SearchSeed{run_.current, 0, WorkingLevels(dome_)}});
    parallel = true;
  } else {
    parallel = RefineSeedsInParallel(level);
  }
  Measure(level, clock, parallel);
}

// Prepares every seed in order, as the literal loop does (the working
// levels and firstFree carry from seed to seed), then searches them all.
// False when there is no seed to search.
bool OptimizationRun::RefineSeedsInParallel(int level) {
  std::vector<SearchSeed> seeds(results_.seedCount);
  for (uint16_t i = 1; i <= results_.seedCount; ++i) {
    run_.current = results_.seeds[i];
    PrepareSeed(dome_, run_, from_, run_.lastIndex);
    seeds[i - 1] =
        SearchSeed{run_.current, static_cast<int32_t>(seedLights_[i]), WorkingLevels(dome_)};
  }
  if (seeds.empty()) return false;
  parallel_.RunLevel(level, from_, seeds);
  return true;
}

void OptimizationRun::RefineSeedsLiterally(int level) {
  for (uint16_t i = 1; i <= results_.seedCount; ++i) {
    run_.seedIndex = i;
    run_.seedLabel = std::to_string(i) + "/" + std::to_string(results_.seedCount) + "  ";
    run_.current = results_.seeds[i];
    run_.runLights = seedLights_[i];
    PrepareSeed(dome_, run_, from_, run_.lastIndex);
    if (from_ > run_.lastIndex) {
      literal_.Leaf();  // nothing left to decide: the seed is a finished result
    } else {
      literal_.Run(level, from_);
    }
  }
}

void OptimizationRun::Measure(int level, const LevelClock& clock, bool parallel) {
  if (statistics_ == nullptr) return;
  SearchStatistics& s = *statistics_;
  s.cpuSeconds[level] = clock.CpuSeconds();
  s.wallSeconds[level] = clock.WallSeconds();
  if (!parallel) return;
  const ParallelSearch::LevelCounts& c = parallel_.Counts();
  s.visits[level] = c.visits;
  s.walked[level] = c.walked;
  s.memoLookups[level] = c.memoLookups;
  s.memoHits[level] = c.memoHits;
  s.largestTask[level] = c.largestTask;
  s.subtrees[level] = c.subtrees;
  s.splits[level] = c.splits;
}

}  // namespace halvane
