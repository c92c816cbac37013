#include <gtest/gtest.h>

#include <stdexcept>

#include "rig/light_name.h"
#include "rig/script_kind.h"
#include "rig/script_number.h"

namespace halvane {
namespace {

TEST(ScriptNumber, WritesThreeDecimalsWithPointNoGroupingAndNoSignOnZero) {
  EXPECT_EQ(FormatScriptNumber(0.54), "0.540");
  EXPECT_EQ(FormatScriptNumber(-90.0), "-90.000");
  EXPECT_EQ(FormatScriptNumber(1234.5), "1234.500");
  EXPECT_EQ(FormatScriptNumber(1e21), "1000000000000000000000.000");
  EXPECT_EQ(FormatScriptNumber(1152921504606846976.0), "1152921504606846976.000");
  EXPECT_EQ(FormatScriptNumber(-0.0), "0.000");
  EXPECT_EQ(FormatScriptNumber(-0.0004), "0.000");
  EXPECT_EQ(FormatScriptNumber(-0.00049), "0.000");  // -0.0005 first, then a tie to 0
}

// Two roundings, each half to even: to ten-thousandths on the exact binary
// value, then to thousandths on the digits.
TEST(ScriptNumber, RoundsToTenThousandthsThenTiesToEvenThousandths) {
  EXPECT_EQ(FormatScriptNumber(0.1485), "0.148");
  EXPECT_EQ(FormatScriptNumber(0.1475), "0.148");
  EXPECT_EQ(FormatScriptNumber(-0.1475), "-0.148");
  EXPECT_EQ(FormatScriptNumber(0.0005), "0.000");
  EXPECT_EQ(FormatScriptNumber(0.0015), "0.002");
  EXPECT_EQ(FormatScriptNumber(0.14850001), "0.148");  // once to thousandths: 0.149
  EXPECT_EQ(FormatScriptNumber(0.14860001), "0.149");
  // Scaled by 10000 in double both would be exact ties and go the other way.
  EXPECT_EQ(FormatScriptNumber(0.00745), "0.008");
  EXPECT_EQ(FormatScriptNumber(0.01655), "0.016");
  EXPECT_EQ(FormatScriptNumber(9.9995), "10.000");
  EXPECT_EQ(FormatScriptNumber(0.99951), "1.000");
  EXPECT_EQ(FormatScriptNumber(-999.9996), "-1000.000");
  EXPECT_EQ(FormatScriptNumber(123456789.0005), "123456789.000");
}

TEST(ScriptNumber, LightNamesPutNumberAndLetterInTheWritersOrder) {
  EXPECT_EQ(MayaLightName(12, 'Q'), "ZR_Light12Q");
  EXPECT_EQ(XsiLightName(12, 'Q'), "ZR_LightQ12");
  EXPECT_EQ(MayaLightName(2600, 'A'), "ZR_Light2600A");
  EXPECT_EQ(NameLetter(0), 'A');
  EXPECT_EQ(NameLetter(kNameLetterCount - 1), 'Z');
  EXPECT_THROW(NameLetter(kNameLetterCount), std::out_of_range);
}

TEST(ScriptNumber, ScriptKindFollowsTheExtensionInAnyCase) {
  EXPECT_EQ(ScriptKindForPath("/tmp/out/Rig.MEL"), ScriptKind::Maya);
  EXPECT_EQ(ScriptKindForPath("rig.Vbs"), ScriptKind::Xsi);
  EXPECT_FALSE(ScriptKindForPath("rig.txt").has_value());
  EXPECT_FALSE(ScriptKindForPath("mel").has_value());
  EXPECT_FALSE(ScriptKindForPath("/tmp/out.mel/rig").has_value());
}

}  // namespace
}  // namespace halvane
