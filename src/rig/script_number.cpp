#include "rig/script_number.h"

#include <charconv>
#include <cmath>

namespace halvane {
namespace {

// Adds one to a string of decimal digits, growing it on a carry out.
void IncrementDigits(std::string& digits) {
  for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
    if (*it != '9') {
      ++*it;
      return;
    }
    *it = '0';
  }
  digits.insert(digits.begin(), '1');
}

bool IsOdd(char digit) {
  return (digit - '0') % 2 == 1;
}

}  // namespace

std::string FormatScriptNumber(double value) {
  if (!std::isfinite(value)) return std::isnan(value) ? "NAN" : (value > 0 ? "INF" : "-INF");

  // First step: the exact value to ten-thousandths (to_chars rounds exactly,
  // ties to even). Working on the digits keeps the second step exact too.
  char buf[400];
  const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, 4);
  std::string text(buf, res.ptr);
  bool negative = text.front() == '-';
  if (negative) text.erase(0, 1);

  std::string digits;  // the magnitude in ten-thousandths
  for (char c : text)
    if (c != '.') digits += c;

  // Second step: ten-thousandths to thousandths, ties to the even digit.
  const char dropped = digits.back();
  digits.pop_back();
  if (dropped > '5' || (dropped == '5' && IsOdd(digits.back()))) IncrementDigits(digits);

  if (digits.size() < 4) digits.insert(0, 4 - digits.size(), '0');
  if (digits.find_first_not_of('0') == std::string::npos) negative = false;

  std::string out = negative ? "-" : "";
  out.append(digits, 0, digits.size() - 3);
  out += '.';
  out.append(digits, digits.size() - 3, 3);
  return out;
}

}  // namespace halvane
