#include "workflow/optimize_points.h"

#include <algorithm>
#include <string>

#include "base/number_text.h"
#include "optimize/candidates.h"
#include "optimize/optimization_run.h"
#include "optimize/result_table.h"
#include "workflow/apply_colour.h"
#include "workflow/boost_highlights.h"
#include "workflow/choose_result.h"
#include "workflow/dome_display.h"
#include "workflow/median_cut_step.h"
#include "workflow/redraw.h"
#include "workflow/result_table_view.h"
#include "workflow/workflow.h"

namespace halvane {
namespace {

constexpr int kOptimizeStep = 5;
constexpr double kSecondsPerDay = 86400.0;

std::string Num(long long v) {
  return std::to_string(v);
}

// Seconds from `start` to `end` (times of day); a run that crosses midnight
// adds one day.
double ElapsedSeconds(double start, double end) {
  const double d = end - start;
  return d < 0 ? d + kSecondsPerDay : d;
}

// The preview before the search has a result: no point decided.
const SearchResult& NoResult() {
  static const SearchResult none{};
  return none;
}

// The window during a search: the progress in status panel 2 and the gauge,
// the preview, the events (where Abort is clicked) and the abort flag.
SearchObserver WindowObserver(Session& s, ControlModel& controls, Host& host) {
  SearchObserver o;
  o.status = [&controls](const std::string& text) { SetStatus(controls, 2, text); };
  o.gauge = [&controls](long long percent) { controls.GaugeOpt2.SetProgress(percent); };
  o.preview = [&s, &controls, &host](const SearchResult& result, uint32_t first, uint32_t last) {
    DrawOverlay(s, controls, host, true, true, first, last, result);
  };
  o.letEventsRun = [&host] { host.ProcessEvents(); };
  o.cancel = &s.abortRequested;
  return o;
}

class PointOptimization {
 public:
  PointOptimization(Session& s, ControlModel& controls, Host& host)
      : s_(s),
        controls_(controls),
        host_(host),
        observer_(WindowObserver(s, controls, host)),
        n_(s.dome.pointCount) {}

  StepOutcome Execute() {
    FindCandidates();
    OptimizationRun run(s_.dome, s_.results, s_.searchSettings, observer_);
    RunLevel1(run);
    if (!s_.abortRequested) {
      RunLevel(run, 2);
      if (!s_.abortRequested) RunLevel(run, 3);
    }
    return End(run.run());
  }

 private:
  void FindCandidates() {
    SetStatus(controls_, 0, "Optimize points...");
    SetStatus(controls_, 1, "Sorting points...");
    SetStatus(controls_, 2, "");
    const auto maxReduction = static_cast<uint8_t>(controls_.SpinOptMaxRed.value);
    SetStatus(controls_, 1, "Calculating Possible point Collapses...");
    SetStatus(controls_, 2, "");
    host_.ProcessEvents();

    const float threshold = ReadMaskedField(controls_.EditOptThreshold.text);
    ResetOptimizationFields(s_.dome);
    StatisticsPass(s_, controls_, host_);
    SyncDisplayChecks(s_, controls_);
    RedrawBackground(s_, controls_, host_);
    DrawOverlay(s_, controls_, host_, true, true, 1, n_, NoResult());
    host_.ProcessEvents();
    Progress progress;
    progress.report = [this](const std::string& text, double) {
      SetStatus(controls_, 2, text);
      host_.ProcessEvents();
    };
    BuildCandidates(s_.dome, {threshold, maxReduction}, progress);
    DrawOverlay(s_, controls_, host_, true, true, 1, n_, NoResult());
    SetStatus(controls_, 1, "Optimize LEVEL 1...");
  }

  void StartLevel(int level) {
    controls_.RadioLevelNr.itemIndex = level - 1;
    levelStart_ = host_.TimeOfDaySeconds();
  }

  void LogLevel(int level, const SearchRun& run) {
    const double seconds = ElapsedSeconds(levelStart_, host_.TimeOfDaySeconds());
    AddLogLine(controls_, host_,
               ":          Optimize LEVEL " + Num(level) + ":  " +
                   FormatFixed(seconds, 2, host_.GetNumberFormat(), true) + "sec.  " +
                   Num(s_.results.foundCount) + (level == 1 ? " opt. found. " : "  opt. found. ") +
                   Num(s_.results.abortedCount / 1024) + "k aborted. " + Num(run.minLights) +
                   " min lights found.");
  }

