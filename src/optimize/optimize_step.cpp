#include "optimize/optimize_step.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

#include "base/number_text.h"
#include "optimize/candidates.h"
#include "optimize/literal_search.h"
#include "optimize/parallel_search.h"
#include "optimize/result_table.h"
#include "optimize/search_settings.h"
#include "workflow/apply_colour.h"
#include "workflow/boost_highlights.h"
#include "workflow/dome_display.h"
#include "workflow/redraw.h"
#include "workflow/workflow.h"

namespace halvane {
namespace {

constexpr double kSecondsPerDay = 86400.0;
constexpr int kLevel2Seeds = 50;
constexpr int kLevel3Seeds = 100;
constexpr uint16_t kTableRows = 100;
const char kBreak[] = "\n\r";

std::string Num(long long v) {
  return std::to_string(v);
}

class OptimizationRun {
 public:
  OptimizationRun(Session& s, ControlModel& controls, Host& host, const SearchSettings& settings)
      : s_(s),
        controls_(controls),
        host_(host),
        search_(s, controls, host),
        parallel_(s, controls, host, search_, ResolveThreadCount(settings.threads),
                  settings.forcedSplitSteps),
        literal_(settings.literal),
        statistics_(settings.statistics),
        n_(s.dome.pointCount) {}

  void Execute() {
    FindCandidates();
    RunLevel1();
    if (!s_.abortRequested) {
      RunLevel2();
      if (!s_.abortRequested) RunLevel3();
    }
    End();
  }

 private:
  void Redraw(bool background) {
    if (background) RedrawBackground(s_, controls_, host_);
    search_.ShowCurrent();
  }

  void FindCandidates() {
    SetStatus(controls_, 0, "Optimize points...");
    SetStatus(controls_, 1, "Sorting points...");
    SetStatus(controls_, 2, "");
    const auto maxReduction = static_cast<uint8_t>(controls_.SpinOptMaxRed.value);
    SetStatus(controls_, 1, "Calculating Possible point Collapses...");
    SetStatus(controls_, 2, "");
    host_.ProcessEvents();

    const float threshold = ParseThreshold(controls_.EditOptThreshold.text);
    ResetOptimizationFields(s_);
    StatisticsPass(s_, controls_, host_);
    SyncDisplayChecks(s_, controls_);
    RedrawBackground(s_, controls_, host_);
    DrawOverlay(s_, controls_, host_, true, true, 1, n_, search_.Current);
    host_.ProcessEvents();
    BuildCandidates(s_, controls_, host_, threshold, maxReduction);
    DrawOverlay(s_, controls_, host_, true, true, 1, n_, search_.Current);
    SetStatus(controls_, 1, "Optimize LEVEL 1...");
    if (!literal_) parallel_.PrepareRun();
  }

  void StartLevel(int item) {
    controls_.RadioLevelNr.itemIndex = item - 1;
    levelStart_ = host_.TimeOfDaySeconds();
  }

  void LogLevel(int level) {
    const double seconds = ElapsedSeconds(levelStart_, host_.TimeOfDaySeconds());
    AddLogLine(controls_, host_,
               ":          Optimize LEVEL " + Num(level) + ":  " +
                   FormatFixed(seconds, 2, host_.GetNumberFormat(), true) + "sec.  " +
                   Num(s_.results.foundCount) + (level == 1 ? " opt. found. " : "  opt. found. ") +
                   Num(s_.results.abortedCount / 1024) + "k aborted. " + Num(search_.MinLights) +
                   " min lights found.");
  }

  void SetLevel1Parameters() {
    LevelSearch& r = search_;
    const auto l1 = static_cast<uint32_t>(controls_.SpinOptLevel1.value);
    const auto m = static_cast<uint32_t>(controls_.SpinOptLevel1_min.value);
    switch (s_.dome.subdivLevel) {
      case 3:
        s_.results.results[1] = r.Current;
        s_.results.count = 1;
        SetLevelValues(0, 500, 4, {500, 500, 500, 500, 500});
        break;
      case 4:
        SetLevelValues(l1, m, 4,
                       {2 * m + 100, 2 * m + 50, m + 50, m + 55,
                        static_cast<uint32_t>(std::nearbyint(m / 1.4L)) + 30});
        break;
      case 5:
        SetLevelValues(l1, m, 5, {390, 450, 330, 300, 195});
        break;
      default:
        r.LastIndex = 50;
        break;
    }
  }

  struct Bounds {
    uint32_t all, half, third, fifth, tenth;
  };

  void SetLevelValues(uint32_t last, uint32_t limit, uint8_t minLevel, Bounds b) {
    LevelSearch& r = search_;
    r.LastIndex = last;
    r.LightLimit = limit;
    r.MinLevel = minLevel;
    r.BoundAll = b.all;
    r.BoundHalf = b.half;
    r.BoundThird = b.third;
    r.BoundFifth = b.fifth;
    r.BoundTenth = b.tenth;
  }

