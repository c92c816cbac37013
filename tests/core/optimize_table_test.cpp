// Ranking the results, the table that shows them and choosing a row.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "optimize/result_table.h"
#include "support/optimize_fixtures.h"
#include "workflow/choose_result.h"
#include "workflow/result_table_view.h"

namespace halvane {
namespace {

class ResultTable : public ::testing::Test {
 protected:
  // Result r decides points 1..n as the digits of `decisions`.
  void SetResult(uint16_t r, const std::string& decisions) {
    pointCount = static_cast<uint32_t>(decisions.size());
    for (std::size_t j = 1; j <= decisions.size(); ++j)
      results->results[r].decision[j] = static_cast<uint8_t>(decisions[j - 1] - '0');
    results->count = std::max(results->count, r);
  }
  // `count` results of `points` points; points beyond `randomPoints` are
  // absorbed, the others get a random decision 0..3.
  void RandomResults(int count, uint32_t points, uint32_t randomPoints, unsigned seed) {
    std::mt19937 random(seed);
    pointCount = points;
    results->count = static_cast<uint16_t>(count);
    for (int r = 1; r <= count; ++r)
      for (uint32_t j = 1; j <= points; ++j)
        At(r).decision[j] = j <= randomPoints ? static_cast<uint8_t>(random() % 4) : 0;
  }
  SearchResult& At(int r) { return results->results[static_cast<std::size_t>(r)]; }
  int PlainDiffIndex(int r, int m) {
    int sum = 0;
    for (int q = 1; q <= m; ++q)
      if (q != r) sum += PlainDifferences(At(r), At(q), pointCount);
    return sum;
  }
  static int PlainDifferences(const SearchResult& a, const SearchResult& b, uint32_t count) {
    int d = 0;
    for (uint32_t j = 1; j <= count; ++j) d += a.decision[j] != b.decision[j];
    return d;
  }

