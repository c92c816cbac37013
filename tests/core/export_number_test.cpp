#include <gtest/gtest.h>

#include "rig/light_name.h"
#include "rig/script_kind.h"
#include "rig/script_number.h"
#include "support/test_host.h"

namespace halvane {
namespace {

TEST(ExportNumber, WritesThreeDecimalsWithPointAndNoGrouping) {
  EXPECT_EQ(FormatScriptNumber(0.5), "0.500");
  EXPECT_EQ(FormatScriptNumber(0.54), "0.540");
  EXPECT_EQ(FormatScriptNumber(-90.0), "-90.000");
  EXPECT_EQ(FormatScriptNumber(1234.5), "1234.500");
  EXPECT_EQ(FormatScriptNumber(1e21), "1000000000000000000000.000");
  EXPECT_EQ(FormatScriptNumber(1152921504606846976.0), "1152921504606846976.000");
}

TEST(ExportNumber, ValuesRoundingToZeroHaveNoSign) {
  EXPECT_EQ(FormatScriptNumber(-0.0004), "0.000");
  EXPECT_EQ(FormatScriptNumber(-0.0), "0.000");
  EXPECT_EQ(FormatScriptNumber(-0.00049), "0.000");  // -0.0005 first, then a tie to 0
}

TEST(ExportNumber, RoundsToTenThousandthsThenTiesToEvenThousandths) {
  EXPECT_EQ(FormatScriptNumber(0.1485), "0.148");
  EXPECT_EQ(FormatScriptNumber(0.1475), "0.148");
  EXPECT_EQ(FormatScriptNumber(-0.1475), "-0.148");
  EXPECT_EQ(FormatScriptNumber(0.0005), "0.000");
  EXPECT_EQ(FormatScriptNumber(0.0015), "0.002");
  // Rounding once to thousandths would give 0.149; the first step makes a tie.
  EXPECT_EQ(FormatScriptNumber(0.14850001), "0.148");
  EXPECT_EQ(FormatScriptNumber(0.14860001), "0.149");
}

TEST(ExportNumber, CarryRunsIntoTheWholePart) {
  EXPECT_EQ(FormatScriptNumber(9.9995), "10.000");
  EXPECT_EQ(FormatScriptNumber(0.99951), "1.000");
  EXPECT_EQ(FormatScriptNumber(-999.9996), "-1000.000");
  EXPECT_EQ(FormatScriptNumber(123456789.0005), "123456789.000");
}

TEST(ExportNumber, LightNamesPutNumberAndLetterInTheWritersOrder) {
  EXPECT_EQ(MayaLightName(12, 'Q'), "ZR_Light12Q");
  EXPECT_EQ(XsiLightName(12, 'Q'), "ZR_LightQ12");
  EXPECT_EQ(MayaLightName(2600, 'A'), "ZR_Light2600A");
}

TEST(ExportNumber, NameLetterComesFromOneRandomDraw) {
  testing::TestHost host;
  host.nextRandom = 0;
  EXPECT_EQ(DrawNameLetter(host), 'A');
  host.nextRandom = 25;
  EXPECT_EQ(DrawNameLetter(host), 'Z');
  host.nextRandom = 16;
  EXPECT_EQ(DrawNameLetter(host), 'Q');
}

TEST(ExportNumber, ScriptKindFollowsTheExtensionInAnyCase) {
  EXPECT_EQ(ScriptKindForPath("rig.mel"), ScriptKind::Maya);
  EXPECT_EQ(ScriptKindForPath("/tmp/out/Rig.MEL"), ScriptKind::Maya);
  EXPECT_EQ(ScriptKindForPath("rig.Vbs"), ScriptKind::Xsi);
  EXPECT_FALSE(ScriptKindForPath("rig.txt").has_value());
  EXPECT_FALSE(ScriptKindForPath("mel").has_value());
  EXPECT_FALSE(ScriptKindForPath("/tmp/out.mel/rig").has_value());
}

}  // namespace
}  // namespace halvane
