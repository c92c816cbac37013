#pragma once

#include <string>

#include "preview/bitmap.h"

namespace halvane {

// Writes `bitmap` as an 8-bit RGB PNG file. Returns false with `error` set
// when the file cannot be written.
bool WritePng(const Bitmap& bitmap, const std::string& path, std::string& error);

}  // namespace halvane
