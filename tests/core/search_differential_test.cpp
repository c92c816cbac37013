// The parallel level search against the literal one: on generated domes of
// 162 and 642 points, with 1, 2 and 8 threads, every observable result of a
// whole "Optimize points" run must be the same bit for bit.

#include <gtest/gtest.h>

#include <chrono>
#include <iostream>

#include "core/search_domes.h"
#include "optimize/search_settings.h"

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

class SearchDifferential : public ::testing::TestWithParam<DomeCase> {};

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

TEST_P(SearchDifferential, EveryThreadCountGivesTheLiteralOutcome) {
  const DomeCase& c = GetParam();
  const std::unique_ptr<DomeRun> dome = MakeDome(c.resolution, c.environment);
  c.controls.ApplyTo(dome->controls);

  DomeRun literal(*dome);
  auto start = std::chrono::steady_clock::now();
  ButtonOptimizeClick(literal.s, literal.controls, literal.host, {0, true});
  const double literalSeconds = Seconds(start);
  ASSERT_EQ(literal.s.workflowState, 5);

  // Thread counts, and walks forced to hand over their rest after a number
  // of steps: pieces of pieces, replayed in order.
  struct Variant {
    int threads;
    uint32_t splitSteps;
  };
  for (const Variant variant :
       {Variant{1, 0}, Variant{2, 0}, Variant{8, 0}, Variant{1, c.splitSteps},
        Variant{2, c.splitSteps * 2}, Variant{8, c.splitSteps}}) {
    SCOPED_TRACE(::testing::Message()
                 << variant.threads << " threads, split after " << variant.splitSteps);
    DomeRun parallel(*dome);
    SearchStatistics statistics;
    start = std::chrono::steady_clock::now();
    ButtonOptimizeClick(parallel.s, parallel.controls, parallel.host,
                        {variant.threads, false, &statistics, variant.splitSteps});
    const std::size_t splits = statistics.splits[1] + statistics.splits[2] + statistics.splits[3];
    std::cout << c.name << ": literal " << literalSeconds << " s, " << variant.threads
              << " threads " << Seconds(start) << " s, " << splits << " splits, found "
              << literal.s.results.foundCount << ", log " << literal.controls.ListBox1.items.size()
              << "\n";
    ExpectSameOutcome(literal, parallel);
    if (variant.splitSteps > 0) {
      EXPECT_GT(splits, 0u);
    }
  }
}

OptimizeControls Halted(int maxReduction, int points, int maxLights, std::string threshold) {
  OptimizeControls c;
  c.maxReduction = maxReduction;
  c.level1Points = points;
  c.level1MaxLights = maxLights;
  c.threshold = std::move(threshold);
  c.haltAfterLevel1 = true;
  return c;
}

OptimizeControls Full(int maxReduction, int points, int maxLights, std::string threshold) {
  OptimizeControls c = Halted(maxReduction, points, maxLights, std::move(threshold));
  c.haltAfterLevel1 = false;
  return c;
}

INSTANTIATE_TEST_SUITE_P(
    Domes162, SearchDifferential,
    ::testing::Values(DomeCase{"noisysky162", 3, Sky(0.08f), Full(4, 275, 50, "  .5 "), 4096},
                      DomeCase{"gradient162", 3, Gradient(), Full(5, 275, 50, "  .5 "), 512},
                      DomeCase{"sky162", 3, Sky(0.03f), Full(4, 275, 50, "  .5 "), 4096},
                      DomeCase{"patches162", 3, Patches(0.6f, 7), Full(4, 275, 50, "  .3 "), 64}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Domes642, SearchDifferential,
    ::testing::Values(DomeCase{"uniform642", 4, Uniform(1.0f), Halted(4, 100, 30, "  .5 "), 4096},
                      DomeCase{"gradient642", 4, Gradient(), Halted(4, 100, 40, " 1.  "), 2},
                      DomeCase{"sky642", 4, Sky(0.03f), Halted(4, 150, 40, "  .5 "), 32},
                      DomeCase{"patches642", 4, Patches(0.3f, 3), Halted(4, 100, 40, "  .4 "),
                               256}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace halvane::testing