  std::unique_ptr<SearchResults> results = std::make_unique<SearchResults>();
  uint32_t pointCount = 0;
};

TEST_F(ResultTable, StatisticsCountLightsLevelsAndTheAverageReduction) {
  SetResult(1, "12030405601");
  SetResult(2, "000");
  ComputeResultStatistics(At(1), 11);
  EXPECT_EQ(At(1).avgReduction, static_cast<float>(22.0L / 7.0L));
  EXPECT_EQ(At(1).levelCount[1], 2);
  ComputeResultStatistics(At(2), 3);
  EXPECT_TRUE(At(2).lightCount == 0 && At(2).maxReduction == 1);
  EXPECT_EQ(At(2).avgReduction, 1.0f) << "no lights keep an average of one";
}

// Worked through by hand with the quicksort: pivot record 3, exchanges
// (1,5) and (3,4), then 1..3 with pivot record 2, then 4..5.
TEST_F(ResultTable, EqualRecordsEndWhereTheQuicksortPutsThem) {
  const int lights[] = {3, 2, 3, 2, 3};
  for (uint16_t r = 1; r <= 5; ++r) {
    At(r).lightCount = lights[r - 1];
    At(r).decision[1] = static_cast<uint8_t>(r);
  }
  SortByLights(*results, 1, 5);
  std::vector<int> order;
  for (uint16_t r = 1; r <= 5; ++r) order.push_back(At(r).decision[1]);
  EXPECT_EQ(order, (std::vector<int>{4, 2, 5, 1, 3}));
}

// Keys (lights, singles, average): (4,2,1.5) (4,1,1.75) (4,1,2.0) (3,3,1.0)
// (4,2,1.5). Fewest lights, then fewer singles, then smaller average; the
// two equal records change places. Five results: no difference ordering.
TEST_F(ResultTable, FewerLightsThenFewerSinglesThenSmallerAverage) {
  for (const char* decisions : {"11220000", "12220000", "12230000", "11100000", "22110000"})
    SetResult(static_cast<uint16_t>(results->count + 1), decisions);
  RankResults(*results, pointCount);
  EXPECT_EQ(testing::ResultTexts(*results, pointCount),
            (std::vector<std::string>{"11100000", "12220000", "12230000", "22110000", "11220000"}));
  const int diffIndex[] = {11, 8, 9, 13, 9};
  for (int r = 1; r <= 5; ++r) EXPECT_EQ(At(r).diffIndex, diffIndex[r - 1]) << r;
}

// Rows 5.. are ordered by difference index (then more lights); only the 750
// with fewest lights take part, the others keep their light order and no
// index.
TEST_F(ResultTable, FromRowFiveTheMostDifferentAmongThe750BestComeFirst) {
  RandomResults(760, 60, 30, 11);  // at most 30 lights each
  for (int k = 0; k < 10; ++k) {   // ten results with 41..50 lights, out of order
    const uint32_t lights = 41 + static_cast<uint32_t>((k * 7) % 10);
    for (uint32_t j = 1; j <= 60; ++j) At(100 + 60 * k).decision[j] = j <= lights ? 1 : 0;
  }
  RankResults(*results, pointCount);
  // Rows 1..4 are the four with fewest lights, in order.
  for (int r = 2; r <= 760; ++r)
    ASSERT_LE(At(std::min(r - 1, 4)).lightCount, At(r).lightCount) << r;
  for (int r = 6; r <= 750; ++r) {
    ASSERT_GE(At(r - 1).diffIndex, At(r).diffIndex) << r;
    ASSERT_TRUE(At(r - 1).diffIndex > At(r).diffIndex || At(r - 1).lightCount >= At(r).lightCount)
        << r;
  }
  for (int r = 1; r <= 750; r += 149) EXPECT_EQ(At(r).diffIndex, PlainDiffIndex(r, 750)) << r;
  for (int r = 751; r <= 760; ++r)
    EXPECT_TRUE(At(r).lightCount == 41 + (r - 751) && At(r).diffIndex == 0) << r;
}

// Reducing and collapsing lights use the selected row's result, or none.
TEST_F(ResultTable, ARowOutsideTheStoreGivesAResultWithoutDecisions) {
  SetResult(1, "1111");
  for (int row : {-1, 5001, 100000})
    EXPECT_EQ(testing::DecisionText(ResultForRow(*results, row), 4), "0000") << row;
  EXPECT_EQ(testing::DecisionText(ResultForRow(*results, 1), 4), "1111");
}

TEST_F(ResultTable, CountDifferencesAgreesWithAPlainCount) {
  std::mt19937 random(3);
  SearchResult& a = At(1);
  SearchResult& b = At(2);
  for (uint32_t length : {1u, 7u, 9u, 63u, 641u, 642u, 2561u, 2600u}) {
    for (int round = 0; round < 20; ++round) {
      const unsigned range = round % 2 == 1 ? 256 : 7;
      for (uint32_t j = 0; j <= 2600; ++j) {
        a.decision[j] = static_cast<uint8_t>(random() % range);
        b.decision[j] = random() % 3 == 0 ? static_cast<uint8_t>(random() % range) : a.decision[j];
      }
      ASSERT_EQ(CountDifferences(a, b, length), PlainDifferences(a, b, length)) << length;
    }
  }
  EXPECT_EQ(CountDifferences(a, b, 3000), PlainDifferences(a, b, 2600)) << "not past the capacity";
}

TEST_F(ResultTable, TheGridShowsPaddedCellsOfAtMost100Rows) {
  testing::DomeRun run;  // a started session: the grid has its header
  ControlModel& controls = run.controls;
  testing::TestHost& host = run.host;
  std::vector<std::string> row(6);
  const auto Row = [&](int r) {
    for (int col = 0; col < 6; ++col) row[col] = controls.GridOptimized.Cell(col, r);
    return row;
  };
  host.numberFormat = NumberFormat{',', "."};
  SetResult(1, "11230000");
  SetResult(2, "61100000");
  At(1).recordedLights = 12;
  At(2).recordedLights = 123456;  // not cut to the width
  RankResults(*results, pointCount);
  ShowResultTable(*results, controls, host);
  ASSERT_EQ(controls.GridOptimized.rowCount, 3);
  EXPECT_EQ(Row(0), (std::vector<std::string>{"Nb.", "# lights", "average reduction",
                                              "min reduction", "max reduction", "diff. index"}));
  EXPECT_EQ(Row(1),
            (std::vector<std::string>{"   1", "    3", " 2,67", "123456", "    6", "    3"}));
  EXPECT_EQ(Row(2),
            (std::vector<std::string>{"   2", "    4", " 1,75", "   12", "    3", "    3"}));

  RandomResults(120, 20, 20, 9);
  ShowResultTable(*results, controls, host);
  EXPECT_EQ(controls.GridOptimized.rowCount, 101);
  EXPECT_EQ(controls.GridOptimized.Cell(0, 100), " 100");
}

// ---------------------------------------------------------------------------
// Choosing a row. Five points in a row: point 2 collects 1 and 3 (level 2)
// and 4 (level 3); result 3 collapses point 2 at level 3.

class ChooseResultTest : public ::testing::Test, public testing::DomeRun {
 protected:
  void SetUp() override {
    testing::AddSingles(dome, 5);
    testing::SetRings(dome, 2, {{1, 3}, {4}});
    for (uint32_t i = 1; i <= 5; ++i) {
      DomePoint& p = dome.points[i];
      p.r = 0.1f * static_cast<float>(i);
      p.g = 0.3f + 0.01f * static_cast<float>(i);
      p.b = 1.0f / static_cast<float>(i);
      p.lum = 0.7f + 0.001f * static_cast<float>(i);
    }
    s.results.count = 3;
    for (uint32_t j = 1; j <= 5; ++j) {
      s.results.results[1].decision[j] = 1;
      s.results.results[3].decision[j] = static_cast<uint8_t>("03001"[j - 1] - '0');
    }
    s.workflowState = 5;
  }
  // Sums of the collapse's members one addition at a time in single
  // precision, in list order.
  float Sum(float DomePoint::*field) const {
    float sum = 0;
    for (int32_t m : {2, 1, 3, 4}) sum = sum + dome.points[static_cast<std::size_t>(m)].*field;
    return sum;
  }
  void ExpectLight(uint32_t j, float r, float g, float b, float lum, int level) const {
    const DomePoint& p = dome.points[j];
    EXPECT_TRUE(p.lightR == r && p.lightG == g && p.lightB == b && p.lightLum == lum) << j;
    EXPECT_TRUE(p.level == level && p.used == (level != 0)) << j;
  }
  void ExpectSampledColour(uint32_t j) const {
    const DomePoint& p = dome.points[j];
    ExpectLight(j, p.r, p.g, p.b, p.lum, 1);
  }

