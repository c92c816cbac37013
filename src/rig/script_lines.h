#pragma once

#include <string>
#include <string_view>

namespace halvane {

// Script lines end with carriage return and line feed, whatever the platform.
constexpr std::string_view kScriptLineEnd = "\r\n";

// Appends one script line made of `pieces`, joined with nothing between them.
template <typename... Pieces>
void AddLine(std::string& out, const Pieces&... pieces) {
  (out.append(std::string_view(pieces)), ...);
  out.append(kScriptLineEnd);
}

}  // namespace halvane
