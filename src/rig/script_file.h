#pragma once

#include <string>
#include <string_view>

namespace halvane {

// Writes `text` byte for byte to `path`, replacing any file there. The text
// goes to a temporary file in the same folder first, which is renamed over
// `path` once complete, so a failure never leaves a partial file under that
// name. Returns an empty string on success, otherwise a message naming the
// path and the system's error text.
std::string WriteFileReplacing(const std::string& path, std::string_view text);

// The message for a file that could not be written, with the reason.
std::string WriteFailureText(const std::string& path, const std::string& reason);

}  // namespace halvane
