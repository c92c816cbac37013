// Collapse candidates on the 162-point dome and on hand-made neighbourhoods.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <vector>

#include "optimize/candidates.h"
#include "support/optimize_fixtures.h"

namespace halvane {
namespace {

using testing::SetLuminance;
using testing::StepsFrom;

class Candidates : public ::testing::Test {
 protected:
  // The 162-point dome with every point's colour the grey of `lum`.
  void UniformDome(float lum) {
    run_ = testing::MakeDome(3, testing::Uniform(1.0f));
    for (uint32_t i = 1; i <= dome().pointCount; ++i) SetLuminance(dome(), i, lum);
  }
  void Find(float threshold, int maxReduction) {
    ResetOptimizationFields(dome());
    BuildCandidates(dome(), {threshold, static_cast<uint8_t>(maxReduction)}, {});
  }
  Dome& dome() { return run_->s.dome; }
  const DomePoint& point(uint32_t i) { return dome().points[i]; }
  uint32_t Neighbour(uint32_t i, std::size_t slot) {
    return static_cast<uint32_t>(point(i).nb[slot]);
  }

  std::unique_ptr<testing::DomeRun> run_;
};

// Hand-made neighbourhoods, worked through by hand in index order.
TEST(CandidateThinning, WithdrawsPointsWithTwoEqualNeighboursAndAtMostOneWithdrawn) {
  auto dome = std::make_unique<Dome>();
  dome->pointCount = 10;
  const std::vector<std::vector<int32_t>> nbs = {{},        {2},     {1, 3},       {2, 4, 9},
                                                 {3, 5, 6}, {4, 10}, {2, 4, 7, 8}, {6, 8},
                                                 {6, 7},    {1, 3},  {1, 3, 5}};
  for (uint32_t i = 1; i <= 10; ++i) {
    DomePoint& p = dome->points[i];
    std::size_t slot = 1;
    for (int32_t n : nbs[i]) p.nb[slot++] = n;
    p.used = true;
    p.maxLevel = 3;
  }
  dome->points[9].maxLevel = 1;   // never a centre: left alone
  dome->points[10].maxLevel = 2;  // no neighbour of equal reach
  ThinCandidates(*dome);
  const std::vector<int> expected = {0, 3, 0, 3, 0, 3, 3, 0, 3, 1, 2};
  for (uint32_t i = 1; i <= 10; ++i) {
    EXPECT_EQ(dome->points[i].maxLevel, expected[i]) << "point " << i;
    EXPECT_EQ(dome->points[i].used, expected[i] != 0) << "point " << i;
  }
}

// On a uniform dome every point not withdrawn by the thinning (point 1 never
// is) reaches the setting. Level s adds exactly the points s - 1 steps away,
// in the order they are first reached from the previous ring's list.
TEST_F(Candidates, UniformDomeReachesTheSettingWithTheRingsInDiscoveryOrder) {
  UniformDome(1.0f);
  Find(0.5f, 5);
  EXPECT_EQ(point(1).maxLevel, 5);
  for (uint32_t i = 1; i <= dome().pointCount; ++i) {
    const DomePoint& p = point(i);
    ASSERT_TRUE(p.maxLevel == 5 || p.maxLevel == 0) << i << ": " << p.maxLevel;
    ASSERT_EQ(p.used, p.maxLevel == 5) << i;
    ASSERT_FALSE(p.contrastEdge);
    ASSERT_EQ(p.memberCount[6], 0) << "no level beyond the setting is built";
    ASSERT_TRUE(p.memberCount[1] == 1 && p.members[1] == static_cast<int32_t>(i));
    if (p.maxLevel == 0) continue;
    const std::vector<int> steps = StepsFrom(dome(), i);
    std::set<int32_t> seen{static_cast<int32_t>(i)};
    for (std::size_t level = 2; level <= 5; ++level) {
      const std::size_t from = p.memberCount[level - 1] + 1u, to = p.memberCount[level];
      const std::size_t prevFrom = level == 2 ? 1 : p.memberCount[level - 2] + 1u;
      std::vector<int32_t> expected;
      for (std::size_t k = prevFrom; k < from; ++k)
        for (std::size_t slot = 1; slot <= kNeighbourSlots; ++slot) {
          const int32_t n = dome().points[static_cast<std::size_t>(p.members[k])].nb[slot];
          if (n != 0 && seen.insert(n).second) expected.push_back(n);
        }
      const std::vector<int32_t> listed(&p.members.items[from], &p.members.items[to] + 1);
      ASSERT_EQ(listed, expected) << "point " << i << " level " << level;
      ASSERT_EQ(std::count(steps.begin(), steps.end(), static_cast<int>(level) - 1),
                std::ssize(listed))
          << i;
    }
  }
}

TEST_F(Candidates, ContrastMarksBothSidesOfAJumpAndLimitsTheReach) {
  UniformDome(1.0f);
  const uint32_t jump = 80;
  SetLuminance(dome(), jump, 5.0f);
  Find(0.5f, 5);
  const std::vector<int> steps = StepsFrom(dome(), jump);
  for (uint32_t i = 1; i <= dome().pointCount; ++i) {
    const DomePoint& p = point(i);
    ASSERT_EQ(p.contrastEdge, steps[i] <= 1) << "point " << i << " at " << steps[i] << " steps";
    // A collapse of level d + 1 would take in the bright point.
    ASSERT_LE(p.maxLevel, steps[i] <= 1 ? 1 : steps[i]) << "point " << i;
  }
}

// Limits of the luminance window (0.5 either side of 1.0) and of the
// contrast test: equality passes both, the next float fails.
TEST_F(Candidates, TheWindowsEdgeIsInsideInExtendedPrecision) {
  for (float edge : {1.5f, 0.5f, std::nextafter(1.5f, 2.0f), std::nextafter(0.5f, 0.0f)}) {
    UniformDome(1.0f);
    const uint32_t n = Neighbour(1, 2);
    SetLuminance(dome(), n, edge);
    Find(0.5f, 3);
    const bool inside = edge == 1.5f || edge == 0.5f;
    EXPECT_EQ(point(1).maxLevel, inside ? 3 : 1) << edge;
    EXPECT_EQ(point(1).contrastEdge, !inside) << edge;
    EXPECT_EQ(point(n).contrastEdge, !inside) << edge;
  }
  // 1.0 - 0.1 is 0.9 in single precision, but above the single 0.9 in
  // extended: a point of 0.9 must stay out of a window that reaches 1.0.
  UniformDome(0.95f);
  SetLuminance(dome(), Neighbour(1, 1), 1.0f);
  SetLuminance(dome(), Neighbour(1, 2), 0.9f);
  Find(0.1f, 3);
  EXPECT_FALSE(point(1).contrastEdge) << "each neighbour differs by only 0.05";
  EXPECT_EQ(point(1).maxLevel, 1);
}

TEST_F(Candidates, WindowSpansTheWholeCollapse) {
  UniformDome(0.0f);
  // Luminance rises by 0.2 per step away from point 1: no neighbouring pair
  // differs by more than 0.5, but the third ring leaves the window.
  const std::vector<int> steps = StepsFrom(dome(), 1);
  for (uint32_t i = 1; i <= dome().pointCount; ++i)
    SetLuminance(dome(), i, static_cast<float>(0.2L * steps[i]));
  Find(0.5f, 5);
  for (uint32_t i = 1; i <= dome().pointCount; ++i) ASSERT_FALSE(point(i).contrastEdge);
  EXPECT_EQ(point(1).maxLevel, 3);
  int withinTwo = 0;
  for (uint32_t i = 1; i <= dome().pointCount; ++i) withinTwo += steps[i] <= 2;
  EXPECT_EQ(point(1).memberCount[3], withinTwo);
}

}  // namespace
}  // namespace halvane
