// The whole default "Optimize points" run, with the literal level search
// (one thread) and with the parallel one (1, 2 and all threads), on:
// - real 1024 x 512 environments: the sample image data/sky.hdr and the
//   worlds of Blender's studio lights (blender-data), converted to .hdr by
//   oiiotool into a temporary folder when a benchmark first needs them;
// - generated noisy skies: 642 points of a 256 x 128 sky with 3% and 8%
//   grain per pixel, with the controls of the tests.
// Each parallel run's outcome (records, counts, seeds, table, log lines
// without their seconds) is compared with the literal run of its
// environment (or the first run when the literal one was filtered out), and
// a difference fails the benchmark. Counters per level: wall and process
// CPU seconds and their ratio (cores busy), visits of the literal search,
// visits walked (the rest replayed from the memo), memo lookups and hits,
// and the longest single walk's share of the level's walked visits; for the
// run: wall and CPU seconds and the speed-up over the literal run.
// Run from the build folder or anywhere: the sample image is found from this
// file's path.
#include <benchmark/benchmark.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "bench_support.h"
#include "optimize/search_settings.h"
#include "support/optimize_fixtures.h"
#include "workflow/optimize_points.h"

namespace halvane {
namespace {

namespace fs = std::filesystem;
using testing::DomeRun;

const char kBlenderWorlds[] = "/usr/share/blender/datafiles/studiolights/world";

// Where the converted worlds go; removed when the benchmarks end.
class TempFolder {
 public:
  const fs::path& Path() {
    if (path_.empty()) {
      std::string pattern = (fs::temp_directory_path() / "halvane-bench-XXXXXX").string();
      if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
    }
    return path_;
  }
  ~TempFolder() {
    std::error_code ignored;
    if (!path_.empty()) fs::remove_all(path_, ignored);
  }

