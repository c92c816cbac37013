#pragma once

#include <optional>
#include <string>

namespace halvane {

// The light name letter A..Z the batch tool gives every output of one image:
// drawn from a 64-bit FNV-1a hash of the image file's bytes, so the same
// image gives the same scripts every run. Empty when the file cannot be read.
std::optional<char> ImageFileLetter(const std::string& path);

}  // namespace halvane
