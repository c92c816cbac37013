// The parallel level search against the literal one: on generated domes of
// 162 and 642 points and on the sample image, with 1, 2 and 8 threads, with
// walks forced to split, and with the level-2 memo looked up everywhere (so
// that small trees hit it too), adaptively and not at all, every observable
// result of a whole "Optimize points" run must be the same bit for bit, and
// so must the visits the searches count.
#include <gtest/gtest.h>

#include <functional>

#include "support/optimize_fixtures.h"
#include "workflow/optimize_points.h"

namespace halvane::testing {
namespace {

struct DomeCase {
  const char* name;
  std::function<std::unique_ptr<DomeRun>()> make;
  std::function<void(ControlModel&)> setControls;
  uint32_t splitSteps;  // forced splits: a few hundred to a few thousand on this dome
};

void PrintTo(const DomeCase& c, std::ostream* os) {
  *os << c.name;
}

const char* MemoName(MemoUse memo) {
  return memo == MemoUse::kEverywhere ? "everywhere" : memo == MemoUse::kOff ? "off" : "adaptive";
}

class SearchDifferential : public ::testing::TestWithParam<DomeCase> {
 protected:
  std::unique_ptr<DomeRun> Run(const SearchSettings& settings) const {
    const DomeCase& c = GetParam();
    std::unique_ptr<DomeRun> dome = c.make();
    if (!dome) return nullptr;
    c.setControls(dome->controls);
    dome->s.searchSettings = settings;
    OptimizePoints(dome->s, dome->controls, dome->host);
    return dome;
  }
};

TEST_P(SearchDifferential, EveryThreadCountAndMemoGivesTheLiteralOutcome) {
  const uint32_t split = GetParam().splitSteps;
  const std::unique_ptr<DomeRun> literal = Run({.literal = true});
  ASSERT_TRUE(literal) << "the sample image cannot be read";
  ASSERT_EQ(literal->s.workflowState, 5);
  struct Variant {
    int threads;
    uint32_t splitSteps;
    MemoUse memo;
  };
  const MemoUse kEverywhere = MemoUse::kEverywhere, kAdaptive = MemoUse::kAdaptive;
  SearchStatistics first;
  bool haveFirst = false;
  for (const Variant v :
       {Variant{1, 0, kEverywhere}, Variant{2, 0, kAdaptive}, Variant{8, 0, kEverywhere},
        Variant{2, 0, MemoUse::kOff}, Variant{1, split, kEverywhere},
        Variant{2, split * 2, kAdaptive}, Variant{8, split, kEverywhere}}) {
    SCOPED_TRACE(::testing::Message() << v.threads << " threads, split after " << v.splitSteps
                                      << ", memo " << MemoName(v.memo));
    SearchStatistics statistics;
    const std::unique_ptr<DomeRun> parallel = Run({.threads = v.threads,
                                                   .statistics = &statistics,
                                                   .forcedSplitSteps = v.splitSteps,
                                                   .memo = v.memo});
    ExpectSameOutcome(*literal, *parallel);
    if (v.splitSteps > 0) {
      EXPECT_GT(statistics.splits[1] + statistics.splits[2] + statistics.splits[3], 0u);
    }
    // Replayed subtrees count the visits their walks made.
    for (int level = 1; level <= 3; ++level) {
      if (haveFirst) {
        EXPECT_EQ(statistics.visits[level], first.visits[level]) << "level " << level;
      }
      EXPECT_LE(statistics.walked[level], statistics.visits[level]);
    }
    if (!haveFirst) {
      first = statistics;
      haveFirst = true;
      // Only one thread walks the whole level: the memo meets its repeats.
      if (statistics.visits[2] > 100000) {
        EXPECT_GT(statistics.memoHits[2], 0u);
      }
    }
  }
}

// The controls of a generated dome.
std::function<void(ControlModel&)> Controls(int maxReduction, int points, int maxLights,
                                            std::string threshold, bool halt) {
  const OptimizeControls c{std::move(threshold), maxReduction, points, maxLights, halt};
  return [c](ControlModel& controls) { c.ApplyTo(controls); };
}

// The controls the colour step proposes, with level 1 over `points` points.
std::function<void(ControlModel&)> ProposedWithLevel1(int points) {
  return [points](ControlModel& controls) { controls.SpinOptLevel1.value = points; };
}

std::function<std::unique_ptr<DomeRun>()> Generated(int resolution, Environment env) {
  return [resolution, env] { return MakeDome(resolution, env); };
}

std::function<std::unique_ptr<DomeRun>()> Sample(int resolution) {
  return [resolution] { return ImageDome(SampleImagePath(), resolution); };
}

INSTANTIATE_TEST_SUITE_P(Domes162, SearchDifferential,
                         ::testing::Values(DomeCase{"noisysky162", Generated(3, Sky(0.08f)),
                                                    Controls(4, 275, 50, "  .5 ", false), 4096},
                                           DomeCase{"gradient162", Generated(3, Gradient()),
                                                    Controls(5, 275, 50, "  .5 ", false), 512},
                                           DomeCase{"sky162", Generated(3, Sky(0.03f)),
                                                    Controls(4, 275, 50, "  .5 ", false), 4096},
                                           DomeCase{"patches162", Generated(3, Patches(0.6f, 7)),
                                                    Controls(4, 275, 50, "  .3 ", false), 64},
                                           DomeCase{"sample162", Sample(3), ProposedWithLevel1(275),
                                                    4096}),
                         [](const auto& info) { return std::string(info.param.name); });

// Level 1 alone on generated domes (levels 2 and 3 keep the literal search
// busy for minutes); all three levels on the sample image, level 2 over
// points 301..642 (a level 2 of 260 million visits).
INSTANTIATE_TEST_SUITE_P(Domes642, SearchDifferential,
                         ::testing::Values(DomeCase{"uniform642", Generated(4, Uniform(1.0f)),
                                                    Controls(4, 100, 30, "  .5 ", true), 4096},
                                           DomeCase{"gradient642", Generated(4, Gradient()),
                                                    Controls(4, 100, 40, " 1.  ", true), 2},
                                           DomeCase{"sky642", Generated(4, Sky(0.03f)),
                                                    Controls(4, 150, 40, "  .5 ", true), 32},
                                           DomeCase{"patches642", Generated(4, Patches(0.3f, 3)),
                                                    Controls(4, 100, 40, "  .4 ", true), 256},
                                           DomeCase{"sample642", Sample(4), ProposedWithLevel1(300),
                                                    4096}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace halvane::testing
