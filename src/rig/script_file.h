#pragma once

#include <string>
#include <string_view>

namespace halvane {

// Writes `text` byte for byte to `path` through WriteOutputFile, so that a
// failure never leaves a partial file under that name and the previous file
// stays as it was. Returns an empty string on success, otherwise a message
// naming the path and the reason.
std::string WriteFileReplacing(const std::string& path, std::string_view text);

// The message for a file that could not be written, with the reason.
std::string WriteFailureText(const std::string& path, const std::string& reason);

}  // namespace halvane
