#pragma once

#include <string>

namespace halvane {

// The shortest decimal text that reads back to exactly `value` ("0.1", "100",
// "1e-07"), "." as decimal separator, no sign on zero. Throws
// std::invalid_argument for infinities and NaN, which no script can hold.
std::string ShortestNumber(double value);
std::string ShortestNumber(float value);

// The same without an exponent ("0.0000001"), for languages whose number
// syntax is not documented to take one.
std::string ShortestFixedNumber(double value);
std::string ShortestFixedNumber(float value);

}  // namespace halvane
