#include <gtest/gtest.h>

#include "base/number_text.h"
#include "support/session_fixture.h"

namespace halvane {
namespace {

class Workflow : public testing::SessionTest {};

// Background, fill, points and unused boxes ("1" checked) after each state.
TEST_F(Workflow, DisplayChecksFollowTheState) {
  const auto boxes = [&](int state, uint32_t points) {
    s.workflowState = state;
    s.dome.pointCount = points;
    SyncDisplayChecks(s, controls);
    std::string shown;
    for (const CheckBox* box : {&controls.CheckDisplaybackground, &controls.CheckDisplayFill,
                                &controls.CheckDisplayPoints, &controls.CheckDisplay_unused})
      shown += box->checked ? '1' : '0';
    return shown;
  };
  EXPECT_EQ(boxes(1, 0), "1000");
  EXPECT_EQ(boxes(2, 12), "1011");
  controls.CheckDisplayPoints.checked = false;
  EXPECT_EQ(boxes(3, 12), "1101");  // the points box as the user left it
  EXPECT_EQ(boxes(4, 12), "1111");
  EXPECT_EQ(boxes(5, 12), "1110");
  EXPECT_TRUE(s.view.showFill && !s.view.showUnused && s.view.updateEnabled);  // read back
  EXPECT_EQ(boxes(0, 12), "0000");
}

TEST(NumberText, FixedDecimalsRoundHalfToEvenOnTheBinaryValue) {
  const NumberFormat dot{'.', ","};
  EXPECT_EQ(FormatFixed(0.125, 2, dot), "0.12");
  EXPECT_EQ(FormatFixed(0.375, 2, dot), "0.38");
  EXPECT_EQ(FormatFixed(0.85, 1, dot), "0.8");  // 0.85 is slightly below in binary
  EXPECT_EQ(FormatFixed(1234.5, 2, dot, true), "1,234.50");
  EXPECT_EQ(FormatFixed(1234567.0, 0, NumberFormat{',', "."}, true), "1.234.567");
  EXPECT_EQ(FormatFixed(-0.001, 2, dot), "0.00");
  EXPECT_EQ(FormatFixed(-2.5, 1, NumberFormat{',', "."}), "-2,5");
  EXPECT_EQ(PadLeft("0.50", 5), " 0.50");
  EXPECT_EQ(PadLeft("123.45", 5), "123.45");
}

TEST(NumberText, MaskedFieldsReadBlanksAsZeros) {
  for (auto [text, value] : {std::pair{"  .5 ", 0.5f},
                             {"  . 1", 0.01f},
                             {" 1.  ", 1.0f},
                             {"1 .25", 10.25f},
                             {"99.99", 99.99f},
                             {"  .  ", 0.0f}})
    EXPECT_EQ(ReadMaskedField(text), value) << text;
}

}  // namespace
}  // namespace halvane
