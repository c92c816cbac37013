#pragma once

#include <string>

namespace halvane {

// The text of a real number as embedded in the scripts: rounded half to even
// to 0.0001 on its exact binary value, that result rounded half to even to
// 0.001 on its magnitude, written with three decimals, "." as decimal
// separator, no grouping, no exponent and no sign on zero.
std::string FormatScriptNumber(double value);

}  // namespace halvane
