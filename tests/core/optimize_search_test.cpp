// The literal level search on hand-made point sets, and whole runs of
// "Optimize points" with the literal and with the parallel search.
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cmath>
#include <regex>
#include <string>
#include <vector>

#include "optimize/literal_search.h"
#include "support/optimize_fixtures.h"
#include "workflow/choose_result.h"
#include "workflow/optimize_points.h"
#include "workflow/workflow.h"

namespace halvane {
namespace {

using testing::DecisionText;

// Only the members, counts and working levels matter to the search.
class LiteralSearchTest : public ::testing::Test {
 protected:
  // Five points in a row: point 2 collects 1 and 3 (level 2) and then 4
  // (level 3); point 4 collects 3 and 5 (level 2).
  void Row() {
    testing::AddSingles(*dome, 5);
    testing::SetRings(*dome, 2, {{1, 3}, {4}});
    testing::SetRings(*dome, 4, {{3, 5}});
  }
  void NewRun(uint32_t last, uint32_t limit) {
    run = SearchRun{};
    for (uint32_t j = 1; j <= dome->pointCount; ++j) run.current.decision[j] = 1;
    run.firstIndex = 1;
    run.lastIndex = last;
    run.lightLimit = limit;
    run.minLights = dome->pointCount;
    run.minLevel = 2;
    run.bounds = {100000, 100000, 100000, 100000, 100000};
    run.seedLabel = "1/1  ";
    results = std::make_unique<SearchResults>();  // too large for a temporary on the stack
    results->seedCount = 1;
  }
  void Search(int level) { LiteralSearch(*dome, *results, run, observer).Run(level, 1); }
  void Leaf() { LiteralSearch(*dome, *results, run, observer).Leaf(); }
  std::vector<std::string> Results() const {
    return testing::ResultTexts(*results, dome->pointCount);
  }