 private:
  fs::path path_;
};

TempFolder& Temp() {
  static TempFolder folder;
  return folder;
}

// `exr` as a 1024 x 512 Radiance file in the temporary folder; "" when it
// cannot be made.
std::string ConvertWorld(const fs::path& exr) {
  if (Temp().Path().empty()) return "";
  const fs::path hdr = Temp().Path() / (exr.stem().string() + ".hdr");
  if (fs::exists(hdr)) return hdr.string();
  const std::string command =
      "oiiotool '" + exr.string() + "' --resize 1024x512 -o '" + hdr.string() + "' 2>/dev/null";
  if (std::system(command.c_str()) != 0 || !fs::exists(hdr)) return "";
  return hdr.string();
}

struct Environment {
  std::string name;
  std::function<std::unique_ptr<DomeRun>()> make;  // null when it cannot be made
};

std::unique_ptr<DomeRun> NoisySky(float grain) {
  std::unique_ptr<DomeRun> dome = testing::MakeDome(4, testing::Sky(grain));
  testing::OptimizeControls{}.ApplyTo(dome->controls);
  return dome;
}

std::vector<Environment> MakeEnvironments() {
  std::vector<Environment> list;
  const std::string sample =
      (fs::path(__FILE__).parent_path().parent_path() / "data" / "sky.hdr").string();
  list.push_back({"sample", [sample] { return testing::ImageDome(sample, 4); }});
  std::vector<fs::path> worlds;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(kBlenderWorlds, error))
    if (entry.path().extension() == ".exr") worlds.push_back(entry.path());
  std::sort(worlds.begin(), worlds.end());
  for (const fs::path& exr : worlds)
    list.push_back({"world:" + exr.stem().string(), [exr]() -> std::unique_ptr<DomeRun> {
                      const std::string hdr = ConvertWorld(exr);
                      return hdr.empty() ? nullptr : testing::ImageDome(hdr, 4);
                    }});
  list.push_back({"sky3%", [] { return NoisySky(0.03f); }});
  list.push_back({"sky8%", [] { return NoisySky(0.08f); }});
  return list;
}

const std::vector<Environment>& Environments() {
  static const std::vector<Environment> list = MakeEnvironments();
  return list;
}

double ProcessCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// The observable outcome of a run, as text: the log lines lose their
// seconds, the only part that differs from run to run.
std::string OutcomeText(const DomeRun& run) {
  const SearchResults& r = run.s.results;
  std::string text(reinterpret_cast<const char*>(r.results.items), sizeof r.results.items);
  text.append(reinterpret_cast<const char*>(r.seeds.items), sizeof r.seeds.items);
  text += std::to_string(r.count) + "/" + std::to_string(r.seedCount) + "/" +
          std::to_string(r.foundCount) + "/" + std::to_string(r.abortedCount) + "\n";
  for (const auto& row : run.controls.GridOptimized.cells)
    for (const std::string& cell : row) text += cell + "\t";
  for (std::string line : run.controls.ListBox1.items) {
    const std::size_t sec = line.find("sec.");
    if (sec != std::string::npos) {
      const std::size_t from = line.rfind(' ', sec) + 1;
      line.erase(from, sec - from);
    }
    text += line + "\n";
  }
  return text;
}

// Two hashes of the outcome text: a difference shows in them.
std::pair<std::size_t, std::size_t> Outcome(const DomeRun& run) {
  const std::string text = OutcomeText(run);
  return {std::hash<std::string>{}(text), std::hash<std::string>{}(text + "halvane")};
}

struct Reference {
  std::pair<std::size_t, std::size_t> outcome;
  bool known = false;
  double wallSeconds = 0;
  bool literal = false;
};

std::map<std::string, Reference>& References() {
  static std::map<std::string, Reference> references;
  return references;
}

void CountLevels(const SearchStatistics& s, benchmark::State& state) {
  for (int level = 1; level <= 3; ++level) {
    const std::string l = "L" + std::to_string(level) + "_";
    state.counters[l + "wall_s"] = s.wallSeconds[level];
    state.counters[l + "cpu_s"] = s.cpuSeconds[level];
    state.counters[l + "cores"] =
        s.wallSeconds[level] > 0 ? s.cpuSeconds[level] / s.wallSeconds[level] : 0;
    state.counters[l + "visits"] = static_cast<double>(s.visits[level]);
    state.counters[l + "walked"] = static_cast<double>(s.walked[level]);
    state.counters[l + "memo_lookups"] = static_cast<double>(s.memoLookups[level]);
    state.counters[l + "memo_hits"] = static_cast<double>(s.memoHits[level]);
    state.counters[l + "largest_task_%"] = s.walked[level] > 0
                                               ? 100.0 * static_cast<double>(s.largestTask[level]) /
                                                     static_cast<double>(s.walked[level])
                                               : 0;
  }
}

// Argument 0: the environment; 1: the threads, -1 for the literal search.
void BM_OptimizePoints(benchmark::State& state) {
  const Environment& env = Environments()[static_cast<std::size_t>(state.range(0))];
  const int threads = static_cast<int>(state.range(1));
  const bool literal = threads < 0;
  SearchStatistics statistics;
  for (auto _ : state) {
    state.PauseTiming();
    std::unique_ptr<DomeRun> run = env.make();
    if (!run) {
      state.SkipWithError("the environment cannot be made");
      break;
    }
    statistics = SearchStatistics{};
    run->s.searchSettings = {
        .threads = literal ? 1 : threads, .literal = literal, .statistics = &statistics};
    bench::ClockHost host;
    state.ResumeTiming();
    const double cpu = ProcessCpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    OptimizePoints(run->s, run->controls, host);
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double cpuSeconds = ProcessCpuSeconds() - cpu;
    state.PauseTiming();
    CountLevels(statistics, state);
    state.counters["run_wall_s"] = wall;
    state.counters["run_cpu_s"] = cpuSeconds;
    state.counters["found"] = run->s.results.foundCount;
    Reference& reference = References()[env.name];
    const auto outcome = Outcome(*run);
    if (!reference.known) {
      reference = {outcome, true, wall, literal};
    } else if (outcome != reference.outcome) {
      state.SkipWithError("the outcome differs from the reference run");
      break;
    }
    if (reference.literal && !literal) state.counters["speedup"] = reference.wallSeconds / wall;
    run.reset();
    state.ResumeTiming();
  }
  state.SetLabel(env.name + (literal ? " literal"
                                     : " threads=" + std::to_string(threads) +
                                           (threads == 0 ? " (all)" : "")));
}

// The literal runs first (once each: on the generated skies they take
// minutes), then the parallel ones, three times each for their medians.
void LiteralArguments(benchmark::internal::Benchmark* b) {
  for (std::size_t env = 0; env < Environments().size(); ++env)
    b->Args({static_cast<int64_t>(env), -1});
}
void ParallelArguments(benchmark::internal::Benchmark* b) {
  for (std::size_t env = 0; env < Environments().size(); ++env)
    for (int threads : {1, 2, 0}) b->Args({static_cast<int64_t>(env), threads});
}
BENCHMARK(BM_OptimizePoints)
    ->Name("BM_OptimizePoints/literal")
    ->Apply(LiteralArguments)
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();
BENCHMARK(BM_OptimizePoints)
    ->Name("BM_OptimizePoints/parallel")
    ->Apply(ParallelArguments)
    ->Iterations(1)
    ->Repetitions(3)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();

// The window's Abort during a long run: the abort is requested `range(0)`
// milliseconds into the run on the 8% sky (level 2 by then), from another
// thread as the window's button does; the counter is the time from the
// request to the step's return.
void BM_AbortLatency(benchmark::State& state) {
  const Environment& env = Environments().back();
  for (auto _ : state) {
    state.PauseTiming();
    std::unique_ptr<DomeRun> run = env.make();
    bench::ClockHost host;
    state.ResumeTiming();
    std::chrono::steady_clock::time_point requested;
    std::thread button([&] {
      std::this_thread::sleep_for(std::chrono::milliseconds(state.range(0)));
      requested = std::chrono::steady_clock::now();
      run->s.abortRequested = true;
    });
    OptimizePoints(run->s, run->controls, host);
    const auto returned = std::chrono::steady_clock::now();
    button.join();
    state.counters["abort_to_return_ms"] =
        returned > requested
            ? std::chrono::duration<double, std::milli>(returned - requested).count()
            : 0;
  }
  state.SetLabel(env.name);
}
BENCHMARK(BM_AbortLatency)
    ->Arg(1000)
    ->Arg(2500)
    ->Iterations(1)
    ->Repetitions(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
}  // namespace halvane
