#pragma once

#include <cstdint>
#include <optional>

#include "image/binary_file.h"
#include "image/image.h"

namespace halvane {

// The part every reader does between its header and its pixels: the header's
// sizes and the file's size go into the image record; sizes above the caller's limits and files
// larger than the shared buffer are refused (nullopt); otherwise the rest of
// the file is loaded into the shared buffer, the file closed, and the count
// of bytes loaded returned (0 after a read error).
std::optional<std::size_t> LoadAfterHeader(BinaryFile& file, Image& image, int width, int height,
                                           int maxWidth, int maxHeight);

}  // namespace halvane
