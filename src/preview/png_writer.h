#pragma once

#include <string>

#include "preview/bitmap.h"

namespace halvane {

// Encodes `bitmap` as an 8-bit RGB PNG file's bytes. Returns false with
// `error` set when libpng fails.
bool EncodePng(const Bitmap& bitmap, std::string& bytes, std::string& error);

// Writes `bitmap` as an 8-bit RGB PNG file through WriteOutputFile, so the
// previous file stays whole when writing fails. Returns false with `error`
// set to the reason ("disk full", "no such folder", ...).
bool WritePng(const Bitmap& bitmap, const std::string& path, std::string& error);

}  // namespace halvane
