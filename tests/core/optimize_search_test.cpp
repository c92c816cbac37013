#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cmath>
#include <memory>
#include <regex>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "optimize/candidates.h"
#include "optimize/level_search.h"
#include "optimize/optimize_step.h"
#include "optimize/result_table.h"
#include "optimize/search_settings.h"
#include "support/optimize_fixtures.h"

namespace halvane {
namespace {

using testing::DecisionText;
using testing::LightsUpTo;

// Hand-made point sets: only the members, counts and working levels matter
// to the search.
class OptimizeSearch : public testing::OptimizeTest {
 protected:
  void Singles(uint32_t count) {
    s.dome.pointCount = count;
    for (uint32_t i = 1; i <= count; ++i) {
      DomePoint& p = s.dome.points[i];
      p.members[1] = static_cast<int32_t>(i);
      p.memberCount[1] = 1;
      p.maxLevel = p.level = 1;
      p.used = true;
    }
  }

  // Point i collects rings[0] at level 2, rings[0] and rings[1] at level 3, ...
  void Centre(uint32_t i, const std::vector<std::vector<int32_t>>& rings) {
    DomePoint& p = s.dome.points[i];
    std::size_t count = 1;
    std::size_t level = 1;
    for (const auto& ring : rings) {
      ++level;
      for (int32_t m : ring) p.members[++count] = m;
      p.memberCount[level] = static_cast<uint8_t>(count);
    }
    p.maxLevel = p.level = static_cast<int32_t>(level);
  }

  // Five points in a row: point 2 collects 1 and 3 (level 2) and then 4
  // (level 3); point 4 collects 3 and 5 (level 2).
  void Row() {
    Singles(5);
    Centre(2, {{1, 3}, {4}});
    Centre(4, {{3, 5}});
  }

  std::unique_ptr<LevelSearch> NewSearch(uint32_t last, uint32_t limit) {
    auto r = std::make_unique<LevelSearch>(s, controls, host);
    for (uint32_t j = 1; j <= s.dome.pointCount; ++j) r->Current.decision[j] = 1;
    r->FirstIndex = 1;
    r->LastIndex = last;
    r->LightLimit = limit;
    r->MinLights = s.dome.pointCount;
    r->MinLevel = 2;
    r->BoundAll = r->BoundHalf = r->BoundThird = r->BoundFifth = r->BoundTenth = 100000;
    r->SeedLabel = "1/1  ";
    s.results.seedCount = 1;
    s.results.foundCount = 0;
    s.results.abortedCount = 0;
    s.results.count = 0;
    return r;
  }

