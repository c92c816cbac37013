#pragma once

#include <string>

namespace halvane {

// The user's number format: decimal and thousands separators.
struct NumberFormat {
  char decimalSeparator = '.';
  std::string thousandsSeparator = ",";
};

// `value` with a fixed number of decimals, rounded half to even on its exact
// binary value, with the format's decimal separator and, when `grouping`, its
// thousands separator.
std::string FormatFixed(double value, int decimals, const NumberFormat& format,
                        bool grouping = false);

// Pads `text` on the left with blanks to at least `width` characters.
std::string PadLeft(std::string text, std::size_t width);

// Reads a five-character masked field ("!99.99;1;0"): blanks count as "0",
// the digits before the first "." are the whole part, those after it the
// hundredths. Characters other than digits read as 0.
float ReadMaskedField(const std::string& text);

}  // namespace halvane
