#include "base/number_text.h"

#include <charconv>
#include <cmath>

namespace halvane {
namespace {

std::string GroupThousands(const std::string& digits, const std::string& separator) {
  std::string out;
  const std::size_t n = digits.size();
  for (std::size_t i = 0; i < n; ++i) {
    if (i > 0 && (n - i) % 3 == 0) out += separator;
    out += digits[i];
  }
  return out;
}

long long ReadDigits(const std::string& text) {
  long long v = 0;
  for (char c : text) {
    const int d = (c >= '0' && c <= '9') ? c - '0' : 0;
    v = v * 10 + d;
    if (v > 1'000'000'000LL) break;  // the fields hold two digits; stay bounded anyway
  }
  return v;
}

}  // namespace

std::string FormatFixed(double value, int decimals, const NumberFormat& format, bool grouping) {
  if (!std::isfinite(value)) return std::isnan(value) ? "NAN" : (value > 0 ? "INF" : "-INF");
  char buf[400];
  const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
  std::string text(buf, res.ptr);

  bool negative = !text.empty() && text[0] == '-';
  if (negative) text.erase(0, 1);
  const std::size_t dot = text.find('.');
  std::string whole = text.substr(0, dot);
  std::string fraction = dot == std::string::npos ? "" : text.substr(dot + 1);
  // A value that rounds to zero is written without a sign.
  if (negative && whole.find_first_not_of('0') == std::string::npos &&
      fraction.find_first_not_of('0') == std::string::npos)
    negative = false;

  std::string out = negative ? "-" : "";
  out += grouping ? GroupThousands(whole, format.thousandsSeparator) : whole;
  if (decimals > 0) {
    out += format.decimalSeparator;
    out += fraction;
  }
  return out;
}

std::string PadLeft(std::string text, std::size_t width) {
  if (text.size() < width) text.insert(0, width - text.size(), ' ');
  return text;
}

float ReadMaskedField(const std::string& text) {
  std::string t = text;
  for (char& c : t)
    if (c == ' ') c = '0';
  const std::size_t dot = t.find('.');
  const long long whole = ReadDigits(t.substr(0, dot));
  const long long hundredths = dot == std::string::npos ? 0 : ReadDigits(t.substr(dot + 1));
  return static_cast<float>(static_cast<long double>(whole) +
                            static_cast<long double>(hundredths) / 100.0L);
}

}  // namespace halvane
