#include "image/reader_frame.h"

namespace halvane {

std::optional<std::size_t> LoadAfterHeader(BinaryFile& file, image_typ& image, int width,
                                           int height, int32_t fileSize, int maxWidth,
                                           int maxHeight) {
  image.width = width;
  image.height = height;
  image.fileSize = fileSize;
  if (height > maxHeight || width > maxWidth || file.Size() > kFileBufferHighestIndex)
    return std::nullopt;
  const std::size_t count = file.ReadRest(SharedFileBuffer());
  file.Close();
  return count;
}

}  // namespace halvane
