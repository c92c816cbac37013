#include "batch/option_values.h"

#include <cstdio>

namespace halvane {
namespace {

std::string Decimal(long long scaled, int decimals) {
  long long unit = 1;
  for (int i = 0; i < decimals; ++i) unit *= 10;
  char buf[64];
  std::snprintf(buf, sizeof buf, "%lld.%0*lld", scaled / unit, decimals, scaled % unit);
  return buf;
}

}  // namespace

std::string ParseWholeNumber(const std::string& text, int lo, int hi, int& value) {
  long long scaled = 0;
  if (!ParseScaledDecimal(text, 0, scaled).empty() || text.find('.') != std::string::npos)
    return "'" + text + "' is not a whole number";
  if (scaled < lo || scaled > hi)
    return "'" + text + "' is outside " + std::to_string(lo) + ".." + std::to_string(hi);
  value = static_cast<int>(scaled);
  return {};
}

std::string ParseScaledDecimal(const std::string& text, int decimals, long long& scaled) {
  const std::string bad = "'" + text + "' is not a number";
  if (text.empty()) return bad;
  long long whole = 0, fraction = 0;
  int fractionDigits = 0, wholeDigits = 0;
  bool seenPoint = false;
  for (char c : text) {
    if (c == '.' && !seenPoint) {
      seenPoint = true;
    } else if (c >= '0' && c <= '9') {
      if (seenPoint) {
        if (++fractionDigits > decimals)
          return "'" + text + "' has more than " + std::to_string(decimals) + " decimals";
        fraction = fraction * 10 + (c - '0');
      } else {
        if (++wholeDigits > 9) return "'" + text + "' is too large";
        whole = whole * 10 + (c - '0');
      }
    } else {
      return bad;
    }
  }
  if (wholeDigits + fractionDigits == 0) return bad;
  for (int i = fractionDigits; i < decimals; ++i) fraction *= 10;
  long long unit = 1;
  for (int i = 0; i < decimals; ++i) unit *= 10;
  scaled = whole * unit + fraction;
  return {};
}

std::string ParseFieldValue(const std::string& text, std::string& fieldText) {
  long long hundredths = 0;
  if (std::string e = ParseScaledDecimal(text, 2, hundredths); !e.empty()) return e;
  if (hundredths > 9999) return "'" + text + "' is outside 0.00..99.99";
  char buf[32];
  std::snprintf(buf, sizeof buf, "%2lld.%02lld", hundredths / 100, hundredths % 100);
  fieldText = buf;
  return {};
}

std::string ParseTrackValue(const std::string& text, int divisor, int lo, int hi, int& position) {
  long long hundredths = 0;
  if (std::string e = ParseScaledDecimal(text, 2, hundredths); !e.empty()) return e;
  const long long scaled = hundredths * divisor;
  const std::string range =
      Decimal(lo * 100LL / divisor, 2) + ".." + Decimal(hi * 100LL / divisor, 2);
  if (scaled < lo * 100LL || scaled > hi * 100LL) return "'" + text + "' is outside " + range;
  if (scaled % 100 != 0)
    return "'" + text + "' is not a step of the control (1/" + std::to_string(divisor) + ")";
  position = static_cast<int>(scaled / 100);
  return {};
}

}  // namespace halvane