  std::unique_ptr<Dome> dome = std::make_unique<Dome>();
  std::unique_ptr<SearchResults> results = std::make_unique<SearchResults>();
  SearchRun run;
  SearchObserver observer;
};

TEST_F(LiteralSearchTest, LargerCollapsesComeFirstAndTheSingleLightLast) {
  Row();
  NewRun(5, 10);
  Search(3);
  EXPECT_EQ(Results(), (std::vector<std::string>{"03001", "02011", "11020", "11111"}));
  EXPECT_EQ(run.minLights, 2u);
  EXPECT_EQ(results->results[2].recordedLights, 3);
  // Every change is undone on the way back.
  EXPECT_EQ(DecisionText(run.current, 5), "11111");
  EXPECT_EQ(run.runLights, 0);
  EXPECT_EQ(run.progressIndex, 0u);

  // Point 1 was passed as a light before point 2 took it in: two lights.
  NewRun(5, 2);
  Search(3);
  EXPECT_EQ(Results(), (std::vector<std::string>{"03001"}));
  EXPECT_EQ(results->abortedCount, 3u) << "the three leaves over the limit";
}

// On 50 single points the light count at a visit of point j is j - 1. Each
// bound cuts only below its fraction of the points (5, 10, 16, 25, all).
TEST_F(LiteralSearchTest, PruningBoundsApplyBelowTheirFractionOfThePoints) {
  struct Case {
    uint32_t PruneBounds::*bound;
    uint32_t below;  // the visits j < below are tested
    bool inLevel2;
  };
  for (const Case& c : {Case{&PruneBounds::tenth, 5, false}, Case{&PruneBounds::fifth, 10, false},
                        Case{&PruneBounds::third, 16, false}, Case{&PruneBounds::half, 25, true},
                        Case{&PruneBounds::all, 51, true}}) {
    for (int level : {1, 2, 3}) {
      for (uint32_t slack : {0u, 1u}) {
        testing::AddSingles(*dome, 50);
        NewRun(50, 100);
        // The largest count tested is below - 2 (at j = below - 1).
        run.bounds.*c.bound = c.below - 3 + slack;
        Search(level);
        const bool cut = slack == 0 && (level == 1 || (level == 2 && c.inLevel2));
        EXPECT_EQ(results->foundCount, cut ? 0u : 1u) << c.below << " " << level << " " << slack;
        EXPECT_EQ(results->abortedCount, cut ? 1u : 0u);
      }
    }
  }
}

// A rejected leaf lowers the minimum to its running count; an accepted one
// lowers the limit to the previous minimum + 5 when that is lower.
TEST_F(LiteralSearchTest, LeafRules) {
  testing::AddSingles(*dome, 30);
  NewRun(20, 18);
  run.minLights = 20;
  run.runLights = 19;
  Leaf();
  EXPECT_EQ(results->abortedCount, 1u);
  EXPECT_EQ(run.minLights, 19u);
  const auto leafWithLights = [&](int lights) {
    for (uint32_t j = 1; j <= 20; ++j) run.current.decision[j] = j <= uint32_t(lights) ? 1 : 0;
    run.runLights = 1;  // accepted whatever the decisions hold
    Leaf();
  };
  // 18 is below 19 + 5; then 12 + 5, kept, 10 + 5.
  for (auto [lights, limit] : {std::pair{12, 18u}, {10, 17u}, {11, 17u}, {9, 15u}}) {
    leafWithLights(lights);
    EXPECT_EQ(run.lightLimit, limit) << lights;
  }
  EXPECT_EQ(results->results[1].lightCount, 12) << "points beyond the last are not counted";
  EXPECT_EQ(run.minLights, 9u);
  EXPECT_EQ(results->foundCount, 4u);
}

TEST_F(LiteralSearchTest, ResultsBeyond5000OverwriteTheLastEntry) {
  testing::AddSingles(*dome, 10);
  NewRun(10, 100);
  for (int k = 1; k <= 5001; ++k) {
    run.current.decision[1] = static_cast<uint8_t>(k >= 4999 ? k - 4995 : 1);
    Leaf();
  }
  EXPECT_EQ(results->foundCount, 5001u);
  EXPECT_EQ(results->count, kResultCapacity);
  EXPECT_EQ(results->results[4999].decision[1], 4);
  EXPECT_EQ(results->results[5000].decision[1], 6) << "the 5001st result replaced the 5000th";
}

TEST_F(LiteralSearchTest, ProgressShowsTheSeedAndThePositionInTheLevel) {
  std::string status = "before";
  long long gauge = -1;
  observer.status = [&](const std::string& text) { status = text; };
  observer.gauge = [&](long long percent) { gauge = percent; };
  run.firstIndex = 1;
  run.lastIndex = 101;
  ReportSearchProgress(run, *results, observer);
  EXPECT_EQ(status, "before") << "no open decision";
  run.progressIndex = 21;
  run.seedIndex = 3;
  run.seedLabel = "3/50  ";
  run.minLights = 33;
  results->seedCount = 50;
  results->foundCount = 7;
  results->abortedCount = 5000;
  ReportSearchProgress(run, *results, observer);
  EXPECT_EQ(gauge, 5);  // 20/100 * 275/50 + 2/50 * 100 = 5.1
  EXPECT_EQ(status, "3/50  20/100. 7  opt. found. 4k aborted. 33 min lights found.");
  // Half way from point 0 with 55 and 11 seeds: 137.5 / seeds rounds to even.
  run.firstIndex = 0;
  run.lastIndex = 100;
  run.progressIndex = 50;
  run.seedIndex = 1;
  run.seedLabel = "1/1  ";
  for (auto [seeds, expected] : {std::pair{55, 2}, std::pair{11, 12}}) {
    results->seedCount = static_cast<uint16_t>(seeds);
    ReportSearchProgress(run, *results, observer);
    EXPECT_EQ(gauge, expected) << seeds;
  }
  // An empty range (level 2 after a level 1 over every point), no seeds.
  run.firstIndex = run.lastIndex = run.progressIndex = 642;
  results->seedCount = 0;
  ReportSearchProgress(run, *results, observer);
  EXPECT_EQ(gauge, 0);
  EXPECT_EQ(status.rfind("1/1  0/0. ", 0), 0u) << status;
}

TEST_F(LiteralSearchTest, SeedPreparationDropsCollapsesReachingBeforeTheFirstFreePoint) {
  testing::AddSingles(*dome, 10);
  testing::SetRings(*dome, 5, {{6, 7}, {3, 8}});  // level 3 would take in point 3
  testing::SetRings(*dome, 9, {{10}});
  testing::SetRings(*dome, 2, {{1, 3}});
  dome->points[6].maxLevel = 0;  // withdrawn by thinning
  dome->points[8].level = 7;     // outside the prepared range
  NewRun(10, 100);
  for (uint32_t j = 1; j <= 3; ++j) run.current.decision[j] = 0;
  PrepareSeed(*dome, run, 4, 7);
  PrepareSeed(*dome, run, 9, 10);
  EXPECT_EQ(run.firstFree, 4u);
  EXPECT_EQ(dome->points[5].level, 2);
  EXPECT_EQ(dome->points[6].level, 0);
  EXPECT_EQ(dome->points[9].level, 2);
  EXPECT_EQ(dome->points[8].level, 7);
  PrepareSeed(*dome, run, 1, 3);
  EXPECT_EQ(dome->points[2].level, 1) << "a centre before the first free point";
  run.firstFree = 7;
  for (uint32_t j = 1; j <= 10; ++j) run.current.decision[j] = 0;
  PrepareSeed(*dome, run, 1, 10);
  EXPECT_EQ(run.firstFree, 7u) << "kept when no point is free";
}

// ---------------------------------------------------------------------------
// Whole runs, with the literal search and with the parallel one.

// The seconds and the number found of a level's log line.
std::pair<std::string, long> LevelFigures(const testing::DomeRun& run, int level) {
  static const std::regex line(
      R"(:          Optimize LEVEL \d:  ([0-9,]+\.\d\d)sec\.  (\d+) +opt\. found\. .*)");
  const std::string text =
      LogStartingWith(run, ":          Optimize LEVEL " + std::to_string(level) + ":");
  std::smatch m;
  if (!std::regex_match(text, m, line)) return {"", -1};
  return {m[1], std::stol(m[2])};
}

// Domes of a 128 x 64 picture (each point samples fewer pixels, so random
// pictures keep their contrast) with the controls the colour step proposes.
class OptimizeRun : public ::testing::TestWithParam<bool> {
 protected:
  static constexpr int kHeight = 64;

