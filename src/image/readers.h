#pragma once

#include <string>

#include "image/image.h"

namespace halvane {

// The image readers share one shape: file name, the image record, the largest
// width and height accepted, and whether the data is floating point. They
// return true when the image was read; on false the record holds whatever the
// reader had set and callers use nothing of it.
bool ReadHDR(const std::string& fileName, Image& image, int maxWidth, int maxHeight, bool& isFloat);
// Mental-images ".ct" pictures: 8-bit, 16-bit or float RGBA; only float data
// sets `isFloat`.
bool ReadCT(const std::string& fileName, Image& image, int maxWidth, int maxHeight, bool& isFloat);
// Targa ".tga" true-colour pictures of 24 or 32 bits, uncompressed or
// run-length encoded; never floating point.
bool ReadTGA(const std::string& fileName, Image& image, int maxWidth, int maxHeight, bool& isFloat);

}  // namespace halvane
