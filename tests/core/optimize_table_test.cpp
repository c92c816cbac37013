#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "optimize/candidates.h"
#include "optimize/result_table.h"
#include "support/optimize_fixtures.h"

namespace halvane {
namespace {

using testing::DecisionText;

class OptimizeTable : public testing::OptimizeTest {
 protected:
  // Result r decides points 1..n as the digits of `decisions`.
  void SetResult(uint16_t r, const std::string& decisions) {
    s.dome.pointCount = static_cast<uint32_t>(decisions.size());
    SearchResult& rec = s.results.results[r];
    for (std::size_t j = 1; j <= decisions.size(); ++j)
      rec.decision[j] = static_cast<uint8_t>(decisions[j - 1] - '0');
    if (r > s.results.count) s.results.count = r;
  }
  std::vector<std::string> Order() const {
    std::vector<std::string> order;
    for (uint16_t r = 1; r <= s.results.count; ++r)
      order.push_back(DecisionText(s.results.results[r], s.dome.pointCount));
    return order;
  }
  std::vector<std::string> Row(int r) const {
    std::vector<std::string> cells;
    for (int col = 0; col < 6; ++col) cells.push_back(controls.GridOptimized.Cell(col, r));
    return cells;
  }
};

std::string Padded(int value, std::size_t width) {
  const std::string text = std::to_string(value);
  return std::string(width > text.size() ? width - text.size() : 0, ' ') + text;
}

int PlainDifferences(const SearchResult& a, const SearchResult& b, uint32_t count) {
  int d = 0;
  for (uint32_t j = 1; j <= count; ++j) d += a.decision[j] != b.decision[j];
  return d;
}

TEST_F(OptimizeTable, StatisticsCountLightsLevelsAndTheAverageReduction) {
  SetResult(1, "12030405601");
  s.results.results[1].diffIndex = 77;
  FillOptimizationTable(s, controls, host, false);
  const SearchResult& rec = s.results.results[1];
  EXPECT_EQ(rec.lightCount, 7);
  EXPECT_EQ(rec.levelCount[1], 2);
  for (std::size_t level = 2; level <= 6; ++level) EXPECT_EQ(rec.levelCount[level], 1);
  EXPECT_EQ(rec.levelCount[7], 0);
  EXPECT_EQ(rec.maxReduction, 6);
  EXPECT_EQ(rec.avgReduction, static_cast<float>(22.0L / 7.0L));
  EXPECT_EQ(rec.diffIndex, 0);

  SetResult(1, "111");
  FillOptimizationTable(s, controls, host, false);
  EXPECT_EQ(s.results.results[1].maxReduction, 1);
  EXPECT_EQ(s.results.results[1].avgReduction, 1.0f);
}

TEST_F(OptimizeTable, ResultWithoutLightsKeepsAnAverageOfOne) {
  SetResult(1, "000");
  FillOptimizationTable(s, controls, host, true);
  EXPECT_EQ(s.results.results[1].lightCount, 0);
  EXPECT_EQ(s.results.results[1].avgReduction, 1.0f);
  EXPECT_EQ(controls.GridOptimized.Cell(2, 1), " 1.00");
}

// Worked through by hand with the quicksort: pivot record 3, exchanges
// (1,5) and (3,4), then 1..3 with pivot record 2, then 4..5.
TEST_F(OptimizeTable, EqualRecordsEndWhereTheQuicksortPutsThem) {
  const int lights[] = {3, 2, 3, 2, 3};
  for (uint16_t r = 1; r <= 5; ++r) {
    s.results.results[r].lightCount = lights[r - 1];
    s.results.results[r].decision[1] = static_cast<uint8_t>(r);  // A..E
  }
  s.results.count = 5;
  SortByLights(s, 1, 5);
  std::vector<int> order;
  for (uint16_t r = 1; r <= 5; ++r) order.push_back(s.results.results[r].decision[1]);
  EXPECT_EQ(order, (std::vector<int>{4, 2, 5, 1, 3}));  // D B E A C
}

// Keys (lights, singles, average): (4,2,1.5) (4,1,1.75) (4,1,2.0) (3,3,1.0)
// (4,2,1.5). Fewest lights, then fewer singles, then smaller average; the
// two equal records change places. Five results: no difference ordering,
// but the difference index is computed and shown.
TEST_F(OptimizeTable, FewerLightsThenFewerSinglesThenSmallerAverage) {
  SetResult(1, "11220000");
  SetResult(2, "12220000");
  SetResult(3, "12230000");
  SetResult(4, "11100000");
  SetResult(5, "22110000");
  FillOptimizationTable(s, controls, host, true);
  EXPECT_EQ(Order(),
            (std::vector<std::string>{"11100000", "12220000", "12230000", "22110000", "11220000"}));
  const int diffIndex[] = {11, 8, 9, 13, 9};
  for (int r = 1; r <= 5; ++r) {
    EXPECT_EQ(s.results.results[static_cast<std::size_t>(r)].diffIndex, diffIndex[r - 1]) << r;
    EXPECT_EQ(controls.GridOptimized.Cell(5, r), Padded(diffIndex[r - 1], 5)) << r;
  }
}

// `count` results deciding `points` points; points beyond `randomPoints` are
// absorbed, the others get a random decision 0..3.
void RandomResults(Session& s, int count, uint32_t points, uint32_t randomPoints, unsigned seed) {
  std::mt19937 random(seed);
  s.dome.pointCount = points;
  s.results.count = static_cast<uint16_t>(count);
  for (int r = 1; r <= count; ++r) {
    SearchResult& rec = s.results.results[static_cast<std::size_t>(r)];
    for (uint32_t j = 1; j <= points; ++j)
      rec.decision[j] = j <= randomPoints ? static_cast<uint8_t>(random() % 4) : 0;
  }
}

TEST_F(OptimizeTable, AfterTheFirstFourTheMostDifferentComeFirst) {
  RandomResults(s, 12, 40, 40, 7);
  std::vector<int> allLights;
  for (uint16_t r = 1; r <= 12; ++r)
    allLights.push_back(testing::LightsUpTo(s.results.results[r], 40));
  std::sort(allLights.begin(), allLights.end());
  FillOptimizationTable(s, controls, host, false);
  for (uint16_t r = 1; r <= 4; ++r) {
    EXPECT_EQ(s.results.results[r].lightCount, allLights[r - 1u]) << "row " << r;
  }
  for (uint16_t r = 1; r <= 12; ++r) {
    int expected = 0;
    for (uint16_t q = 1; q <= 12; ++q)
      if (q != r) expected += PlainDifferences(s.results.results[r], s.results.results[q], 40);
    EXPECT_EQ(s.results.results[r].diffIndex, expected) << "row " << r;
  }
  for (uint16_t r = 6; r <= 12; ++r) {
    const SearchResult& before = s.results.results[r - 1u];
    const SearchResult& after = s.results.results[r];
    ASSERT_GE(before.diffIndex, after.diffIndex) << "row " << r;
    if (before.diffIndex == after.diffIndex) {
      EXPECT_GE(before.lightCount, after.lightCount) << "row " << r;
    }
  }
}

TEST_F(OptimizeTable, Only750BestTakePartInTheDifferenceOrdering) {
  RandomResults(s, 760, 60, 30, 11);  // at most 30 lights each
  // Ten results with 41..50 lights, entered out of order.
  for (int k = 0; k < 10; ++k) {
    SearchResult& rec = s.results.results[static_cast<std::size_t>(100 + 60 * k)];
    const uint32_t lights = 41 + static_cast<uint32_t>((k * 7) % 10);
    for (uint32_t j = 1; j <= 60; ++j) rec.decision[j] = j <= lights ? 1 : 0;
  }
  FillOptimizationTable(s, controls, host, false);
  for (uint16_t r = 751; r <= 760; ++r) {
    EXPECT_EQ(s.results.results[r].lightCount, 41 + (r - 751)) << "row " << r;
    EXPECT_EQ(s.results.results[r].diffIndex, 0) << "row " << r;
  }
  for (uint16_t r = 6; r <= 750; ++r)
    ASSERT_GE(s.results.results[r - 1u].diffIndex, s.results.results[r].diffIndex) << "row " << r;
  for (uint16_t r = 1; r <= 750; r += 149) {
    int expected = 0;
    for (uint16_t q = 1; q <= 750; ++q)
      if (q != r) expected += PlainDifferences(s.results.results[r], s.results.results[q], 60);
    EXPECT_EQ(s.results.results[r].diffIndex, expected) << "row " << r;
  }
}

TEST_F(OptimizeTable, CountDifferencesAgreesWithAPlainCount) {
  std::mt19937 random(3);
  SearchResult a{}, b{};
  for (uint32_t length : {1u, 7u, 9u, 63u, 641u, 642u, 2561u, 2600u}) {
    for (int round = 0; round < 20; ++round) {
      const bool anyByte = round % 2 == 1;
      for (uint32_t j = 0; j <= 2600; ++j) {
        a.decision[j] = static_cast<uint8_t>(anyByte ? random() % 256 : random() % 7);
        b.decision[j] = random() % 3 == 0
                            ? static_cast<uint8_t>(anyByte ? random() % 256 : random() % 7)
                            : a.decision[j];
      }
      ASSERT_EQ(CountDifferences(a, b, length), PlainDifferences(a, b, length))
          << "length " << length << " round " << round;
    }
  }
  EXPECT_EQ(CountDifferences(a, b, 3000), PlainDifferences(a, b, 2600))
      << "never beyond the capacity";
}

TEST_F(OptimizeTable, CellsArePaddedAndUseTheHostsNumberFormat) {
  host.numberFormat = NumberFormat{',', "."};
  SetResult(1, "11230000");
  SetResult(2, "61100000");
  SetResult(3, "11111111");
  s.results.results[1].recordedLights = 12;
  s.results.results[2].recordedLights = 3;
  s.results.results[3].recordedLights = 12345;
  FillOptimizationTable(s, controls, host, true);
  ASSERT_EQ(controls.GridOptimized.rowCount, 4);
  EXPECT_EQ(Row(0), (std::vector<std::string>{"Nb.", "# lights", "average reduction",
                                              "min reduction", "max reduction", "diff. index"}));
  EXPECT_EQ(Row(1),
            (std::vector<std::string>{"   1", "    3", " 2,67", "    3", "    6", "    9"}));
  EXPECT_EQ(Row(2),
            (std::vector<std::string>{"   2", "    4", " 1,75", "   12", "    3", "    9"}));
  EXPECT_EQ(Row(3),
            (std::vector<std::string>{"   3", "    8", " 1,00", "12345", "    1", "   12"}));
}

TEST_F(OptimizeTable, LongTextsAreNotCut) {
  RandomResults(s, 60, 2600, 2600, 5);  // about 59 * 1950 differences each
  FillOptimizationTable(s, controls, host, true);
  const std::string cell = controls.GridOptimized.Cell(5, 1);
  EXPECT_EQ(cell, std::to_string(s.results.results[1].diffIndex));
  EXPECT_GT(cell.size(), 5u);
}

TEST_F(OptimizeTable, TableShowsAtMost100RowsAndOnlyWhenAsked) {
  RandomResults(s, 120, 20, 20, 9);
  FillOptimizationTable(s, controls, host, false);
  EXPECT_EQ(controls.GridOptimized.rowCount, 2) << "the grid is left alone";
  FillOptimizationTable(s, controls, host, true);
  EXPECT_EQ(controls.GridOptimized.rowCount, 101);
  EXPECT_EQ(controls.GridOptimized.Cell(0, 100), " 100");
}

TEST_F(OptimizeTable, NoResultsLeaveOneEmptyRow) {
  controls.GridOptimized.SetRowCount(7);
  for (int col = 0; col < 6; ++col) controls.GridOptimized.Cell(col, 1) = "old";
  s.dome.pointCount = 10;
  s.results.count = 0;
  FillOptimizationTable(s, controls, host, true);
  ASSERT_EQ(controls.GridOptimized.rowCount, 2);
  EXPECT_EQ(Row(1), std::vector<std::string>(6, ""));
}

// ---------------------------------------------------------------------------
// Choosing a row.

class OptimizeChoice : public testing::OptimizeTest {
 protected:
  void SetUp() override {
    OptimizeTest::SetUp();
    UniformDome(3, 1.0f);
    FindCandidates("99.99", 3);
    for (uint32_t i = 1; i <= s.dome.pointCount; ++i) {
      DomePoint& p = s.dome.points[i];
      p.r = 0.1f * static_cast<float>(i);
      p.g = 0.3f + 0.01f * static_cast<float>(i);
      p.b = 1.0f / static_cast<float>(i);
      p.lum = 0.7f + 0.001f * static_cast<float>(i);
    }
    // Result 3: point 1 collapses at level 3, a point far from it at level 2.
    const std::vector<int> steps = testing::StepsFrom(s, 1);
    far_ = static_cast<uint32_t>(std::find(steps.begin() + 1, steps.end(), 5) - steps.begin());
    ASSERT_LE(far_, s.dome.pointCount);
    s.results.count = 3;
    for (uint16_t r = 1; r <= 3; ++r)
      for (uint32_t j = 1; j <= s.dome.pointCount; ++j) s.results.results[r].decision[j] = 1;
    Collapse(3, 1, 3);
    Collapse(3, far_, 2);
    s.workflowState = 5;
    controls.GridOptimized.selectedRow = 3;
  }
  void Collapse(uint16_t r, uint32_t centre, uint8_t level) {
    const DomePoint& p = s.dome.points[centre];
    s.results.results[r].decision[centre] = level;
    for (std::size_t k = 2; k <= p.memberCount[level]; ++k)
      s.results.results[r].decision[static_cast<std::size_t>(p.members[k])] = 0;
  }
  // Sums one addition at a time in single precision, in list order.
  float Sum(uint32_t centre, uint8_t level, float DomePoint::*field) const {
    const DomePoint& p = s.dome.points[centre];
    float sum = 0;
    for (std::size_t k = 1; k <= p.memberCount[level]; ++k)
      sum = sum + s.dome.points[static_cast<std::size_t>(p.members[k])].*field;
    return sum;
  }
  void ExpectLight(uint32_t j, float r, float g, float b, float lum, int level, bool used) const {
    const DomePoint& p = s.dome.points[j];
    EXPECT_EQ(p.lightR, r) << "point " << j;
    EXPECT_EQ(p.lightG, g) << "point " << j;
    EXPECT_EQ(p.lightB, b) << "point " << j;
    EXPECT_EQ(p.lightLum, lum) << "point " << j;
    EXPECT_EQ(p.level, level) << "point " << j;
    EXPECT_EQ(p.used, used) << "point " << j;
  }
  void ExpectChoiceOfResult3() const {
    ExpectLight(1, Sum(1, 3, &DomePoint::r), Sum(1, 3, &DomePoint::g), Sum(1, 3, &DomePoint::b),
                Sum(1, 3, &DomePoint::lum), 3, true);
    ExpectLight(far_, Sum(far_, 2, &DomePoint::r), Sum(far_, 2, &DomePoint::g),
                Sum(far_, 2, &DomePoint::b), Sum(far_, 2, &DomePoint::lum), 2, true);
    const DomePoint& centre = s.dome.points[1];
    for (std::size_t k = 2; k <= centre.memberCount[3]; ++k)
      ExpectLight(static_cast<uint32_t>(centre.members[k]), 0, 0, 0, 0, 0, false);
    for (uint32_t j = 1; j <= s.dome.pointCount; ++j) {
      if (s.results.results[3].decision[j] != 1) continue;
      const DomePoint& p = s.dome.points[j];
      ExpectLight(j, p.r, p.g, p.b, p.lum, 1, true);
    }
  }
  uint32_t far_ = 0;
};

TEST_F(OptimizeChoice, CentresGetTheSummedColourOfTheirMembers) {
  controls.PanelSt[7].color = kPanelDoneColor;
  GridOptimizedClick(s, controls, host);
  ExpectChoiceOfResult3();
  EXPECT_EQ(controls.StatusBar1.panels[1], "Optimization selected.");
  EXPECT_EQ(controls.StatusBar1.panels[2], "Optimization #3");
  EXPECT_EQ(controls.PanelSt[6].color, kPanelDoneColor);
  EXPECT_TRUE(controls.LabelSt[6].bold);
  EXPECT_EQ(controls.PanelSt[7].color, kPanelColor);
  EXPECT_EQ(controls.PanelSt[8].color, kPanelColor);
}

TEST_F(OptimizeChoice, ChoosingAgainStartsFromTheSampledColours) {
  GridOptimizedClick(s, controls, host);
  GridOptimizedClick(s, controls, host);
  ExpectChoiceOfResult3();
  controls.GridOptimized.selectedRow = 1;
  GridOptimizedClick(s, controls, host);
  for (uint32_t j = 1; j <= s.dome.pointCount; ++j) {
    const DomePoint& p = s.dome.points[j];
    ExpectLight(j, p.r, p.g, p.b, p.lum, 1, true);
  }
  EXPECT_EQ(controls.StatusBar1.panels[2], "Optimization #1");
}

TEST_F(OptimizeChoice, ClickBeforeTheListOrBeyondItChangesNothing) {
  const auto unchanged = [&](const char* what) {
    for (uint32_t j = 1; j <= s.dome.pointCount; ++j) {
      const DomePoint& p = s.dome.points[j];
      ASSERT_TRUE(p.used) << what;
      ASSERT_EQ(p.lightR, p.r) << what;
      ASSERT_EQ(p.level, s.dome.points[j].maxLevel) << what;
    }
    EXPECT_EQ(controls.StatusBar1.panels[1], "before") << what;
    EXPECT_EQ(controls.PanelSt[6].color, kPanelColor) << what;
  };
  ResetOptimizationFields(s);
  controls.StatusBar1.panels[1] = "before";
  for (uint32_t j = 1; j <= s.dome.pointCount; ++j)
    s.dome.points[j].level = s.dome.points[j].maxLevel = 1;
  s.workflowState = 4;
  GridOptimizedClick(s, controls, host);
  unchanged("state 4");
  s.workflowState = 5;
  controls.GridOptimized.selectedRow = 4;
  GridOptimizedClick(s, controls, host);
  unchanged("row 4 of 3");
}

}  // namespace
}  // namespace halvane
