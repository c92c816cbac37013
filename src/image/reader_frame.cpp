#include "image/reader_frame.h"

#include <algorithm>
#include <limits>

namespace halvane {

std::optional<std::size_t> LoadAfterHeader(BinaryFile& file, Image& image, int width, int height,
                                           int maxWidth, int maxHeight) {
  image.width = width;
  image.height = height;
  // The record holds the size as a signed 32-bit number; larger files are
  // refused by the buffer limit below anyway.
  image.fileSize =
      static_cast<int32_t>(std::min<int64_t>(file.Size(), std::numeric_limits<int32_t>::max()));
  if (height > maxHeight || width > maxWidth || file.Size() > kFileBufferHighestIndex)
    return std::nullopt;
  const std::size_t count = file.ReadRest(SharedFileBuffer());
  file.Close();
  return count;
}

}  // namespace halvane
