#pragma once

#include <string>

namespace halvane {

// A system error number in a few words for a message about a file: "disk
// full", "permission denied", "name too long", "no such file", ...
std::string FileErrorReason(int error);

}  // namespace halvane