  Dome& dome = s.dome;
};

// A row outside the list or before an optimization changes nothing; a listed
// row gives the centres the summed colour of their members, again and again.
TEST_F(ChooseResultTest, CentresGetTheSummedColourOfTheirMembersOfAListedRowOnly) {
  controls.StatusBar1.panels[1] = "before";
  for (auto [state, row] : {std::pair{4, 3}, {5, 0}, {5, 4}}) {
    s.workflowState = state;
    controls.GridOptimized.selectedRow = row;
    EXPECT_EQ(ChooseResult(s, controls, host).status, StepStatus::kNotRun) << row;
  }
  EXPECT_TRUE(controls.StatusBar1.panels[1] == "before" &&
              controls.PanelSt[6].color == kPanelColor);
  for (uint32_t j = 1; j <= 5; ++j) EXPECT_EQ(dome.points[j].lightLum, 0.0f);

  controls.GridOptimized.selectedRow = 3;
  controls.PanelSt[7].color = kPanelDoneColor;
  for (int round = 0; round < 2; ++round) {
    ASSERT_TRUE(ChooseResult(s, controls, host).done());
    ExpectLight(2, Sum(&DomePoint::r), Sum(&DomePoint::g), Sum(&DomePoint::b), Sum(&DomePoint::lum),
                3);
    for (uint32_t absorbed : {1u, 3u, 4u}) ExpectLight(absorbed, 0, 0, 0, 0, 0);
    ExpectSampledColour(5);
  }
  EXPECT_EQ(controls.StatusBar1.panels[1], "Optimization selected.");
  EXPECT_EQ(controls.StatusBar1.panels[2], "Optimization #3");
  EXPECT_TRUE(controls.LabelSt[6].bold && controls.PanelSt[7].color == kPanelColor);
  controls.GridOptimized.selectedRow = 1;
  ChooseResult(s, controls, host);
  for (uint32_t j = 1; j <= 5; ++j) ExpectSampledColour(j);
}

}  // namespace
}  // namespace halvane
