// "Optimize points" with the literal level search and with the parallel one
// (1, 2 and all threads) on the same domes of 642 points: generated skies
// with 3% and 8% grain and the sample image when it is there, halted after
// level 1, and the sample image through all three levels. Counters: seconds per level
// (from the run's own log lines, timed by a clock host), visits per second
// of the search, and the speed-up over the literal search on that dome.
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "bench_support.h"
#include "optimize/search_settings.h"
#include "support/optimize_fixtures.h"
#include "workflow/apply_colour.h"
#include "workflow/load_image.h"
#include "workflow/optimize_points.h"
#include "workflow/place_points.h"
#include "workflow/workflow.h"

namespace halvane {
namespace {

using bench::ClockHost;
using testing::DomeRun;

const char* const kDomeNames[] = {"sky3%", "sky8%", "sample", "sample all levels"};

std::string SamplePath() {
  return (std::filesystem::path(__FILE__).parent_path().parent_path() / "data" / "sky.hdr")
      .string();
}

// The sample image with points and colours; null when the file cannot be
// read.
std::unique_ptr<DomeRun> SampleDome() {
  auto run = std::make_unique<DomeRun>();
  run->host.AnswerDialog(SamplePath());
  LoadImage(run->s, run->controls, run->host);
  if (run->s.imageMissing) return nullptr;
  run->controls.SpinPointIteration.value = 4;
  ProposeSearchSettings(run->s, run->controls);
  PlacePoints(run->s, run->controls, run->host);
  ApplyColour(run->s, run->controls, run->host);
  return run;
}

// Dome 0: sky with 3% grain, 1: 8% grain, 2: the sample image halted after
// level 1, 3: the sample image through all levels; the default settings,
// halted after level 1 unless on dome 3: later levels on the generated
// skies keep the literal search busy for minutes.
std::unique_ptr<DomeRun> MakeBenchDome(int which) {
  std::unique_ptr<DomeRun> dome =
      which < 2 ? testing::MakeDome(4, testing::Sky(which == 0 ? 0.03f : 0.08f)) : SampleDome();
  if (!dome) return nullptr;
  testing::OptimizeControls c;
  c.haltAfterLevel1 = which != 3;
  c.ApplyTo(dome->controls);
  return dome;
}

std::map<int, double>& LiteralSeconds() {
  static std::map<int, double> seconds;
  return seconds;
}

// The seconds of each level that logged a line, read back from the log.
void CountLevelSeconds(const ControlModel& controls, benchmark::State& state) {
  for (int level = 1; level <= 3; ++level)
    if (const auto figures = bench::ReadLevel(controls, level))
      state.counters["level" + std::to_string(level) + "_s"] = figures->seconds;
}

void BM_OptimizePoints(benchmark::State& state) {
  const int which = static_cast<int>(state.range(0));
  const int threads = static_cast<int>(state.range(1));  // -1: literal
  state.SetLabel(std::string(kDomeNames[which]) +
                 (threads < 0 ? " literal" : " threads=" + std::to_string(threads)));
  SearchStatistics statistics;
  double seconds = 0;
  for (auto _ : state) {
    state.PauseTiming();
    std::unique_ptr<DomeRun> run = MakeBenchDome(which);
    if (!run) {
      state.SkipWithError("no sample image");
      break;
    }
    run->s.searchSettings = {threads < 0 ? 1 : threads, threads < 0, &statistics};
    ClockHost host;
    state.ResumeTiming();
    const auto start = std::chrono::steady_clock::now();
    OptimizePoints(run->s, run->controls, host);
    seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.PauseTiming();
    CountLevelSeconds(run->controls, state);
    state.counters["found"] = run->s.results.foundCount;
    run.reset();
    state.ResumeTiming();
  }
  if (threads < 0) {
    LiteralSeconds()[which] = seconds;
    return;
  }
  const double visits =
      static_cast<double>(statistics.visits[1] + statistics.visits[2] + statistics.visits[3]);
  state.counters["visits/s"] = visits / seconds;
  state.counters["subtrees"] =
      static_cast<double>(statistics.subtrees[1] + statistics.subtrees[2] + statistics.subtrees[3]);
  state.counters["splits"] =
      static_cast<double>(statistics.splits[1] + statistics.splits[2] + statistics.splits[3]);
  if (LiteralSeconds().count(which) != 0)
    state.counters["speedup"] = LiteralSeconds()[which] / seconds;
}

void Arguments(benchmark::internal::Benchmark* b) {
  for (int dome : {0, 1, 2, 3})
    for (int threads : {-1, 1, 2, 0}) b->Args({dome, threads});
}
BENCHMARK(BM_OptimizePoints)->Apply(Arguments)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
}  // namespace halvane