  void RunLevel1(OptimizationRun& run) {
    run.PrepareLevel1(static_cast<uint32_t>(controls_.SpinOptLevel1.value),
                      static_cast<uint32_t>(controls_.SpinOptLevel1_min.value));
    controls_.GaugeOpt2.SetProgress(0);
    StartLevel(1);
    run.SearchLevel(1);
    LogLevel(1, run.run());
    AdvisePause(run.run().minLights);
    if (controls_.CheckOptHalt1.checked) s_.abortRequested = true;
  }

  void AdvisePause(uint32_t minLights) {
    const int maxLights = controls_.SpinOptLevel1_min.value;
    if (!(static_cast<long long>(minLights) + 10 < maxLights && s_.results.foundCount > 1000))
      return;
    const std::string br = kMessageBreak;
    host_.ShowMessage("<pause after level 1>" + br + " " + br + Num(s_.results.foundCount) +
                      " optimizations were found after Level 1, that's pretty much." + br +
                      Num(minLights) + " min lights were found after Level 1," +
                      "and you have set " + Num(maxLights) +
                      " as a maximum of lights after level 1." + br + " " + br +
                      "Next time you optimize this image, you could try to reduce the this "
                      "setting for faster calculation." +
                      br + "(perhaps a value about " + Num(minLights + 7) + ")");
  }

  // Levels 2 and 3: refine the best results of the level before.
  void RunLevel(OptimizationRun& run, int level) {
    SetStatus(controls_, 1, "Optimize LEVEL " + Num(level) + "...");
    run.PrepareLevel(level);
    StartLevel(level);
    run.SearchLevel(level);
    LogLevel(level, run.run());
    controls_.GaugeOpt2.SetProgress(100);
  }

  void LogEnd(const char* what, const SearchRun& run) {
    AddLogLine(controls_, host_,
               std::string(":  Optimization ") + what + " " + Num(s_.results.foundCount) +
                   " found. " + Num(s_.results.abortedCount / 1024) + "k aborted. " +
                   Num(run.minLights) + " min lights. ");
  }

  StepOutcome End(const SearchRun& run) {
    controls_.GaugeOpt2.SetProgress(100);
    s_.workflowState = 5;
    SyncDisplayChecks(s_, controls_);
    SetStatus(controls_, 1, "Sorting optimizations found...");
    RankResults(s_.results, n_);
    ShowResultTable(s_.results, controls_, host_);
    s_.results.count = std::min(s_.results.count, kListedResults);
    ChooseResult(s_, controls_, host_);

    if (s_.abortRequested) {
      SetStatus(controls_, 0, "Optimize points aborted.");
      SetStatus(controls_, 1, "");
      SetStatus(controls_, 2, "");
      LogEnd("aborted.", run);
      DrawOverlay(s_, controls_, host_, false, false, 1, n_, s_.results.results[1]);
      SetBusy(controls_, false);
      return StepOutcome::Aborted();
    }
    SetStatus(controls_, 0, "Optimize points done.");
    SetStatus(controls_, 1, "");
    SetStatus(controls_, 2, "");
    LogEnd("done.", run);
    if (controls_.CheckDisplayFill.checked) RedrawBackground(s_, controls_, host_);
    if (s_.results.foundCount == 0) {
      ResetOptimizationFields(s_.dome);
      StatisticsPass(s_, controls_, host_);
      SyncDisplayChecks(s_, controls_);
      RedrawBackground(s_, controls_, host_);
      DrawOverlay(s_, controls_, host_, true, true, 1, n_, run.current);
    } else {
      DrawOverlay(s_, controls_, host_, true, true, 1, n_,
                  ResultForRow(s_.results, controls_.GridOptimized.selectedRow));
      MarkStepDone(controls_, kOptimizeStep);
    }
    SetBusy(controls_, false);
    return StepOutcome::Done();
  }

  Session& s_;
  ControlModel& controls_;
  Host& host_;
  SearchObserver observer_;
  uint32_t n_;
  double levelStart_ = 0;
};

}  // namespace

StepOutcome OptimizePoints(Session& s, ControlModel& controls, Host& host) {
  s.abortRequested = false;
  if (s.workflowState < 1) return StepOutcome::NotRun("Load an image first.");
  if (s.workflowState < 3) {
    if (controls.CheckLumIncrease.checked) {
      BoostHighlights(s, controls, host);
    } else {
      ApplyColour(s, controls, host);
    }
    if (s.workflowState < 3) return StepOutcome::NotRun("Apply colours first.");
  }
  LeaveMedianCut(s, controls);
  s.workflowState = 4;
  SetBusy(controls, true);
  return PointOptimization(s, controls, host).Execute();
}

}  // namespace halvane