  std::vector<std::string> Results() const {
    std::vector<std::string> texts;
    for (uint16_t r = 1; r <= s.results.count; ++r)
      texts.push_back(DecisionText(s.results.results[r], s.dome.pointCount));
    return texts;
  }
};

TEST_F(OptimizeSearch, LargerCollapsesComeFirstAndTheSingleLightLast) {
  Row();
  auto search = NewSearch(5, 10);
  search->Run(3, 1);
  EXPECT_EQ(Results(), (std::vector<std::string>{"03001", "02011", "11020", "11111"}));
  EXPECT_EQ(s.results.foundCount, 4u);
  EXPECT_EQ(search->MinLights, 2u);
  EXPECT_EQ(s.results.results[1].lightCount, 2);
  EXPECT_EQ(s.results.results[2].recordedLights, 3);
  EXPECT_EQ(s.results.results[4].lightCount, 5);
  // Every change is undone on the way back.
  EXPECT_EQ(DecisionText(search->Current, 5), "11111");
  EXPECT_EQ(search->RunLights, 0);
  EXPECT_EQ(search->ProgressIndex, 0u);
  EXPECT_EQ(search->LightLimit, 10u) << "no minimum came below the first minimum + 5";
}

TEST_F(OptimizeSearch, AbsorbingAnEarlierSingleLightLowersTheRunningCount) {
  Row();
  auto search = NewSearch(5, 2);
  search->Run(3, 1);
  // Point 1 was passed as a light before point 2 took it in: two lights.
  EXPECT_EQ(Results(), (std::vector<std::string>{"03001"}));
  EXPECT_EQ(s.results.abortedCount, 3u) << "the three leaves over the limit";
  EXPECT_EQ(search->MinLights, 2u);
}

TEST_F(OptimizeSearch, LevelsOneAndTwoTryOnlyTheMinimumLevelAndUp) {
  for (int level : {1, 2}) {
    Row();
    auto search = NewSearch(5, 10);
    search->MinLevel = 3;
    search->Run(level, 1);
    EXPECT_EQ(Results(), (std::vector<std::string>{"03001", "11111"})) << "level " << level;
  }
  Row();
  auto search = NewSearch(5, 10);
  search->MinLevel = 3;  // level 3 tries every collapse from level 2 up
  search->Run(3, 1);
  EXPECT_EQ(s.results.foundCount, 4u);
}

TEST_F(OptimizeSearch, PointsDecidedBeforeTheLevelArePassedWithoutCounting) {
  Row();
  auto search = NewSearch(5, 2);  // counting point 2 would make three
  search->Current.decision[1] = 0;
  search->Current.decision[2] = 2;
  search->Current.decision[3] = 0;
  search->Run(3, 1);
  // Only points 4 and 5 are free; point 4 collapsing would need point 3.
  EXPECT_EQ(Results(), (std::vector<std::string>{"02011"}));
  EXPECT_EQ(s.results.results[1].lightCount, 3) << "the stored count covers every light";
  EXPECT_EQ(s.results.abortedCount, 0u);
}

// On 50 single points the light count at a visit of point j is j - 1. Each
// bound cuts only below its fraction of the points (5, 10, 16, 25, all).
TEST_F(OptimizeSearch, PruningBoundsApplyBelowTheirFractionOfThePoints) {
  struct Case {
    uint32_t LevelSearch::*bound;
    uint32_t below;  // the visits j < below are tested
    bool inLevel2;
  };
  const Case cases[] = {{&LevelSearch::BoundTenth, 5, false},
                        {&LevelSearch::BoundFifth, 10, false},
                        {&LevelSearch::BoundThird, 16, false},
                        {&LevelSearch::BoundHalf, 25, true},
                        {&LevelSearch::BoundAll, 51, true}};
  for (const Case& c : cases) {
    for (int level : {1, 2}) {
      for (uint32_t slack : {0u, 1u}) {
        Singles(50);
        auto search = NewSearch(50, 100);
        // The largest count tested is below - 2 (at j = below - 1).
        (*search).*c.bound = c.below - 3 + slack;
        search->Run(level, 1);
        const bool cut = slack == 0 && (level == 1 || c.inLevel2);
        EXPECT_EQ(s.results.foundCount, cut ? 0u : 1u)
            << "below " << c.below << " level " << level << " slack " << slack;
        EXPECT_EQ(s.results.abortedCount, cut ? 1u : 0u);
      }
    }
  }
}

TEST_F(OptimizeSearch, AbortStopsAtTheNextFreePointButFinishesDecidedLeaves) {
  Row();
  s.abortRequested = true;
  auto search = NewSearch(5, 10);
  search->Run(3, 1);
  EXPECT_EQ(s.results.foundCount, 0u);
  EXPECT_EQ(s.results.abortedCount, 0u);

  auto decided = NewSearch(5, 10);
  decided->Current.decision[2] = 3;
  for (uint32_t j : {1u, 3u, 4u, 5u}) decided->Current.decision[j] = 0;
  decided->Run(3, 1);
  EXPECT_EQ(Results(), (std::vector<std::string>{"03000"}));
}

TEST_F(OptimizeSearch, RejectedLeafLowersMinLightsToItsRunningCount) {
  Singles(20);
  auto search = NewSearch(20, 10);
  search->RunLights = 12;  // the decisions hold 20 lights
  search->Leaf();
  EXPECT_EQ(s.results.foundCount, 0u);
  EXPECT_EQ(s.results.count, 0u);
  EXPECT_EQ(s.results.abortedCount, 1u);
  EXPECT_EQ(search->MinLights, 12u);
  search->RunLights = 15;
  search->Leaf();
  EXPECT_EQ(search->MinLights, 12u);
  EXPECT_EQ(s.results.abortedCount, 2u);
}

TEST_F(OptimizeSearch, LightLimitFallsToThePreviousMinimumPlusFive) {
  Singles(30);
  auto search = NewSearch(20, 18);
  search->MinLights = 20;
  const auto leafWithLights = [&](int lights) {
    for (uint32_t j = 1; j <= 20; ++j) search->Current.decision[j] = j <= uint32_t(lights) ? 1 : 0;
    search->RunLights = 1;  // accepted whatever the decisions hold
    search->Leaf();
  };
  leafWithLights(12);
  EXPECT_EQ(search->LightLimit, 18u) << "the first result never lowers the limit";
  EXPECT_EQ(search->MinLights, 12u);
  // Points 21..30 lie beyond the level's last point and are not counted.
  EXPECT_EQ(s.results.results[1].lightCount, 12);
  EXPECT_EQ(s.results.results[1].recordedLights, 12);
  leafWithLights(10);
  EXPECT_EQ(search->LightLimit, 17u);
  EXPECT_EQ(search->MinLights, 10u);
  leafWithLights(11);
  EXPECT_EQ(search->LightLimit, 17u);
  leafWithLights(9);
  EXPECT_EQ(search->LightLimit, 15u);
  EXPECT_EQ(s.results.foundCount, 4u);
  EXPECT_EQ(s.results.count, 4u);
}

TEST_F(OptimizeSearch, ResultsBeyond5000OverwriteTheLastEntry) {
  Singles(10);
  auto search = NewSearch(10, 100);
  for (int k = 1; k <= 5001; ++k) {
    search->Current.decision[1] = static_cast<uint8_t>(k >= 4999 ? k - 4995 : 1);
    search->Leaf();
  }
  EXPECT_EQ(s.results.foundCount, 5001u);
  EXPECT_EQ(s.results.count, 5000u);
  EXPECT_EQ(s.results.results[4999].decision[1], 4);
  EXPECT_EQ(s.results.results[5000].decision[1], 6) << "the 5001st result replaced the 5000th";
}

TEST_F(OptimizeSearch, ProgressShowsTheSeedAndThePositionInTheLevel) {
  Singles(200);
  auto search = NewSearch(101, 100);
  search->ProgressIndex = 21;
  search->SeedIndex = 3;
  search->SeedLabel = "3/50  ";
  s.results.seedCount = 50;
  s.results.foundCount = 7;
  s.results.abortedCount = 5000;
  search->MinLights = 33;
  search->RefreshProgress();
  EXPECT_EQ(controls.GaugeOpt2.progress, 5);  // 20/100 * 275/50 + 2/50 * 100 = 5.1
  EXPECT_EQ(controls.StatusBar1.panels[2],
            "3/50  20/100. 7  opt. found. 4k aborted. 33 min lights found.");
}

TEST_F(OptimizeSearch, ProgressGaugeRoundsHalvesToEven) {
  Singles(200);
  for (auto [seeds, gauge] : {std::pair{55, 2}, std::pair{11, 12}}) {
    auto search = NewSearch(100, 100);
    search->FirstIndex = 0;
    search->ProgressIndex = 50;  // half way: 137.5 / seeds
    s.results.seedCount = static_cast<uint16_t>(seeds);
    search->RefreshProgress();
    EXPECT_EQ(controls.GaugeOpt2.progress, gauge) << seeds << " seeds";
  }
}

TEST_F(OptimizeSearch, ProgressWithoutAnOpenDecisionChangesNothing) {
  Singles(20);
  auto search = NewSearch(20, 100);
  controls.GaugeOpt2.progress = 37;
  controls.StatusBar1.panels[2] = "before";
  search->RefreshProgress();
  EXPECT_EQ(controls.GaugeOpt2.progress, 37);
  EXPECT_EQ(controls.StatusBar1.panels[2], "before");
}

TEST_F(OptimizeSearch, ProgressOfAnEmptyRangeDoesNotDivideByZero) {
  Singles(642);
  auto search = NewSearch(642, 100);
  search->FirstIndex = 642;
  search->ProgressIndex = 642;
  search->SeedIndex = 3;
  search->SeedLabel = "3/4  ";
  s.results.seedCount = 4;
  search->RefreshProgress();
  EXPECT_EQ(controls.GaugeOpt2.progress, 50);
  EXPECT_EQ(controls.StatusBar1.panels[2].rfind("3/4  0/0. ", 0), 0u)
      << controls.StatusBar1.panels[2];

  search->FirstIndex = 1000;  // level 2 after a level 1 over 1000 points
  search->RefreshProgress();
  EXPECT_EQ(controls.GaugeOpt2.progress, 50);

  s.results.seedCount = 0;
  search->SeedIndex = 1;
  search->RefreshProgress();
  EXPECT_EQ(controls.GaugeOpt2.progress, 0);
}

TEST_F(OptimizeSearch, SeedPreparationDropsCollapsesReachingBeforeTheFirstFreePoint) {
  Singles(10);
  Centre(5, {{6, 7}, {3, 8}});  // level 3 would take in point 3
  Centre(9, {{10}});
  Centre(2, {{1, 3}});
  s.dome.points[6].maxLevel = 0;  // withdrawn by thinning
  s.dome.points[8].level = 7;     // outside the prepared range
  auto search = NewSearch(10, 100);
  for (uint32_t j = 1; j <= 3; ++j) search->Current.decision[j] = 0;
  search->PrepareSeed(4, 7);
  search->PrepareSeed(9, 10);
  EXPECT_EQ(search->FirstFree, 4u);
  EXPECT_EQ(s.dome.points[5].level, 2);
  EXPECT_EQ(s.dome.points[6].level, 0);
  EXPECT_EQ(s.dome.points[9].level, 2);
  EXPECT_EQ(s.dome.points[8].level, 7);

  search->PrepareSeed(1, 3);
  EXPECT_EQ(s.dome.points[2].level, 1) << "a centre before the first free point";

  search->FirstFree = 7;
  for (uint32_t j = 1; j <= 10; ++j) search->Current.decision[j] = 0;
  search->PrepareSeed(1, 10);
  EXPECT_EQ(search->FirstFree, 7u) << "kept when no point is free";
}

TEST(OptimizeClock, ElapsedSecondsAcrossMidnightAddADay) {
  EXPECT_EQ(ElapsedSeconds(100.0, 100.5), 0.5);
  EXPECT_EQ(ElapsedSeconds(86399.5, 0.25), 0.75);
  EXPECT_EQ(ElapsedSeconds(7.0, 7.0), 0.0);
}

// ---------------------------------------------------------------------------
// Whole runs of "Optimize points".

std::smatch MatchOrFail(const std::string& text, const std::string& pattern) {
  std::smatch m;
  EXPECT_TRUE(std::regex_match(text, m, std::regex(pattern))) << "'" << text << "'";
  return m;
}

const std::string kLevelLine = R"(:          Optimize LEVEL (\d):  ([0-9,]+\.\d\d)sec\.  (\d+))";
const std::string kLevelTail = R"((\d+)k aborted\. (\d+) min lights found\.)";

// The three numbers of a level's log line: found, k aborted, min lights.
struct LevelLine {
  std::string seconds;
  long found = -1, abortedK = -1, minLights = -1;
};

LevelLine ParseLevelLine(const std::string& text, int level) {
  const std::string gap = level == 1 ? " opt\\. found\\. " : "  opt\\. found\\. ";
  const std::smatch m = MatchOrFail(text, kLevelLine + gap + kLevelTail);
  LevelLine line;
  if (m.empty()) return line;
  EXPECT_EQ(std::stoi(m[1]), level);
  line.seconds = m[2];
  line.found = std::stol(m[3]);
  line.abortedK = std::stol(m[4]);
  line.minLights = std::stol(m[5]);
  return line;
}

// Every run test goes through the literal search and through the default
// (parallel) one: both must give the same outcome.
class OptimizeRun : public testing::OptimizeTest, public ::testing::WithParamInterface<bool> {
 protected:
  void Optimize() { Optimize(host); }
  void Optimize(Host& runHost) {
    SearchSettings settings = DefaultSearchSettings();
    settings.literal = GetParam();
    ButtonOptimizeClick(s, controls, runHost, settings);
  }
  LevelLine Level(int level) const {
    return ParseLevelLine(
        LogStartingWith(":          Optimize LEVEL " + std::to_string(level) + ":"), level);
  }
  bool StepControlsEnabled() const {
    return controls.ButtonOptimize.enabled && controls.ButtonApplyColor.enabled &&
           controls.GridOptimized.enabled && controls.Button_LoadImage.enabled;
  }
  void ExpectChosenRowApplied() const {
    const SearchResult& chosen = s.results.results[1];
    for (uint32_t j = 1; j <= s.dome.pointCount; ++j)
      ASSERT_EQ(s.dome.points[j].used, chosen.decision[j] != 0) << "point " << j;
  }
  // 162 points of strongly varying colour; few collapses fit 0.6.
  void RandomDome162() {
    ApplyColours(3, [](int x, int y) { return testing::RandomPixel(x, y); });
    controls.EditOptThreshold.text = "  .6 ";
  }
  // 642 points in bands of similar brightness, level 1 over 100 points.
  void GradientDome642() {
    ApplyColours(4, [](int x, int y) { return testing::GradientPixel(x, y, kHeight); });
    controls.SpinOptLevel1.value = 100;
  }
};

INSTANTIATE_TEST_SUITE_P(Searches, OptimizeRun, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Literal" : "Parallel"; });

TEST_P(OptimizeRun, On162PointsLevelOneOnlyListsTheAllLightsRecord) {
  RandomDome162();
  // The literal search lets events run at each new minimum of level 2.
  bool seenLevel2 = false;
  host.onEvents = [&] {
    if (seenLevel2 || controls.StatusBar1.panels[1] != "Optimize LEVEL 2...") return;
    seenLevel2 = true;
    EXPECT_EQ(s.results.seedCount, 1);
    EXPECT_EQ(DecisionText(s.results.seeds[1], 162), std::string(162, '1'));
    EXPECT_EQ(controls.StatusBar1.panels[2].rfind("1/1  ", 0), 0u) << controls.StatusBar1.panels[2];
  };
  Optimize();
  EXPECT_TRUE(seenLevel2 || !GetParam());

  EXPECT_EQ(LogStartingWith(":          Optimize LEVEL 1:"),
            ":          Optimize LEVEL 1:  0.00sec.  0 opt. found. 0k aborted. 162 min lights "
            "found.");
  // Level 3 took its seeds from the level-2 results: level 2 started from
  // all lights and decided points 1..100 only (collapses there may take in
  // later points, but no centre lies beyond 100).
  const LevelLine two = Level(2), three = Level(3);
  ASSERT_GT(two.found, 1);
  ASSERT_EQ(s.results.seedCount, std::min<long>(100, two.found));
  for (uint16_t i = 1; i <= s.results.seedCount; ++i) {
    const SearchResult& seed = s.results.seeds[i];
    for (uint32_t j = 101; j <= 162; ++j) ASSERT_LE(seed.decision[j], 1) << "seed " << i;
    ASSERT_EQ(seed.recordedLights, LightsUpTo(seed, 100)) << "seed " << i;
    ASSERT_LE(seed.recordedLights, 100);
    ASSERT_EQ(seed.lightCount, LightsUpTo(seed, 162)) << "statistics over every point";
  }
  // Level 3 decides all 162 points.
  ASSERT_GT(three.found, 0);
  EXPECT_EQ(three.found, static_cast<long>(s.results.foundCount));
  EXPECT_EQ(s.results.count, std::min<long>(100, three.found));
  bool centreBeyond100 = false;
  for (uint16_t r = 1; r <= s.results.count; ++r) {
    const SearchResult& rec = s.results.results[r];
    ASSERT_EQ(rec.recordedLights, rec.lightCount) << "row " << r;
    for (uint32_t j = 101; j <= 162; ++j) centreBeyond100 = centreBeyond100 || rec.decision[j] > 1;
  }
  EXPECT_TRUE(centreBeyond100) << "some result has a centre beyond point 100";

  const std::string endLine = LogStartingWith(":  Optimization");  // the match refers into it
  const std::smatch end = MatchOrFail(
      endLine, R"(:  Optimization done\. (\d+) found\. (\d+)k aborted\. (\d+) min lights\. )");
  if (!end.empty()) {
    EXPECT_EQ(std::stol(end[1]), three.found);
    EXPECT_EQ(std::stol(end[2]), static_cast<long>(s.results.abortedCount / 1024));
    EXPECT_EQ(std::stol(end[3]), three.minLights);
  }
  EXPECT_EQ(s.workflowState, 5);
  EXPECT_EQ(controls.StatusBar1.panels[0], "Optimize points done.");
  EXPECT_EQ(controls.StatusBar1.panels[1], "");
  EXPECT_EQ(controls.GaugeOpt2.progress, 100);
  EXPECT_EQ(controls.RadioLevelNr.itemIndex, 2);
  EXPECT_TRUE(StepControlsEnabled());
  EXPECT_EQ(controls.PanelSt[5].color, kPanelDoneColor);
  EXPECT_EQ(controls.PanelSt[6].color, kPanelColor);
  EXPECT_EQ(controls.GridOptimized.rowCount, s.results.count + 1);
  ExpectChosenRowApplied();
}

// A clock that moves on by `step` seconds each time it is read.
class SteppingClockHost : public testing::TestHost {
 public:
  double TimeOfDaySeconds() override {
    const double now = seconds;
    seconds = std::fmod(seconds + step, 86400.0);
    return now;
  }
  double step = 0;
};

TEST_P(OptimizeRun, LevelSecondsAreTheClockDifferenceAlsoAcrossMidnight) {
  RandomDome162();
  SteppingClockHost clock;
  clock.step = 1234.5;
  clock.seconds = 86400 - 3000;  // level 2 starts before midnight and ends after it
  Optimize(clock);
  for (int level : {1, 2, 3}) EXPECT_EQ(Level(level).seconds, "1,234.50") << "level " << level;
}

TEST_P(OptimizeRun, Level1PointsSettingDoesNotApplyTo162Points) {
  RandomDome162();
  controls.SpinOptLevel1.value = 100;
  controls.ListBox1.items.clear();
  Optimize();
  const std::vector<std::string> log100 = Log();
  const auto cells100 = controls.GridOptimized.cells;

  controls.ListBox1.items.clear();
  controls.SpinOptLevel1.value = 200;
  Optimize();
  EXPECT_EQ(Log(), log100);
  EXPECT_EQ(controls.GridOptimized.cells, cells100);
}

// The grid cannot keep a selected row that it no longer has: after a run
// with a shorter table the chosen result is one of the listed ones.
TEST_P(OptimizeRun, SelectionBeyondTheNewTableMovesBackIntoIt) {
  RandomDome162();
  Optimize();
  ASSERT_EQ(s.results.count, 100);
  controls.GridOptimized.selectedRow = 50;
  GridOptimizedClick(s, controls, host);
  controls.CheckOptHalt1.checked = true;  // lists the single all-lights record
  Optimize();
  ASSERT_EQ(s.results.count, 1);
  EXPECT_EQ(controls.GridOptimized.selectedRow, 1);
  ExpectChosenRowApplied();
}

TEST_P(OptimizeRun, HaltAfterLevel1ListsTheLevelOneResults) {
  GradientDome642();
  controls.CheckOptHalt1.checked = true;
  Optimize();
  const LevelLine one = Level(1);
  ASSERT_GT(one.found, 100) << "enough results to fill the table";
  EXPECT_EQ(LogStartingWith(":          Optimize LEVEL 2:"), "");
  const std::string end = LogStartingWith(":  Optimization");
  EXPECT_EQ(end.rfind(":  Optimization aborted. " + std::to_string(one.found) + " found. ", 0), 0u)
      << end;
  EXPECT_EQ(controls.StatusBar1.panels[0], "Optimize points aborted.");
  EXPECT_EQ(s.workflowState, 5);
  EXPECT_TRUE(StepControlsEnabled());
  ASSERT_EQ(s.results.count, 100);
  EXPECT_EQ(controls.GridOptimized.rowCount, 101);
  for (uint16_t r = 1; r <= 100; ++r) {
    const SearchResult& rec = s.results.results[r];
    ASSERT_EQ(rec.recordedLights, LightsUpTo(rec, 100)) << "row " << r;
    ASSERT_LE(rec.recordedLights, 50) << "row " << r;
    for (uint32_t j = 101; j <= s.dome.pointCount; ++j)
      ASSERT_LE(rec.decision[j], 1) << "no centre beyond the level-1 points, row " << r;
  }
  ExpectChosenRowApplied();
}

TEST_P(OptimizeRun, MaxReduction3On642PointsEndsWithEveryPointALight) {
  GradientDome642();
  controls.SpinOptLevel1.value = 275;
  controls.SpinOptMaxRed.value = 3;
  controls.GridOptimized.SetRowCount(5);
  for (int col = 0; col < 6; ++col) controls.GridOptimized.Cell(col, 1) = "old";
  Optimize();

  EXPECT_EQ(LogStartingWith(":          Optimize LEVEL 1:"),
            ":          Optimize LEVEL 1:  0.00sec.  0 opt. found. 0k aborted. 642 min lights "
            "found.");
  EXPECT_EQ(Level(2).found, 0);
  EXPECT_EQ(Level(3).found, 0);
  EXPECT_EQ(LogStartingWith(":  Optimization"),
            ":  Optimization done. 0 found. 0k aborted. 642 min lights. ");
  EXPECT_EQ(controls.StatusBar1.panels[0], "Optimize points done.");
  EXPECT_EQ(s.workflowState, 5);
  EXPECT_EQ(s.results.count, 0);
  ASSERT_EQ(controls.GridOptimized.rowCount, 2);
  for (int col = 0; col < 6; ++col) EXPECT_EQ(controls.GridOptimized.Cell(col, 1), "");
  EXPECT_TRUE(StepControlsEnabled());
  for (uint32_t j = 1; j <= s.dome.pointCount; ++j) {
    const DomePoint& p = s.dome.points[j];
    ASSERT_TRUE(p.used) << j;
    ASSERT_EQ(p.lightR, p.r);
    ASSERT_EQ(p.lightG, p.g);
    ASSERT_EQ(p.lightB, p.b);
    ASSERT_EQ(p.lightLum, p.lum);
    ASSERT_EQ(p.level, 1);
  }
  // With a higher setting the same picture has level-1 centres.
  FindCandidates(controls.EditOptThreshold.text, 5);
  int centres = 0;
  for (uint32_t j = 1; j <= s.dome.pointCount; ++j) centres += s.dome.points[j].maxLevel >= 4;
  EXPECT_GT(centres, 0);
}

TEST_P(OptimizeRun, AbortDuringLevel1EndsTheRunAsAborted) {
  // Smooth bands: level 1 alone would run for minutes.
  ApplyColours(4, [](int x, int y) { return testing::BandPixel(x, y, kHeight); });
  controls.EditOptThreshold.text = "  .5 ";
  bool aborted = false;
  host.onEvents = [&] {
    if (aborted || controls.StatusBar1.panels[1] != "Optimize LEVEL 1...") return;
    EXPECT_FALSE(controls.ButtonOptimize.enabled);
    EXPECT_FALSE(controls.GridOptimized.enabled);
    EXPECT_TRUE(controls.ButtonAbort.enabled);
    EXPECT_EQ(s.workflowState, 4);
    EXPECT_EQ(controls.RadioLevelNr.itemIndex, 0);
    aborted = true;
    ButtonAbortClick(s);
  };
  const auto started = std::chrono::steady_clock::now();
  Optimize();
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  ASSERT_TRUE(aborted);
  EXPECT_LT(seconds, 10.0);
  EXPECT_EQ(controls.StatusBar1.panels[0], "Optimize points aborted.");
  EXPECT_EQ(s.workflowState, 5);
  EXPECT_TRUE(StepControlsEnabled());
  EXPECT_EQ(LogStartingWith(":          Optimize LEVEL 2:"), "");
  EXPECT_NE(LogStartingWith(":          Optimize LEVEL 1:"), "");
  const std::string end = LogStartingWith(":  Optimization");
  EXPECT_EQ(
      end.rfind(":  Optimization aborted. " + std::to_string(s.results.foundCount) + " found. ", 0),
      0u)
      << end;
  EXPECT_EQ(s.results.count, std::min<uint32_t>(100, s.results.foundCount));
  EXPECT_EQ(controls.GridOptimized.rowCount, std::max<int>(1, s.results.count) + 1);
}

// Runs on hand-made candidates: once the candidate loop has reached point
// 640 of 642, the candidates are replaced by `count` centres (the first
// points in index order that are not next to each other) with 90 members
// each, taken in index order, and the counts `counts` per level; every other
// point can only be a single light.
class OptimizeInjected : public testing::OptimizeTest, public ::testing::WithParamInterface<bool> {
 protected:
  void SetUp() override {
    OptimizeTest::SetUp();
    UniformDome(4, 1.0f);
    controls.SpinOptMaxRed.value = 6;
  }
  void Run(int count, const std::array<uint8_t, 8>& counts) {
    centres_.clear();
    bool replaced = false;
    host.onEvents = [this, count, counts, &replaced] {
      if (replaced || controls.StatusBar1.panels[2] != "640/642") return;
      replaced = true;
      ReplaceCandidates(count, counts);
    };
    SearchSettings settings = DefaultSearchSettings();
    settings.literal = GetParam();
    EXPECT_NO_THROW(ButtonOptimizeClick(s, controls, host, settings));
    host.onEvents = nullptr;
    ASSERT_TRUE(replaced);
    ASSERT_EQ(centres_.size(), static_cast<std::size_t>(count));
  }
  std::vector<std::string> LastLog(std::size_t lines) const {
    const std::vector<std::string> log = Log();
    EXPECT_GE(log.size(), lines);
    return std::vector<std::string>(
        log.end() - static_cast<std::ptrdiff_t>(std::min(lines, log.size())), log.end());
  }
  long Level1Found() const {
    const std::vector<std::string> log = Log();
    for (auto line = log.rbegin(); line != log.rend(); ++line)
      if (line->rfind(":          Optimize LEVEL 1:", 0) == 0)
        return ParseLevelLine(*line, 1).found;
    return -1;
  }
  std::vector<uint32_t> centres_;

 private:
  void ReplaceCandidates(int count, const std::array<uint8_t, 8>& counts) {
    std::vector<bool> taken(s.dome.pointCount + 1, false);
    for (uint32_t i = 1; i <= 640 && centres_.size() < static_cast<std::size_t>(count); ++i) {
      bool nextToCentre = false;
      for (std::size_t k = 1; k <= kNeighbourSlots; ++k) {
        const int32_t n = s.dome.points[i].nb[k];
        nextToCentre = nextToCentre || (n != 0 && taken[static_cast<std::size_t>(n)]);
      }
      if (nextToCentre) continue;
      centres_.push_back(i);
      taken[i] = true;
    }
    for (uint32_t j = 1; j <= s.dome.pointCount; ++j) {
      s.dome.points[j].maxLevel = 1;
      for (std::size_t k = 2; k <= 7; ++k) s.dome.points[j].memberCount[k] = 0;
    }
    uint32_t next = 1;
    for (uint32_t c : centres_) {
      DomePoint& p = s.dome.points[c];
      for (std::size_t k = 2; k <= 91; ++k) {
        while (taken[next]) ++next;
        p.members[k] = static_cast<int32_t>(next);
        taken[next] = true;
      }
      for (std::size_t k = 0; k < 8; ++k) p.memberCount[k] = counts[k];
      p.maxLevel = 6;
    }
    // The last two points are not processed after this.
    s.dome.points[641].contrastEdge = s.dome.points[642].contrastEdge = true;
  }
};

INSTANTIATE_TEST_SUITE_P(Searches, OptimizeInjected, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Literal" : "Parallel"; });

// Six centres with rings as on a regular mesh (7, 19, 37, 61, 91): level 1
// (limit 150) accepts all six at level 6 (102 lights) and each one at level
// 5 (132). With level 1 over at least as many points as the dome has, level
// 2 has nothing left to decide: every seed is a finished result at once.
TEST_P(OptimizeInjected, Level1OverEveryPointLeavesLevel2NothingToDecide) {
  for (int level1Points : {642, 1000}) {
    SmallRun("  .5 ", 6, level1Points, 150);
    Run(6, {0, 1, 7, 19, 37, 61, 91, 0});
    const std::vector<std::string> expected = {
        ":          Optimize LEVEL 1:  0.00sec.  7 opt. found. 3k aborted. 102 min lights found.",
        ":          Optimize LEVEL 2:  0.00sec.  7  opt. found. 3k aborted. 102 min lights found.",
        ":          Optimize LEVEL 3:  0.00sec.  7  opt. found. 3k aborted. 102 min lights found.",
        ":  Optimization done. 7 found. 3k aborted. 102 min lights. "};
    EXPECT_EQ(LastLog(4), expected) << level1Points;
    ASSERT_EQ(s.results.count, 7);
    EXPECT_EQ(s.results.results[1].lightCount, 102);
    EXPECT_EQ(s.results.results[1].recordedLights, 102);
    for (uint16_t r = 2; r <= 7; ++r) EXPECT_EQ(s.results.results[r].lightCount, 132) << r;
    for (uint32_t c : centres_) EXPECT_EQ(s.results.results[1].decision[c], 6);
    EXPECT_EQ(controls.GridOptimized.Cell(2, 1), " 1.29");  // (96 + 6 * 6) / 102
    EXPECT_EQ(controls.GaugeOpt2.progress, 100);
    // The chosen centre's light is the sum of its 91 members.
    const DomePoint& centre = s.dome.points[centres_[0]];
    EXPECT_EQ(centre.level, 6);
    EXPECT_EQ(centre.lightLum, 91.0f);
    EXPECT_TRUE(host.messages.empty());
  }
}

// Seven centres whose levels 4, 5 and 6 differ by one member: the 3^7 = 2187
// combinations have 12 (all at level 6) to 26 lights.
TEST_P(OptimizeInjected, PauseAdviceNeedsManyResultsAndAMinimumWellBelowTheSetting) {
  const std::array<uint8_t, 8> counts = {0, 1, 30, 60, 89, 90, 91, 0};
  SmallRun("  .5 ", 6, 642, 23);
  Run(7, counts);
  // 36 combinations have more than 23 lights.
  EXPECT_EQ(Level1Found(), 2151);
  const std::string br = "\n\r";
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0],
            "<pause after level 1>" + br + " " + br +
                "2151 optimizations were found after Level 1, that's pretty much." + br +
                "12 min lights were found after Level 1,and you have set 23 as a maximum of "
                "lights after level 1." +
                br + " " + br +
                "Next time you optimize this image, you could try to reduce the this setting for "
                "faster calculation." +
                br + "(perhaps a value about 19)");
  EXPECT_EQ(LogStartingWith(":  Optimization").rfind(":  Optimization done. ", 0), 0u);

  host.messages.clear();
  SmallRun("  .5 ", 6, 642, 22);  // 12 + 10 is not below 22
  Run(7, counts);
  EXPECT_EQ(Level1Found(), 2074);
  EXPECT_TRUE(host.messages.empty());

  SmallRun("  .5 ", 6, 642, 150);  // 729 results are not enough
  Run(6, counts);
  EXPECT_EQ(Level1Found(), 729);
  EXPECT_TRUE(host.messages.empty());
}

}  // namespace
}  // namespace halvane
