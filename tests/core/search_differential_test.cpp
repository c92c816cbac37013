// The parallel level search against the literal one: on generated domes of
// 162 and 642 points, with 1, 2 and 8 threads and with walks forced to split,
// every observable result of a whole "Optimize points" run must be the same
// bit for bit.
#include <gtest/gtest.h>

#include <chrono>
#include <iostream>

#include "support/optimize_fixtures.h"
#include "workflow/optimize_points.h"

namespace halvane::testing {
namespace {

struct DomeCase {
  const char* name;
  int resolution;
  Environment environment;
  OptimizeControls controls;
  uint32_t splitSteps;  // forced splits: a few hundred to a few thousand on this dome
};

void PrintTo(const DomeCase& c, std::ostream* os) {
  *os << c.name;
}

class SearchDifferential : public ::testing::TestWithParam<DomeCase> {
 protected:
  std::unique_ptr<DomeRun> Run(const SearchSettings& settings) const {
    const DomeCase& c = GetParam();
    std::unique_ptr<DomeRun> dome = MakeDome(c.resolution, c.environment);
    c.controls.ApplyTo(dome->controls);
    dome->s.searchSettings = settings;
    const auto start = std::chrono::steady_clock::now();
    OptimizePoints(dome->s, dome->controls, dome->host);
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
    std::cout << c.name << ": " << (settings.literal ? 0 : settings.threads) << " threads, split "
              << settings.forcedSplitSteps << ": " << seconds.count() << " s, found "
              << dome->s.results.foundCount << "\n";
    return dome;
  }
};

TEST_P(SearchDifferential, EveryThreadCountGivesTheLiteralOutcome) {
  const uint32_t split = GetParam().splitSteps;
  const std::unique_ptr<DomeRun> literal = Run({.literal = true});
  ASSERT_EQ(literal->s.workflowState, 5);
  struct Variant {
    int threads;
    uint32_t splitSteps;
  };
  for (const Variant v : {Variant{1, 0}, Variant{2, 0}, Variant{8, 0}, Variant{1, split},
                          Variant{2, split * 2}, Variant{8, split}}) {
    SCOPED_TRACE(::testing::Message() << v.threads << " threads, split after " << v.splitSteps);
    SearchStatistics statistics;
    const std::unique_ptr<DomeRun> parallel =
        Run({.threads = v.threads, .statistics = &statistics, .forcedSplitSteps = v.splitSteps});
    ExpectSameOutcome(*literal, *parallel);
    if (v.splitSteps > 0) {
      EXPECT_GT(statistics.splits[1] + statistics.splits[2] + statistics.splits[3], 0u);
    }
  }
}

OptimizeControls Controls(int maxReduction, int points, int maxLights, std::string threshold,
                          bool halt) {
  return {std::move(threshold), maxReduction, points, maxLights, halt};
}

INSTANTIATE_TEST_SUITE_P(
    Domes162, SearchDifferential,
    ::testing::Values(
        DomeCase{"noisysky162", 3, Sky(0.08f), Controls(4, 275, 50, "  .5 ", false), 4096},
        DomeCase{"gradient162", 3, Gradient(), Controls(5, 275, 50, "  .5 ", false), 512},
        DomeCase{"sky162", 3, Sky(0.03f), Controls(4, 275, 50, "  .5 ", false), 4096},
        DomeCase{"patches162", 3, Patches(0.6f, 7), Controls(4, 275, 50, "  .3 ", false), 64}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Domes642, SearchDifferential,
    ::testing::Values(
        DomeCase{"uniform642", 4, Uniform(1.0f), Controls(4, 100, 30, "  .5 ", true), 4096},
        DomeCase{"gradient642", 4, Gradient(), Controls(4, 100, 40, " 1.  ", true), 2},
        DomeCase{"sky642", 4, Sky(0.03f), Controls(4, 150, 40, "  .5 ", true), 32},
        DomeCase{"patches642", 4, Patches(0.3f, 3), Controls(4, 100, 40, "  .4 ", true), 256}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace halvane::testing
