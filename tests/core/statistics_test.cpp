#include <gtest/gtest.h>

#include <array>
#include <set>
#include <vector>

#include "dome/colour_step.h"
#include "dome/statistics.h"
#include "support/dome_fixture.h"
#include "support/optimize_fixtures.h"

namespace halvane {
namespace {

class Statistics : public testing::DomeTest {};

// Number of points within 1..5 neighbour steps of `centre`.
std::array<int, 6> BallSizes(const Session& s, uint32_t centre) {
  const std::vector<int> distance = testing::StepsFrom(s, centre);
  std::array<int, 6> sizes{};
  for (int d : distance)
    for (int r = 1; r <= 5; ++r) sizes[r] += d >= 0 && d <= r;
  return sizes;
}

TEST_F(Statistics, RingSumsCoverOneToFiveRings) {
  UseUniformImage(200, 100, 0.0f);
  GeneratePoints(4);
  for (uint32_t i = 1; i <= s.dome.pointCount; ++i) s.dome.points[i].lum = 1.0f;
  ComputeRingSums(s);

  int fullHexagons = 0;
  for (uint32_t i = 1; i <= s.dome.pointCount; ++i) {
    const DomePoint& p = s.dome.points[i];
    const std::array<float, 6> sums{0, p.lumSum7, p.lumSum19, p.lumSum37, p.lumSum61, p.lumSum91};
    const std::array<int, 6> ball = BallSizes(s, i);
    if (testing::NeighbourCount(p) == 5) {
      // A base vertex: 1 + 5 and 1 + 5 + 10; the wider rings fall slightly
      // short because their expansion starts where a six-neighbour list would.
      EXPECT_EQ(p.lumSum7, 6.0f) << i;
      EXPECT_EQ(p.lumSum19, 16.0f) << i;
      for (int r = 3; r <= 5; ++r) {
        EXPECT_LT(sums[r], static_cast<float>(ball[r])) << i << " ring " << r;
        EXPECT_GT(sums[r], static_cast<float>(ball[r - 1])) << i << " ring " << r;
      }
      continue;
    }
    for (int r = 1; r <= 5; ++r)
      ASSERT_EQ(sums[r], static_cast<float>(ball[r])) << i << " ring " << r;
    fullHexagons += ball == std::array<int, 6>{0, 7, 19, 37, 61, 91};
  }
  // Five rings clear of every base vertex: the three points of each face
  // that are five steps from all its corners.
  EXPECT_EQ(fullHexagons, 60);
}

// Four hand-made points: 1-2, 1-3, 2-3 and 3-4 are neighbours.
class HandMadeStatistics : public Statistics {
 protected:
  void SetUp() override {
    Statistics::SetUp();
    SetPoint(1, 2.0f, {1, 2, 3}, {2, 3});
    SetPoint(2, 0.5f, {0.5f, 0.5f, 0.5f}, {1, 3});
    SetPoint(3, 4.0f, {4, 3, 5}, {1, 2, 4});
    SetPoint(4, 12.34f, {10, 12, 20}, {3});
    s.dome.points[1].used = true;
    s.dome.points[3].used = true;
  }
  void SetPoint(uint32_t i, float lum, std::array<float, 3> rgb,
                std::initializer_list<int32_t> nbs) {
    PlacePoint(i, 0, 0, nbs);
    s.dome.points[i].lum = lum;
    s.dome.points[i].r = rgb[0];
    s.dome.points[i].g = rgb[1];
    s.dome.points[i].b = rgb[2];
  }
};

TEST_F(HandMadeStatistics, LuminanceAndNeighbourDifferences) {
  StatisticsPass(s, controls, host);
  EXPECT_EQ(s.statistics.minLum, 0.5f);  // not the first point's value
  EXPECT_EQ(s.statistics.maxLum, 12.34f);
  EXPECT_EQ(s.statistics.avgLum, static_cast<float>((6.5L + 12.34f) / 4));
  EXPECT_EQ(s.statistics.usedPointCount, 2);
  // Four pairs, each counted once: 1.5, 2, 3.5 and 12.34 - 4 apart.
  EXPECT_EQ(s.statistics.avgLumDiff, static_cast<float>((7.0L + (12.34f - 4.0L)) / 4));
  // Colour distances 4.5, 6, 10.5 and 30 over four pairs and three channels.
  EXPECT_EQ(s.statistics.avgColorDiff, 4.25f);

  EXPECT_EQ(controls.LabelMinvalue.caption, "Min Luminance:                      0.50");
  EXPECT_EQ(controls.LabelMaxvalue.caption, "Max Luminance:                     12.34");
  EXPECT_EQ(controls.LabelAverageValue.caption, "Average Luminane:                   4.71");
  EXPECT_EQ(controls.LabelThresholdNeighb.caption, "Av. Lum. diff. (neighbour points):  3.84");
  EXPECT_EQ(controls.LabelThresholdNeighColor.caption, "Av. Color diff. (neighbour points): 4.25");
}

TEST_F(HandMadeStatistics, UncheckedThresholdsSkipThePairs) {
  controls.CheckThresholds.checked = false;
  StatisticsPass(s, controls, host);
  EXPECT_EQ(s.statistics.avgLumDiff, 0.0f);
  EXPECT_EQ(s.statistics.avgColorDiff, 0.0f);
  EXPECT_EQ(s.statistics.maxLum, 12.34f);
  EXPECT_EQ(s.statistics.minLum, 0.5f);
  EXPECT_EQ(controls.LabelThresholdNeighColor.caption, "Av. Color diff. (neighbour points): 0.00");
}

TEST_F(HandMadeStatistics, LabelsUseTheUsersNumberFormatAndNeverCutDigits) {
  host.numberFormat = NumberFormat{',', "."};
  s.dome.points[4].lum = 1234.5f;
  StatisticsPass(s, controls, host);
  EXPECT_EQ(controls.LabelMinvalue.caption, "Min Luminance:                      0,50");
  EXPECT_EQ(controls.LabelMaxvalue.caption, "Max Luminance:                     1234,50");
}

TEST_F(Statistics, NoPointsGiveZeroAverages) {
  StatisticsPass(s, controls, host);
  EXPECT_EQ(s.statistics.avgLum, 0.0f);
  EXPECT_EQ(s.statistics.avgLumDiff, 0.0f);
  EXPECT_EQ(controls.LabelAverageValue.caption, "Average Luminane:                   0.00");
}

TEST_F(Statistics, ColourStepProposesTolerancesFromTheMaximum) {
  host.numberFormat = NumberFormat{',', "."};  // fields always take "."
  UseUniformImage(400, 200, 12.34f);
  ButtonApplyColorClick(s, controls, host);
  ASSERT_EQ(s.statistics.maxLum, 12.34f);
  EXPECT_EQ(controls.EditLumToleranceNeighbour.text, " 3.70");
  EXPECT_EQ(controls.EditLumTolerance.text, " 1.23");
  EXPECT_EQ(controls.EditOptThreshold.text, " 0.25");  // a flat picture has no colour difference
  EXPECT_EQ(controls.EditRedThreshold.text, " 0.05");
  EXPECT_EQ(controls.LabelMaxvalue.caption, "Max Luminance:                     12,34");

  UseUniformImage(400, 200, 2.99f);  // 0.897 and 0.299: cut, not rounded
  ButtonApplyColorClick(s, controls, host);
  EXPECT_EQ(controls.EditLumToleranceNeighbour.text, " 0.89");
  EXPECT_EQ(controls.EditLumTolerance.text, " 0.29");
}

TEST(FieldText, TruncatedKeepsTheFirstTwoDecimals) {
  EXPECT_EQ(FieldTextTruncated(0.05f), " 0. 5");  // reads back as 0.05
  EXPECT_EQ(FieldTextTruncated(3.456f), " 3.45");
  EXPECT_EQ(FieldTextTruncated(12.5f), "12.50");
  EXPECT_EQ(FieldTextTruncated(0.0f), " 0. 0");
  EXPECT_EQ(FieldTextTruncated(-2.5f), " 0. 0");  // the field holds no sign
  // Above what five characters hold: the largest value the field can show.
  EXPECT_EQ(FieldTextTruncated(100.0f), "99.99");
  EXPECT_EQ(FieldTextTruncated(150.0f), "99.99");
}

TEST(FieldText, RoundedHasTwoDecimalsRightAligned) {
  EXPECT_EQ(FieldTextRounded(0.25L), " 0.25");
  EXPECT_EQ(FieldTextRounded(0.625L), " 0.62");  // a tie goes to the even digit
  EXPECT_EQ(FieldTextRounded(1.375L), " 1.38");
  EXPECT_EQ(FieldTextRounded(12.0L), "12.00");
  EXPECT_EQ(FieldTextRounded(99.994L), "99.99");
  EXPECT_EQ(FieldTextRounded(99.996L), "99.99");  // not "100.00"
  EXPECT_EQ(FieldTextRounded(150.0L), "99.99");
}

TEST_F(Statistics, ThresholdProposalsFollowTheColourDifference) {
  s.statistics.avgColorDiff = 0.125f;
  ProposeOptimizationThresholds(s, controls);
  EXPECT_EQ(controls.EditOptThreshold.text, " 0.62");  // 0.625 exactly
  EXPECT_EQ(controls.EditRedThreshold.text, " 0.11");  // 0.1125
  s.statistics.avgColorDiff = 0.375f;
  ProposeOptimizationThresholds(s, controls);
  EXPECT_EQ(controls.EditOptThreshold.text, " 1.38");
  EXPECT_EQ(controls.EditRedThreshold.text, " 0.24");
  s.statistics.avgColorDiff = 40.0f;
  ProposeOptimizationThresholds(s, controls);
  EXPECT_EQ(controls.EditOptThreshold.text, "99.99");
  EXPECT_EQ(controls.EditRedThreshold.text, "20.05");
}

TEST_F(Statistics, SortMovesWholeRecordsInKeyOrder) {
  constexpr uint32_t kCount = 60;
  std::vector<float> keyOf(kCount + 1);
  for (uint32_t id = 1; id <= kCount; ++id) {
    keyOf[id] = static_cast<float>((id * 37) % 23);  // scrambled, with repeats
    DomePoint& p = s.dome.points[id];
    p.px = static_cast<uint16_t>(id);
    p.x = id * 0.5;
    p.r = static_cast<float>(id);
    p.lightLum = static_cast<float>(2 * id);
    p.used = id % 2 == 1;
    p.level = static_cast<int32_t>(id);
    p.members[92] = static_cast<int32_t>(id);
    p.lumSum7 = static_cast<float>(id);
    p.lumSum61 = keyOf[id];
  }
  s.dome.pointCount = kCount;
  SortPoints(s, controls, host);

  std::set<uint32_t> seen;
  for (uint32_t i = 1; i <= kCount; ++i) {
    const DomePoint& p = s.dome.points[i];
    const uint32_t id = p.px;
    seen.insert(id);
    if (i > 1) {
      ASSERT_LE(s.dome.points[i - 1].lumSum61, p.lumSum61) << i;
    }
    ASSERT_EQ(p.lumSum61, keyOf[id]) << i;
    ASSERT_EQ(p.x, id * 0.5) << i;
    ASSERT_EQ(p.r, static_cast<float>(id)) << i;
    ASSERT_EQ(p.lightLum, static_cast<float>(2 * id)) << i;
    ASSERT_EQ(p.used, id % 2 == 1) << i;
    ASSERT_EQ(p.level, static_cast<int32_t>(id)) << i;
    ASSERT_EQ(p.members[92], static_cast<int32_t>(id)) << i;
    ASSERT_EQ(p.lumSum7, static_cast<float>(id)) << i;
  }
  EXPECT_EQ(seen.size(), kCount);
  EXPECT_EQ(s.dome.points[kCount + 1].px, 0);  // nothing moved past the count
}

}  // namespace
}  // namespace halvane
