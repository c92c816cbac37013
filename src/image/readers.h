#pragma once

#include <string>

#include "image/image.h"

namespace halvane {

// The image readers share one shape: file name, the image record, the largest
// width and height accepted, and whether the data is floating point. They
// return true when the image was read; on false the record holds whatever the
// reader had set and callers use nothing of it.
bool ReadHDR(const std::string& fileName, image_typ& image, int maxWidth, int maxHeight,
             bool& isFloat);

}  // namespace halvane
