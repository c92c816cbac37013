#include "rig/shortest_number.h"

#include <charconv>
#include <cmath>
#include <stdexcept>

namespace halvane {
namespace {

// Room for the longest fixed text of a double (about 330 digits).
constexpr int kBufferSize = 400;

template <typename Real>
std::string Shortest(Real value, bool fixed) {
  if (!std::isfinite(value)) throw std::invalid_argument("a number to write is not finite");
  if (value == 0) return "0";  // also -0
  char buffer[kBufferSize];
  const std::to_chars_result result =
      fixed ? std::to_chars(buffer, buffer + kBufferSize, value, std::chars_format::fixed)
            : std::to_chars(buffer, buffer + kBufferSize, value);
  if (result.ec != std::errc()) throw std::invalid_argument("a number is too long to write");
  return std::string(buffer, result.ptr);
}

}  // namespace

std::string ShortestNumber(double value) {
  return Shortest(value, false);
}
std::string ShortestNumber(float value) {
  return Shortest(value, false);
}
std::string ShortestFixedNumber(double value) {
  return Shortest(value, true);
}
std::string ShortestFixedNumber(float value) {
  return Shortest(value, true);
}

}  // namespace halvane
