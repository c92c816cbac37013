#include "preview/image_layer.h"

#include <algorithm>
#include <cstdint>
#include <exception>
#include <limits>
#include <thread>

#include "preview/preview_mapping.h"
#include "preview/view_state.h"

namespace halvane {
namespace {

int SourceCoordinate(int previewPosition, int imageSize) {
  return static_cast<int>(static_cast<int64_t>(imageSize) * previewPosition / kPreviewSize);
}

struct LayerBand {
  int fromRow = 0, toRow = 0;
  float maxSample = -std::numeric_limits<float>::infinity();
  std::vector<UnconvertiblePixel> unconvertible;
  std::exception_ptr failure;
};

void PaintBand(const Image& img, const DisplaySettings& settings, Bitmap& bmp, LayerBand& band) {
  try {
    float m = band.maxSample;
    for (int y = band.fromRow; y < band.toRow; ++y) {
      const int iy = SourceCoordinate(y, img.height);
      for (int x = 0; x < kPreviewSize; ++x) {
        const int ix = SourceCoordinate(x, img.width);
        const float* p = img.pixels.data() + img.ChannelIndex(ix, iy, 0);
        const float blue = p[0], green = p[1], red = p[2];
        m = std::max({m, red, green, blue});  // a NaN channel never wins
        Rgb colour;
        if (!PreviewColour(red, green, blue, settings, colour))
          band.unconvertible.push_back({x, y, ix, iy});
        bmp.SetPixel(x, y, colour);
      }
    }
    band.maxSample = m;
  } catch (...) {
    band.failure = std::current_exception();
  }
}

}  // namespace

PaintedImage PaintImage(const Image& image, const DisplaySettings& settings, Bitmap& bitmap) {
  PaintedImage painted{-std::numeric_limits<float>::infinity(), {}};
  if (!image.HoldsAllPixels()) {
    bitmap.Fill(Rgb{});
    return painted;
  }
  // Bands of rows on every core: each writes only its own rows and keeps
  // its own largest sample and unconvertible pixels, merged in row order.
  const int workers = static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, 8u));
  std::vector<LayerBand> bands(static_cast<std::size_t>(workers));
  for (int k = 0; k < workers; ++k) {
    LayerBand& band = bands[static_cast<std::size_t>(k)];
    band.fromRow = kPreviewSize * k / workers;
    band.toRow = kPreviewSize * (k + 1) / workers;
  }
  {
    std::vector<std::jthread> threads;
    for (std::size_t k = 1; k < bands.size(); ++k)
      threads.emplace_back([&, k] { PaintBand(image, settings, bitmap, bands[k]); });
    PaintBand(image, settings, bitmap, bands[0]);
  }
  for (const LayerBand& band : bands) {
    if (band.failure) std::rethrow_exception(band.failure);
    painted.maxSample = std::max(painted.maxSample, band.maxSample);
    painted.unconvertible.insert(painted.unconvertible.end(), band.unconvertible.begin(),
                                 band.unconvertible.end());
  }
  return painted;
}

}  // namespace halvane