  ControlModel& MakeDome(int resolution, const testing::Environment& env) {
    dome = testing::MakeDome(resolution, env, 2 * kHeight, kHeight);
    dome->s.searchSettings.literal = GetParam();
    return dome->controls;
  }
  StepOutcome Optimize() { return OptimizePoints(dome->s, dome->controls, dome->host); }
  // The step's end: the first row chosen, the step controls enabled.
  void ExpectEnd(const std::string& status) const {
    EXPECT_EQ(dome->controls.StatusBar1.panels[0], status);
    EXPECT_EQ(dome->s.workflowState, 5);
    EXPECT_TRUE(dome->controls.ButtonOptimize.enabled && dome->controls.GridOptimized.enabled);
    EXPECT_EQ(dome->controls.GridOptimized.rowCount, std::max<int>(1, dome->s.results.count) + 1);
    if (dome->s.results.count == 0) return;
    for (uint32_t j = 1; j <= dome->s.dome.pointCount; ++j)
      ASSERT_EQ(dome->s.dome.points[j].used, dome->s.results.results[1].decision[j] != 0) << j;
  }
  std::unique_ptr<testing::DomeRun> dome;
};

INSTANTIATE_TEST_SUITE_P(Searches, OptimizeRun, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Literal" : "Parallel"; });

// A clock that moves on by 1234.5 seconds each time it is read.
class SteppingClockHost : public testing::TestHost {
 public:
  double TimeOfDaySeconds() override {
    const double now = seconds;
    seconds = std::fmod(seconds + 1234.5, 86400.0);
    return now;
  }
};

// 162 points: level 1 lists the all-lights record, level 2 decides points
// 1..100 of it, level 3 every point of the best 100 level-2 results. Each
// level reads the clock once at its start and once at its end; level 2 runs
// across midnight.
TEST_P(OptimizeRun, On162PointsEachLevelRefinesTheOneBefore) {
  MakeDome(3, testing::Random()).EditOptThreshold.text = "  .6 ";
  SteppingClockHost clock;
  clock.seconds = 86400 - 3000;
  EXPECT_TRUE(OptimizePoints(dome->s, dome->controls, clock).done());
  const Session& s = dome->s;
  EXPECT_EQ(LogStartingWith(*dome, ":          Optimize LEVEL 1:"),
            ":          Optimize LEVEL 1:  1,234.50sec.  0 opt. found. 0k aborted. 162 min "
            "lights found.");
  for (int level : {2, 3}) EXPECT_EQ(LevelFigures(*dome, level).first, "1,234.50") << level;
  const long found2 = LevelFigures(*dome, 2).second, found3 = LevelFigures(*dome, 3).second;
  ASSERT_EQ(s.results.seedCount, std::min<long>(100, found2));
  for (uint16_t i = 1; i <= s.results.seedCount; ++i) {
    const SearchResult& seed = s.results.seeds[i];
    for (uint32_t j = 101; j <= 162; ++j) ASSERT_LE(seed.decision[j], 1) << "seed " << i;
    ASSERT_LE(seed.recordedLights, 100) << "lights among points 1..100";
  }
  ASSERT_GT(found3, 0);
  EXPECT_EQ(s.results.count, std::min<long>(100, found3));
  EXPECT_EQ(dome->controls.GaugeOpt2.progress, 100);
  ExpectEnd("Optimize points done.");
}

TEST_P(OptimizeRun, NothingFoundLeavesEveryPointALightAndAnEmptyTable) {
  ControlModel& controls = MakeDome(4, testing::Bands(0.2f, 2.2f, kHeight));
  controls.SpinOptMaxRed.value = 3;  // no level-1 centre on 642 points
  controls.GridOptimized.SetRowCount(5);
  Optimize();
  EXPECT_EQ(LogStartingWith(*dome, ":  Optimization"),
            ":  Optimization done. 0 found. 0k aborted. 642 min lights. ");
  EXPECT_EQ(controls.GridOptimized.Cell(0, 1), "");
  for (uint32_t j = 1; j <= dome->s.dome.pointCount; ++j) {
    const DomePoint& p = dome->s.dome.points[j];
    ASSERT_TRUE(p.used && p.lightLum == p.lum && p.level == 1) << j;
  }
  ExpectEnd("Optimize points done.");
}

// The window's abort during a long level 1 stops the run within a fraction
// of a second and ends it as aborted, with what was found listed.
TEST_P(OptimizeRun, AbortDuringLevel1EndsTheRunAsAborted) {
  MakeDome(4, testing::Bands(1.0f, 1.4f, kHeight));  // level 1 alone would run for minutes
  std::chrono::steady_clock::time_point abortTime;
  dome->host.onEvents = [&] {
    if (dome->s.abortRequested || dome->controls.StatusBar1.panels[1] != "Optimize LEVEL 1...")
      return;
    EXPECT_FALSE(dome->controls.ButtonOptimize.enabled);
    abortTime = std::chrono::steady_clock::now();
    RequestAbort(dome->s);
  };
  EXPECT_EQ(Optimize().status, StepStatus::kAborted);
  const std::chrono::duration<double> afterAbort = std::chrono::steady_clock::now() - abortTime;
  EXPECT_LT(afterAbort.count(), 0.5);
  EXPECT_EQ(LogStartingWith(*dome, ":          Optimize LEVEL 2:"), "");
  ExpectEnd("Optimize points aborted.");
}

// Runs on hand-made candidates: once the candidate loop has reached point
// 640 of 642, the candidates are replaced by `count` centres (the first
// points in index order that are not next to each other) with 90 members
// each, taken in index order, and the counts `counts` per level; every other
// point can only be a single light.
class OptimizeInjected : public OptimizeRun {
 protected:
  void Run(int level1MaxLights, int count, const std::array<uint8_t, 8>& counts) {
    testing::OptimizeControls c;
    c.maxReduction = 6;
    c.level1Points = 642;
    c.level1MaxLights = level1MaxLights;
    c.ApplyTo(MakeDome(4, testing::Uniform(1.0f)));
    for (uint32_t i = 1; i <= dome->s.dome.pointCount; ++i)
      testing::SetLuminance(dome->s.dome, i, 1.0f);
    centres.clear();
    dome->host.onEvents = [this, count, counts] {
      if (centres.empty() && dome->controls.StatusBar1.panels[2] == "640/642")
        Replace(count, counts);
    };
    Optimize();
    ASSERT_EQ(centres.size(), static_cast<std::size_t>(count));
  }
  std::vector<uint32_t> centres;

 private:
  void Replace(int count, const std::array<uint8_t, 8>& counts) {
    Dome& d = dome->s.dome;
    std::vector<bool> taken(d.pointCount + 1, false);
    for (uint32_t i = 1; i <= 640 && centres.size() < static_cast<std::size_t>(count); ++i) {
      bool nextToCentre = false;
      for (std::size_t k = 1; k <= kNeighbourSlots; ++k)
        nextToCentre = nextToCentre || taken[static_cast<std::size_t>(d.points[i].nb[k])];
      if (nextToCentre) continue;
      centres.push_back(i);
      taken[i] = true;
    }
    for (uint32_t j = 1; j <= d.pointCount; ++j) {
      d.points[j].maxLevel = 1;
      for (std::size_t k = 2; k <= 7; ++k) d.points[j].memberCount[k] = 0;
    }
    uint32_t next = 1;
    for (uint32_t c : centres) {
      DomePoint& p = d.points[c];
      for (std::size_t k = 2; k <= 91; ++k) {
        while (taken[next]) ++next;
        p.members[k] = static_cast<int32_t>(next);
        taken[next] = true;
      }
      for (std::size_t k = 0; k < 8; ++k) p.memberCount[k] = counts[k];
      p.maxLevel = 6;
    }
    // The last two points are not processed after this.
    d.points[641].contrastEdge = d.points[642].contrastEdge = true;
  }
};

INSTANTIATE_TEST_SUITE_P(Searches, OptimizeInjected, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Literal" : "Parallel"; });

// Six centres with rings as on a regular mesh (7, 19, 37, 61, 91): level 1
// (limit 150) accepts all six at level 6 (102 lights) and each one at level
// 5 (132). With level 1 over every point, level 2 has nothing left to
// decide: every seed is a finished result at once.
TEST_P(OptimizeInjected, Level1OverEveryPointLeavesLevel2NothingToDecide) {
  Run(150, 6, {0, 1, 7, 19, 37, 61, 91, 0});
  const std::vector<std::string> log = testing::LogTexts(dome->controls, dome->host.timeText);
  ASSERT_GE(log.size(), 4u);
  EXPECT_EQ(std::vector<std::string>(log.end() - 4, log.end()),
            (std::vector<std::string>{
                ":          Optimize LEVEL 1:  0.00sec.  7 opt. found. 3k aborted. 102 min lights "
                "found.",
                ":          Optimize LEVEL 2:  0.00sec.  7  opt. found. 3k aborted. 102 min lights "
                "found.",
                ":          Optimize LEVEL 3:  0.00sec.  7  opt. found. 3k aborted. 102 min lights "
                "found.",
                ":  Optimization done. 7 found. 3k aborted. 102 min lights. "}));
  const SearchResults& results = dome->s.results;
  ASSERT_EQ(results.count, 7);
  EXPECT_EQ(results.results[1].lightCount, 102);
  for (uint16_t r = 2; r <= 7; ++r) EXPECT_EQ(results.results[r].lightCount, 132) << r;
  for (uint32_t c : centres) EXPECT_EQ(results.results[1].decision[c], 6);
  EXPECT_EQ(dome->controls.GridOptimized.Cell(2, 1), " 1.29");  // (96 + 6 * 6) / 102
  EXPECT_EQ(dome->s.dome.points[centres[0]].lightLum, 91.0f) << "the sum of its 91 members";
  EXPECT_TRUE(dome->host.messages.empty());
}

// Seven centres whose levels 4, 5 and 6 differ by one member: the 3^7 = 2187
// combinations have 12 (all at level 6) to 26 lights.
TEST_P(OptimizeInjected, PauseAdviceNeedsManyResultsAndAMinimumWellBelowTheSetting) {
  const std::array<uint8_t, 8> counts = {0, 1, 30, 60, 89, 90, 91, 0};
  Run(23, 7, counts);  // 36 combinations have more than 23 lights
  EXPECT_EQ(LevelFigures(*dome, 1).second, 2151);
  const std::string br = "\n\r";
  ASSERT_EQ(dome->host.messages.size(), 1u);
  EXPECT_EQ(dome->host.messages[0],
            "<pause after level 1>" + br + " " + br +
                "2151 optimizations were found after Level 1, that's pretty much." + br +
                "12 min lights were found after Level 1,and you have set 23 as a maximum of "
                "lights after level 1." +
                br + " " + br +
                "Next time you optimize this image, you could try to reduce the this setting for "
                "faster calculation." +
                br + "(perhaps a value about 19)");
  Run(22, 7, counts);  // 12 + 10 is not below 22
  EXPECT_TRUE(dome->host.messages.empty());
}

}  // namespace
}  // namespace halvane
