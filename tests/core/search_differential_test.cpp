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
  c.controls.ApplyTo(dome->form);

  DomeRun literal(*dome);
  auto start = std::chrono::steady_clock::now();
  ButtonOptimizeClick(literal.s, literal.form, literal.host, {0, true});
  const double literalSeconds = Seconds(start);
  ASSERT_EQ(literal.s.WorkflowState, 5);

  for (int threads : {1, 2, 8}) {
    SCOPED_TRACE(threads);
    DomeRun parallel(*dome);
    start = std::chrono::steady_clock::now();
    ButtonOptimizeClick(parallel.s, parallel.form, parallel.host, {threads, false});
    std::cout << c.name << ": literal " << literalSeconds << " s, " << threads << " threads "
              << Seconds(start) << " s, found " << literal.s.FoundCount << ", log "
              << literal.form.ListBox1.items.size() << "\n";
    ExpectSameOutcome(literal, parallel);
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
    ::testing::Values(DomeCase{"noisysky162", 3, Sky(0.08f), Full(4, 275, 50, "  .5 ")},
                      DomeCase{"gradient162", 3, Gradient(), Full(5, 275, 50, "  .5 ")},
                      DomeCase{"sky162", 3, Sky(0.03f), Full(4, 275, 50, "  .5 ")},
                      DomeCase{"patches162", 3, Patches(0.6f, 7), Full(4, 275, 50, "  .3 ")}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Domes642, SearchDifferential,
    ::testing::Values(DomeCase{"uniform642", 4, Uniform(1.0f), Halted(4, 100, 30, "  .5 ")},
                      DomeCase{"gradient642", 4, Gradient(), Halted(4, 100, 40, " 1.  ")},
                      DomeCase{"sky642", 4, Sky(0.03f), Halted(4, 150, 40, "  .5 ")},
                      DomeCase{"patches642", 4, Patches(0.3f, 3), Halted(4, 100, 40, "  .4 ")}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace halvane::testing
