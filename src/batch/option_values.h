#pragma once

#include <string>

namespace halvane {

// Readers of option values. Each returns an error text, empty when the value
// is fine.

// A whole number within lo..hi.
std::string ParseWholeNumber(const std::string& text, int lo, int hi, int& value);

// A decimal with at most `decimals` decimals, as an integer in units of
// 10^-decimals ("1.5" with 2 decimals gives 150).
std::string ParseScaledDecimal(const std::string& text, int decimals, long long& scaled);

// A value for a five-character field (two digits, ".", two digits), written
// as a user types it: "1.5" becomes " 1.50".
std::string ParseFieldValue(const std::string& text, std::string& fieldText);

// A track bar value that is `position / divisor` for a whole position in
// lo..hi (for example 3.0 with divisor 10 is position 30).
std::string ParseTrackValue(const std::string& text, int divisor, int lo, int hi, int& position);

}  // namespace halvane
