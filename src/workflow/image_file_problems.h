#pragma once

#include <optional>
#include <string>

#include "workflow/session.h"

namespace halvane {

// Why there is no file at `path` to read ("no such file", "name too long",
// "permission denied" for a folder on the way), or nothing when there is.
std::optional<std::string> MissingFileReason(const std::string& path);

// Why the file at `path` does not open for reading: "permission denied", "is
// a folder", "not a regular file", ...
std::string OpenFailureReason(const std::string& path);

// The load's words for a file that ended before its last row: "The file ends
// after row 37 of 4000; the rest is filler." Empty when the loaded image's
// file held every row.
std::string ShortFileText(const Session& session);

}  // namespace halvane
