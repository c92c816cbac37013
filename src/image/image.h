#pragma once

#include <cstdint>
#include <vector>

namespace halvane {

// The in-memory picture: three floats per pixel in the order blue, green, red,
// row-major, row 0 the top row. Element 3 * (y * width + x) + k is channel k.
struct Image {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<float> pixels;

  // Index of channel k of pixel (x, y), or -1 when it lies outside the
  // pixel array (the array may be smaller than width x height after a failed read).
  std::ptrdiff_t ChannelIndex(int x, int y, int k) const {
    if (x < 0 || y < 0 || x >= width || y >= height || k < 0 || k > 2) return -1;
    const std::ptrdiff_t i = 3 * (static_cast<std::ptrdiff_t>(y) * width + x) + k;
    return i < static_cast<std::ptrdiff_t>(pixels.size()) ? i : -1;
  }

  // True when every pixel of width x height lies inside the pixel array.
  bool HoldsAllPixels() const {
    return width > 0 && height > 0 &&
           pixels.size() >= 3 * static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  }
};

}  // namespace halvane
