#include <string>

#include "image/readers.h"

namespace halvane {

std::string SizeText(int width, int height) {
  return std::to_string(width) + " x " + std::to_string(height);
}

std::optional<ReadError> CheckLimits(int width, int height, const ImageLimits& limits) {
  if (height <= limits.maxHeight && width <= limits.maxWidth) return std::nullopt;
  return ReadError{"image too large (" + SizeText(width, height) + ", largest " +
                   SizeText(limits.maxWidth, limits.maxHeight) + ")"};
}

}  // namespace halvane
