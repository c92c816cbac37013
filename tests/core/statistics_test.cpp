#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <tuple>

#include "dome/statistics.h"
#include "support/dome_fixture.h"
#include "support/optimize_fixtures.h"
#include "workflow/dome_display.h"

namespace halvane {
namespace {

using testing::PlacePoint;

class RingSums : public testing::SessionTest {};

TEST_F(RingSums, CoverOneToFiveRings) {
  Dome& dome = s.dome;
  testing::MakeGrid(dome, 4, 200, 100);
  for (uint32_t i = 1; i <= dome.pointCount; ++i) dome.points[i].lum = 1.0f;
  ComputeRingSums(dome);

  int fullHexagons = 0;
  for (uint32_t i = 1; i <= dome.pointCount; ++i) {
    const DomePoint& p = dome.points[i];
    const std::array<float, 6> sums{0, p.lumSum7, p.lumSum19, p.lumSum37, p.lumSum61, p.lumSum91};
    std::array<int, 6> ball{};  // points within 1..5 neighbour steps
    for (int d : testing::StepsFrom(s, i))
      for (int r = 1; r <= 5; ++r) ball[r] += d >= 0 && d <= r;
    if (testing::NeighbourCount(p) == 5) {
      // A vertex of the icosahedron: 1 + 5 and 1 + 5 + 10; the wider rings
      // fall short because their expansion starts where a six-neighbour list would.
      EXPECT_TRUE(p.lumSum7 == 6.0f && p.lumSum19 == 16.0f) << i;
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
  // Five rings clear of every vertex: the three points of each face that are
  // five steps from all its corners.
  EXPECT_EQ(fullHexagons, 60);
}

TEST_F(RingSums, EveryAdditionIsRoundedToSingle) {
  // 1 + 2^-24 rounds back to 1 each time; summed first, six of them would not.
  PlacePoint(s.dome, 1, 0, 0, {2, 3, 4, 5, 6, 7});
  s.dome.points[1].lum = 1.0f;
  for (uint32_t i = 2; i <= 7; ++i) {
    PlacePoint(s.dome, i, 0, 0, {1});
    s.dome.points[i].lum = std::ldexp(1.0f, -24);
  }
  ComputeRingSums(s.dome);
  EXPECT_TRUE(s.dome.points[1].lumSum7 == 1.0f && s.dome.points[1].lumSum91 == 1.0f);
  EXPECT_EQ(s.dome.points[2].lumSum19, 1.0f);
}

// Four hand-made points: 1-2, 1-3, 2-3 and 3-4 are neighbours.
class HandMadeStatistics : public testing::SessionTest {
 protected:
  void SetUp() override {
    PlacePoint(s.dome, 1, 0, 0, {2, 3});
    PlacePoint(s.dome, 2, 0, 0, {1, 3});
    PlacePoint(s.dome, 3, 0, 0, {1, 2, 0, 0, 0, 4});  // every slot counts
    PlacePoint(s.dome, 4, 0, 0, {3});
    const float lumRgb[5][4] = {
        {}, {2, 1, 2, 3}, {0.5f, 0.5f, 0.5f, 0.5f}, {4, 4, 3, 5}, {12.34f, 10, 12, 20}};
    for (std::size_t i = 1; i <= 4; ++i) {
      DomePoint& p = s.dome.points[i];
      std::tie(p.lum, p.r, p.g, p.b) =
          std::tuple(lumRgb[i][0], lumRgb[i][1], lumRgb[i][2], lumRgb[i][3]);
      p.used = i % 2 == 1;
    }
  }
};

TEST_F(HandMadeStatistics, LuminanceAndNeighbourDifferences) {
  const DomeStatistics st = MeasureStatistics(s.dome, true, Progress{});
  EXPECT_TRUE(st.minLum == 0.5f && st.maxLum == 12.34f);  // min not the first point's value
  EXPECT_EQ(st.avgLum, static_cast<float>((6.5L + 12.34f) / 4));
  EXPECT_EQ(st.usedPointCount, 2);
  // Four pairs, each counted once: 1.5, 2, 3.5 and 12.34 - 4 apart.
  EXPECT_EQ(st.avgLumDiff, static_cast<float>((7.0L + (12.34f - 4.0L)) / 4));
  // Colour distances 4.5, 6, 10.5 and 30 over four pairs and three channels.
  EXPECT_EQ(st.avgColorDiff, 4.25f);

  const DomeStatistics withoutPairs = MeasureStatistics(s.dome, false, Progress{});
  EXPECT_TRUE(withoutPairs.avgLumDiff == 0 && withoutPairs.avgColorDiff == 0);

  s.dome.pointCount = 0;
  EXPECT_EQ(MeasureStatistics(s.dome, true, Progress{}).avgLum, 0.0f);
}

TEST_F(HandMadeStatistics, LabelsInTheUsersNumberFormatNeverCutDigits) {
  StatisticsPass(s, controls, host);
  EXPECT_EQ(controls.LabelMinvalue.caption, "Min Luminance:                      0.50");
  EXPECT_EQ(controls.LabelAverageValue.caption, "Average Luminane:                   4.71");
  EXPECT_EQ(controls.LabelThresholdNeighb.caption, "Av. Lum. diff. (neighbour points):  3.84");
  EXPECT_EQ(controls.LabelThresholdNeighColor.caption, "Av. Color diff. (neighbour points): 4.25");

  host.numberFormat = NumberFormat{',', "."};
  controls.CheckThresholds.checked = false;
  s.dome.points[4].lum = 1234.5f;
  StatisticsPass(s, controls, host);
  EXPECT_EQ(controls.LabelMinvalue.caption, "Min Luminance:                      0,50");
  EXPECT_EQ(controls.LabelMaxvalue.caption, "Max Luminance:                     1234,50");
  EXPECT_EQ(controls.LabelThresholdNeighColor.caption, "Av. Color diff. (neighbour points): 0,00");
}

TEST(FieldText, TruncatedAndRoundedIntoFiveCharacters) {
  EXPECT_EQ(FieldTextTruncated(0.05f), " 0. 5");  // reads back as 0.05
  EXPECT_EQ(FieldTextTruncated(12.5f), "12.50");
  EXPECT_EQ(FieldTextTruncated(-2.5f), " 0. 0");   // the field holds no sign
  EXPECT_EQ(FieldTextTruncated(100.0f), "99.99");  // the most the field shows
  EXPECT_EQ(FieldTextRounded(0.625L), " 0.62");    // a tie goes to the even digit
  EXPECT_EQ(FieldTextRounded(1.375L), " 1.38");
  EXPECT_EQ(FieldTextRounded(99.996L), "99.99");  // not "100.00"
  EXPECT_EQ(FieldTextRounded(150.0L), "99.99");
}

}  // namespace
}  // namespace halvane