  void RunLevel1() {
    LevelSearch& r = search_;
    s_.results.foundCount = 0;
    s_.results.count = 0;
    s_.results.abortedCount = 0;
    r.MinLights = n_;
    r.SeedLabel = "1/1  ";
    r.Current = SearchResult{};
    for (uint32_t i = 1; i <= n_; ++i) r.Current.decision[i] = 1;
    r.RunLights = 0;
    r.ProgressIndex = 0;
    r.FirstIndex = 1;
    s_.results.seedCount = 1;
    r.SeedIndex = 1;
    r.FirstFree = 1;
    SetLevel1Parameters();
    for (uint32_t i = 1; i <= n_; ++i) s_.dome.points[i].level = s_.dome.points[i].maxLevel;
    controls_.GaugeOpt2.SetProgress(0);
    StartLevel(1);
    if (s_.dome.subdivLevel == 4 || s_.dome.subdivLevel == 5) {
      if (UseLiteral(1)) {
        r.Run(1, 1);
      } else {
        parallel_.RunLevel(1, 1, {SearchSeed{r.Current, 0, WorkingLevels(s_)}});
        Measure(1);
      }
    }
    LogLevel(1);
    AdvisePause();
    if (controls_.CheckOptHalt1.checked) s_.abortRequested = true;
  }

  void AdvisePause() {
    const int maxLights = controls_.SpinOptLevel1_min.value;
    if (!(static_cast<long long>(search_.MinLights) + 10 < maxLights &&
          s_.results.foundCount > 1000))
      return;
    const std::string br = kBreak;
    host_.ShowMessage("<pause after level 1>" + br + " " + br + Num(s_.results.foundCount) +
                      " optimizations were found after Level 1, that's pretty much." + br +
                      Num(search_.MinLights) + " min lights were found after Level 1," +
                      "and you have set " + Num(maxLights) +
                      " as a maximum of lights after level 1." + br + " " + br +
                      "Next time you optimize this image, you could try to reduce the this "
                      "setting for faster calculation." +
                      br + "(perhaps a value about " + Num(search_.MinLights + 7) + ")");
  }

  // Copies the first results into the seeds, with each seed's starting light
  // count over points 1..upTo.
  void TakeSeeds(int maxSeeds, uint32_t upTo) {
    s_.results.seedCount = static_cast<uint16_t>(std::min<int>(maxSeeds, s_.results.count));
    FillOptimizationTable(s_, controls_, host_, false);
    for (uint16_t i = 1; i <= s_.results.seedCount; ++i) {
      s_.results.seeds[i] = s_.results.results[i];
      seedLights_[i] = static_cast<uint32_t>(LightsUpTo(s_.results.seeds[i], upTo));
    }
    search_.MinLights = n_;
    s_.results.foundCount = 0;
    s_.results.count = 0;
  }

  // The parallel search needs collapses of level 2 or more; other minimum
  // levels never occur with the level values above.
  bool UseLiteral(int level) const { return literal_ || (level != 3 && search_.MinLevel < 2); }

  void RefineSeeds(int level, uint32_t prepareFrom, uint32_t searchFrom) {
    StartLevel(level);
    if (UseLiteral(level)) {
      RefineSeedsLiterally(level, prepareFrom, searchFrom);
    } else {
      RefineSeedsInParallel(level, prepareFrom, searchFrom);
    }
    LogLevel(level);
    controls_.GaugeOpt2.SetProgress(100);
  }

  // Prepares every seed in order, as the literal loop does (the working
  // levels and FirstFree carry from seed to seed), then searches them all.
  void RefineSeedsInParallel(int level, uint32_t prepareFrom, uint32_t searchFrom) {
    LevelSearch& r = search_;
    std::vector<SearchSeed> seeds(s_.results.seedCount);
    for (uint16_t i = 1; i <= s_.results.seedCount; ++i) {
      r.Current = s_.results.seeds[i];
      r.PrepareSeed(prepareFrom, r.LastIndex);
      seeds[i - 1] = SearchSeed{r.Current, static_cast<int32_t>(seedLights_[i]), WorkingLevels(s_)};
    }
    if (seeds.empty()) return;
    parallel_.RunLevel(level, searchFrom, seeds);
    Measure(level);
  }

  void Measure(int level) {
    if (statistics_ == nullptr) return;
    statistics_->visits[level] = parallel_.Visits();
    statistics_->subtrees[level] = parallel_.Subtrees();
    statistics_->splits[level] = parallel_.Splits();
  }

  void RefineSeedsLiterally(int level, uint32_t prepareFrom, uint32_t searchFrom) {
    LevelSearch& r = search_;
    for (uint16_t i = 1; i <= s_.results.seedCount; ++i) {
      r.SeedIndex = i;
      r.SeedLabel = Num(i) + "/" + Num(s_.results.seedCount) + "  ";
      r.Current = s_.results.seeds[i];
      r.RunLights = seedLights_[i];
      r.PrepareSeed(prepareFrom, r.LastIndex);
      if (searchFrom > r.LastIndex) {
        r.Leaf();  // nothing left to decide: the seed is a finished result
      } else {
        r.Run(level, searchFrom);
      }
    }
  }

