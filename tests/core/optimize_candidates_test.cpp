#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <vector>

#include "optimize/candidates.h"
#include "support/dome_fixture.h"
#include "support/optimize_fixtures.h"

namespace halvane {
namespace {

using testing::StepsFrom;

TEST(OptimizeThreshold, BlanksCountAsZeroDigitsWherever) {
  EXPECT_EQ(ParseThreshold("  .5 "), 0.5f);
  EXPECT_EQ(ParseThreshold("1 .25"), 10.25f);
  EXPECT_EQ(ParseThreshold("     "), 0.0f);
  EXPECT_EQ(ParseThreshold(" 1.  "), 1.0f);
  EXPECT_EQ(ParseThreshold("12.34"), static_cast<float>(12.34L));
  EXPECT_EQ(ParseThreshold(" 0. 7"), 0.07f);
}

class OptimizeCandidates : public testing::OptimizeTest {
 protected:
  int CountWhere(bool (*pred)(const DomePoint&)) const {
    int n = 0;
    for (uint32_t i = 1; i <= s.dome.pointCount; ++i) n += pred(s.dome.points[i]);
    return n;
  }
  int SlotOf(uint32_t point, uint32_t neighbour) const {
    for (std::size_t k = 1; k <= kNeighbourSlots; ++k)
      if (s.dome.points[point].nb[k] == static_cast<int32_t>(neighbour)) return static_cast<int>(k);
    return 0;
  }
};

TEST_F(OptimizeCandidates, ResetMakesEveryPointALightOfItsOwnColour) {
  UniformDome(3, 2.0f);
  for (uint32_t i = 1; i <= s.dome.pointCount; ++i) {
    DomePoint& p = s.dome.points[i];
    p.r = 0.25f * static_cast<float>(i);
    p.lightR = p.lightG = p.lightB = p.lightLum = 99.0f;
    p.used = false;
    p.contrastEdge = true;
    p.maxLevel = p.level = 4;
    p.memberCount[3] = 19;
  }
  ResetOptimizationFields(s);
  for (uint32_t i = 1; i <= s.dome.pointCount; ++i) {
    const DomePoint& p = s.dome.points[i];
    ASSERT_TRUE(p.used);
    ASSERT_FALSE(p.contrastEdge);
    ASSERT_EQ(p.maxLevel, 1);
    ASSERT_EQ(p.level, 1);
    ASSERT_EQ(p.members[1], static_cast<int32_t>(i));
    ASSERT_EQ(p.memberCount[1], 1);
    ASSERT_EQ(p.memberCount[3], 0);
    ASSERT_EQ(p.lightR, p.r);
    ASSERT_EQ(p.lightG, 2.0f);
    ASSERT_EQ(p.lightLum, 2.0f);
  }
}

TEST_F(OptimizeCandidates, UniformDomeReachesTheMaximumSettingAndNoMore) {
  UniformDome(3, 1.0f);
  FindCandidates("  .5 ", 3);
  EXPECT_EQ(s.dome.points[1].maxLevel, 3);  // point 1 is never withdrawn
  for (uint32_t i = 1; i <= s.dome.pointCount; ++i) {
    const DomePoint& p = s.dome.points[i];
    ASSERT_TRUE(p.maxLevel == 3 || p.maxLevel == 0) << "point " << i << ": " << p.maxLevel;
    ASSERT_EQ(p.used, p.maxLevel == 3) << "point " << i;
    ASSERT_EQ(p.memberCount[4], 0) << "no level beyond the setting is built";
    ASSERT_FALSE(p.contrastEdge);
  }
}

TEST_F(OptimizeCandidates, ThinningKeepsOnlyCentresWithTwoWithdrawnNeighboursBeforeThem) {
  UniformDome(3, 1.0f);
  FindCandidates("  .5 ", 5);
  int centres = 0;
  for (uint32_t i = 1; i <= s.dome.pointCount; ++i) {
    const DomePoint& p = s.dome.points[i];
    if (p.maxLevel == 0) {
      ASSERT_FALSE(p.used) << "point " << i;
      continue;
    }
    ASSERT_EQ(p.maxLevel, 5) << "point " << i;
    ASSERT_TRUE(p.used);
    ++centres;
    // A kept centre (other than point 1) has at least two neighbours that
    // were withdrawn before it.
    if (i == 1) continue;
    int withdrawnBefore = 0;
    for (std::size_t k = 1; k <= kNeighbourSlots; ++k) {
      const int32_t n = p.nb[k];
      withdrawnBefore += n != 0 && static_cast<uint32_t>(n) < i &&
                         s.dome.points[static_cast<std::size_t>(n)].maxLevel == 0;
    }
    ASSERT_GE(withdrawnBefore, 2) << "point " << i;
  }
  for (uint32_t i = 2; i <= s.dome.pointCount; ++i) {
    if (s.dome.points[i].maxLevel != 0) continue;
    int withdrawnBefore = 0;
    for (std::size_t k = 1; k <= kNeighbourSlots; ++k) {
      const int32_t n = s.dome.points[i].nb[k];
      withdrawnBefore += n != 0 && static_cast<uint32_t>(n) < i &&
                         s.dome.points[static_cast<std::size_t>(n)].maxLevel == 0;
    }
    ASSERT_LE(withdrawnBefore, 1) << "point " << i;
  }
  EXPECT_GT(centres, 1);
  EXPECT_LT(centres, static_cast<int>(s.dome.pointCount));
}

// Hand-made neighbourhoods, worked through by hand in index order.
TEST_F(OptimizeCandidates, ThinningWithdrawsPointsWithTwoEqualNeighboursAndAtMostOneWithdrawn) {
  s.dome.pointCount = 10;
  const std::vector<std::vector<int32_t>> nbs = {{},        {2},     {1, 3},       {2, 4, 9},
                                                 {3, 5, 6}, {4, 10}, {2, 4, 7, 8}, {6, 8},
                                                 {6, 7},    {1, 3},  {1, 3, 5}};
  for (uint32_t i = 1; i <= 10; ++i) {
    DomePoint& p = s.dome.points[i];
    std::size_t slot = 1;
    for (int32_t n : nbs[i]) p.nb[slot++] = n;
    p.used = true;
    p.maxLevel = 3;
  }
  s.dome.points[9].maxLevel = 1;   // never a centre: left alone
  s.dome.points[10].maxLevel = 2;  // no neighbour of equal reach
  ThinCandidates(s);
  const std::vector<int> expected = {0, 3, 0, 3, 0, 3, 3, 0, 3, 1, 2};
  for (uint32_t i = 1; i <= 10; ++i) {
    EXPECT_EQ(s.dome.points[i].maxLevel, expected[i]) << "point " << i;
    EXPECT_EQ(s.dome.points[i].used, expected[i] != 0) << "point " << i;
  }
}

TEST_F(OptimizeCandidates, MembersAreTheRingsInDiscoveryOrder) {
  UniformDome(3, 1.0f);
  FindCandidates("  .5 ", 6);
  for (uint32_t i = 1; i <= s.dome.pointCount; ++i) {
    const DomePoint& p = s.dome.points[i];
    ASSERT_EQ(p.memberCount[0], 0);
    ASSERT_EQ(p.memberCount[1], 1);
    ASSERT_EQ(p.members[1], static_cast<int32_t>(i));
    if (p.maxLevel == 0) continue;
    const std::vector<int> steps = StepsFrom(s, i);
    std::set<int32_t> seen{static_cast<int32_t>(i)};
    for (int level = 2; level <= p.maxLevel; ++level) {
      const std::size_t from = p.memberCount[static_cast<std::size_t>(level - 1)] + 1u;
      const std::size_t to = p.memberCount[static_cast<std::size_t>(level)];
      ASSERT_LT(from, to + 1) << "point " << i << " level " << level;
      // Exactly the points level - 1 steps away, each once.
      int atDistance = 0;
      for (uint32_t q = 1; q <= s.dome.pointCount; ++q) atDistance += steps[q] == level - 1;
      ASSERT_EQ(static_cast<int>(to - from + 1), atDistance) << "point " << i;
      // In the order they are first reached from the previous ring's list.
      std::vector<int32_t> expected;
      const std::size_t prevFrom =
          level == 2 ? 1 : p.memberCount[static_cast<std::size_t>(level - 2)] + 1u;
      for (std::size_t k = prevFrom; k < from; ++k)
        for (std::size_t slot = 1; slot <= kNeighbourSlots; ++slot) {
          const int32_t n = s.dome.points[static_cast<std::size_t>(p.members[k])].nb[slot];
          if (n != 0 && seen.insert(n).second) expected.push_back(n);
        }
      const std::vector<int32_t> listed(&p.members.items[from], &p.members.items[to] + 1);
      ASSERT_EQ(listed, expected) << "point " << i << " level " << level;
    }
  }
  EXPECT_EQ(s.dome.points[1].maxLevel, 6);
}

// Where every point within s - 2 steps has six neighbours, the collapse of
// level s holds 1 + 3s(s - 1) points: 7, 19, 37, 61, 91.
TEST_F(OptimizeCandidates, SixNeighbourRegionsGiveTheFullCollapseSizes) {
  UniformDome(3, 1.0f);
  FindCandidates("  .5 ", 6);
  std::set<int> fullLevels;
  for (uint32_t i = 1; i <= s.dome.pointCount; ++i) {
    const DomePoint& p = s.dome.points[i];
    const std::vector<int> steps = StepsFrom(s, i);
    for (int level = 2; level <= p.maxLevel; ++level) {
      ASSERT_LE(p.memberCount[static_cast<std::size_t>(level)], 91);
      bool regular = true;
      for (uint32_t q = 1; q <= s.dome.pointCount; ++q)
        if (steps[q] >= 0 && steps[q] <= level - 2)
          regular = regular && testing::NeighbourCount(s.dome.points[q]) == 6;
      if (!regular) continue;
      ASSERT_EQ(p.memberCount[static_cast<std::size_t>(level)], 1 + 3 * level * (level - 1))
          << "point " << i << " level " << level;
      fullLevels.insert(level);
    }
  }
  EXPECT_TRUE(fullLevels.count(2) && fullLevels.count(3)) << "the dome has regular regions";
}

TEST_F(OptimizeCandidates, ContrastMarksBothSidesOfAJumpAndNothingElse) {
  UniformDome(3, 1.0f);
  const uint32_t jump = 80;
  SetLuminance(jump, 5.0f);
  FindCandidates("  .5 ", 5);
  const std::vector<int> steps = StepsFrom(s, jump);
  for (uint32_t i = 1; i <= s.dome.pointCount; ++i) {
    const DomePoint& p = s.dome.points[i];
    ASSERT_EQ(p.contrastEdge, steps[i] <= 1) << "point " << i << " at " << steps[i] << " steps";
    if (steps[i] <= 1) {
      ASSERT_EQ(p.maxLevel, 1) << "point " << i;
      ASSERT_TRUE(p.used);
    } else {
      // A collapse of level d + 1 would take in the bright point.
      ASSERT_LE(p.maxLevel, steps[i]) << "point " << i;
    }
  }
}

TEST_F(OptimizeCandidates, MarkedNeighbourIsNotUsedAsACentreLater) {
  UniformDome(3, 1.0f);
  // Point 1 is darker than its neighbours by more than the threshold: it
  // marks them all, so no collapse is even started around them.
  const uint32_t bright = static_cast<uint32_t>(s.dome.points[1].nb[1]);
  SetLuminance(1, 0.4f);
  FindCandidates("  .5 ", 3);
  EXPECT_TRUE(s.dome.points[1].contrastEdge);
  EXPECT_TRUE(s.dome.points[bright].contrastEdge);
  EXPECT_EQ(s.dome.points[1].maxLevel, 1);
  EXPECT_EQ(s.dome.points[bright].maxLevel, 1);
  EXPECT_EQ(s.dome.points[bright].memberCount[2], 0) << "no collapse was built around it";
}

TEST_F(OptimizeCandidates, EqualityPassesBothTests) {
  for (float edge : {1.5f, 0.5f}) {
    UniformDome(3, 1.0f);
    SetLuminance(static_cast<uint32_t>(s.dome.points[1].nb[2]), edge);
    FindCandidates("  .5 ", 3);
    EXPECT_EQ(s.dome.points[1].maxLevel, 3) << edge;
    EXPECT_FALSE(s.dome.points[1].contrastEdge) << edge;
  }
  for (float beyond : {std::nextafter(1.5f, 2.0f), std::nextafter(0.5f, 0.0f)}) {
    UniformDome(3, 1.0f);
    const auto n = static_cast<uint32_t>(s.dome.points[1].nb[2]);
    SetLuminance(n, beyond);
    FindCandidates("  .5 ", 3);
    EXPECT_EQ(s.dome.points[1].maxLevel, 1) << beyond;
    EXPECT_TRUE(s.dome.points[1].contrastEdge) << beyond;
    EXPECT_TRUE(s.dome.points[n].contrastEdge) << beyond;
  }
}

// 1.0 - 0.1 is 0.9 in single precision, but above the single 0.9 in
// extended: a point of 0.9 must stay out of a window that reaches 1.0.
TEST_F(OptimizeCandidates, WindowIsTestedInExtendedPrecision) {
  UniformDome(3, 0.95f);
  const auto high = static_cast<uint32_t>(s.dome.points[1].nb[1]);
  const auto low = static_cast<uint32_t>(s.dome.points[1].nb[2]);
  SetLuminance(high, 1.0f);
  SetLuminance(low, 0.9f);
  FindCandidates("  .10", 3);
  EXPECT_FALSE(s.dome.points[1].contrastEdge) << "each neighbour differs by only 0.05";
  EXPECT_EQ(s.dome.points[1].maxLevel, 1);
}

TEST_F(OptimizeCandidates, WindowSpansTheWholeCollapse) {
  UniformDome(3, 0.0f);
  // Luminance rises by 0.2 per step away from point 1: no neighbouring pair
  // differs by more than 0.5, but the third ring leaves the window.
  const std::vector<int> steps = StepsFrom(s, 1);
  for (uint32_t i = 1; i <= s.dome.pointCount; ++i)
    SetLuminance(i, static_cast<float>(0.2L * steps[i]));
  FindCandidates("  .5 ", 5);
  for (uint32_t i = 1; i <= s.dome.pointCount; ++i) ASSERT_FALSE(s.dome.points[i].contrastEdge);
  EXPECT_EQ(s.dome.points[1].maxLevel, 3);
  int withinTwo = 0;
  for (uint32_t i = 1; i <= s.dome.pointCount; ++i) withinTwo += steps[i] <= 2;
  EXPECT_EQ(s.dome.points[1].memberCount[3], withinTwo);
}

TEST_F(OptimizeCandidates, AllBlankThresholdCollapsesOnlyEqualPoints) {
  UniformDome(3, 1.0f);
  SetLuminance(static_cast<uint32_t>(s.dome.points[1].nb[3]), std::nextafter(1.0f, 2.0f));
  FindCandidates("     ", 3);
  EXPECT_EQ(s.dome.points[1].maxLevel, 1);
  UniformDome(3, 1.0f);
  FindCandidates("     ", 3);
  EXPECT_EQ(s.dome.points[1].maxLevel, 3);
}

TEST_F(OptimizeCandidates, ProgressShowsEveryTenthPoint) {
  UniformDome(3, 1.0f);
  std::vector<std::string> progress;
  host.onEvents = [&] { progress.push_back(controls.StatusBar1.panels[2]); };
  FindCandidates("  .5 ", 3);
  ASSERT_EQ(progress.size(), 16u);
  EXPECT_EQ(progress.front(), "10/162");
  EXPECT_EQ(progress.back(), "160/162");
}

}  // namespace
}  // namespace halvane
