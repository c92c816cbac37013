// The whole default "Optimize points" run (candidates and levels 1 to 3, the
// table and the choice) on a 642-point dome of a generated 512 x 256 sky: a
// dark smooth ground, a sky brighter towards the zenith, a sun, and blocks of
// noise of amplitude 1.5. Smoother skies make level 2 run for minutes, much
// noisier ones leave it nothing to find; this one finds results in all three
// levels within seconds. Measured with the literal search and with the
// default (parallel) one. Counters: seconds per level from the run's own log
// lines (timed by a real clock), results per level, and search visits per
// second: counted by the parallel search, and as a lower bound (cut branches
// plus accepted results) for both.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "bench_support.h"
#include "optimize/search_settings.h"
#include "support/optimize_fixtures.h"
#include "workflow/apply_colour.h"
#include "workflow/optimize_points.h"
#include "workflow/workflow.h"

namespace halvane {
namespace {

constexpr int kWidth = 512, kHeight = 256;
constexpr float kNoise = 1.5f;

using bench::ClockHost;

struct SkyDome {
  SkyDome() {
    StartSession(s, controls, host);
    s.image.width = kWidth;
    s.image.height = kHeight;
    s.image.pixels.resize(static_cast<std::size_t>(kWidth) * kHeight * 3);
    const testing::Environment world = testing::World(kNoise, kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x)
        for (int k = 0; k < 3; ++k)
          s.image.pixels[3 * (static_cast<std::size_t>(y) * kWidth + x) + k] = world(x, y);
    s.imageMissing = false;
    s.workflowState = 1;
    controls.SpinPointIteration.value = 4;
    ApplyColour(s, controls, host);
  }
  std::unique_ptr<Session> session = MakeSession();
  Session& s = *session;
  ControlModel controls;
  ClockHost host;
};

void BM_OptimizeRunSky642(benchmark::State& state) {
  static SkyDome dome;
  SearchStatistics statistics;
  SearchSettings& settings = dome.s.searchSettings;
  settings.literal = state.range(0) == 1;
  settings.statistics = &statistics;
  double levelSeconds[4] = {}, found[4] = {}, cutsAndResults = 0, visits = 0, searchSeconds = 0;
  for (auto _ : state) {
    dome.controls.ListBox1.items.clear();
    statistics = SearchStatistics{};
    OptimizePoints(dome.s, dome.controls, dome.host);
    for (int level = 1; level <= 3; ++level) {
      const bench::LevelFigures f =
          bench::ReadLevel(dome.controls, level).value_or(bench::LevelFigures{});
      levelSeconds[level] += f.seconds;
      found[level] += f.found;
      cutsAndResults += f.found;
      searchSeconds += f.seconds;
      visits += static_cast<double>(statistics.visits[level]);
    }
    cutsAndResults += dome.s.results.abortedCount;
  }
  if (dome.s.dome.pointCount != 642 || found[3] == 0) state.SkipWithError("the run found nothing");
  const auto perRun = benchmark::Counter::kAvgIterations;
  for (int level = 1; level <= 3; ++level) {
    state.counters["level" + std::to_string(level) + "_s"] =
        benchmark::Counter(levelSeconds[level], perRun);
    state.counters["found" + std::to_string(level)] = benchmark::Counter(found[level], perRun);
  }
  state.counters["visits_per_s_min"] = cutsAndResults / searchSeconds;
  if (!settings.literal) state.counters["visits_per_s"] = visits / searchSeconds;
  state.SetLabel(settings.literal ? "literal" : "parallel");
}
BENCHMARK(BM_OptimizeRunSky642)->Arg(1)->Arg(0)->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace halvane