  void RunLevel2() {
    LevelSearch& r = search_;
    SetStatus(controls_, 1, "Optimize LEVEL 2...");
    r.FirstIndex = r.LastIndex;
    TakeSeeds(kLevel2Seeds, r.FirstIndex);
    switch (s_.dome.subdivLevel) {
      case 3:
        SetLevelValues(100, 100, 2, {100, 80, r.BoundThird, r.BoundFifth, r.BoundTenth});
        break;
      case 4:
      case 5:
        SetLevelValues(
            n_, 180, s_.dome.subdivLevel == 4 ? 3 : 4,
            {185, s_.dome.subdivLevel == 4 ? 200u : 80u, r.BoundThird, r.BoundFifth, r.BoundTenth});
        break;
      default:
        r.LastIndex = 50;
        break;
    }
    RefineSeeds(2, r.FirstIndex + 1, r.FirstIndex + 1);
  }

  void RunLevel3() {
    LevelSearch& r = search_;
    SetStatus(controls_, 1, "Optimize LEVEL 3...");
    TakeSeeds(kLevel3Seeds, 0);
    r.FirstIndex = 1;
    r.LastIndex = n_;
    if (s_.dome.subdivLevel >= 3 && s_.dome.subdivLevel <= 5) r.LightLimit = 130;
    RefineSeeds(3, 1, 1);
  }

  void LogEnd(const char* what) {
    AddLogLine(controls_, host_,
               std::string(":  Optimization ") + what + " " + Num(s_.results.foundCount) +
                   " found. " + Num(s_.results.abortedCount / 1024) + "k aborted. " +
                   Num(search_.MinLights) + " min lights. ");
  }

  void End() {
    controls_.GaugeOpt2.SetProgress(100);
    s_.workflowState = 5;
    SyncDisplayChecks(s_, controls_);
    SetStatus(controls_, 1, "Sorting optimizations found...");
    FillOptimizationTable(s_, controls_, host_, true);
    s_.results.count = std::min(s_.results.count, kTableRows);
    GridOptimizedClick(s_, controls_, host_);

    if (s_.abortRequested) {
      SetStatus(controls_, 0, "Optimize points aborted.");
      SetStatus(controls_, 1, "");
      SetStatus(controls_, 2, "");
      LogEnd("aborted.");
      DrawOverlay(s_, controls_, host_, false, false, 1, n_, s_.results.results[1]);
      SetBusy(controls_, false);
      return;
    }
    SetStatus(controls_, 0, "Optimize points done.");
    SetStatus(controls_, 1, "");
    SetStatus(controls_, 2, "");
    LogEnd("done.");
    if (controls_.CheckDisplayFill.checked) RedrawBackground(s_, controls_, host_);
    if (s_.results.foundCount == 0) {
      ResetOptimizationFields(s_);
      StatisticsPass(s_, controls_, host_);
      SyncDisplayChecks(s_, controls_);
      RedrawBackground(s_, controls_, host_);
      DrawOverlay(s_, controls_, host_, true, true, 1, n_, search_.Current);
    } else {
      DrawOverlay(s_, controls_, host_, true, true, 1, n_,
                  RecordForRow(s_, controls_.GridOptimized.selectedRow));
      MarkStepDone(controls_, 5);
    }
    SetBusy(controls_, false);
  }

  Session& s_;
  ControlModel& controls_;
  Host& host_;
  LevelSearch search_;
  ParallelSearch parallel_;
  bool literal_;
  SearchStatistics* statistics_;
  uint32_t n_;
  double levelStart_ = 0;
  FixedArray<uint32_t, kSeedCapacity + 1> seedLights_{};
};

}  // namespace

double ElapsedSeconds(double start, double end) {
  const double d = end - start;
  return d < 0 ? d + kSecondsPerDay : d;
}

void ButtonOptimizeClick(Session& s, ControlModel& controls, Host& host) {
  ButtonOptimizeClick(s, controls, host, DefaultSearchSettings());
}

void ButtonOptimizeClick(Session& s, ControlModel& controls, Host& host,
                         const SearchSettings& settings) {
  s.abortRequested = false;
  if (s.workflowState < 1) return;
  if (s.workflowState < 3) {
    if (controls.CheckLumIncrease.checked) {
      BoostHighlights(s, controls, host);
    } else {
      ApplyColour(s, controls, host);
    }
    if (s.workflowState < 3) return;  // the colours could not be applied
  }
  s.workflowState = 4;
  SetBusy(controls, true);
  auto run = std::make_unique<OptimizationRun>(s, controls, host, settings);
  run->Execute();
}

}  // namespace halvane
