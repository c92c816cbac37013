#include "preview/preview_mapping.h"

#include <algorithm>
#include <cstdint>

#include "preview/view_state.h"

namespace halvane {

int PreviewCoordinate(int imagePosition, int imageSize) {
  if (imageSize <= 0) return 0;
  const int64_t p = static_cast<int64_t>(imagePosition) * kPreviewSize / imageSize;
  return static_cast<int>(std::min<int64_t>(p, kPreviewSize - 1));
}

}  // namespace halvane
