#include <vector>

#include "image/binary_file.h"
#include "image/hdr_header.h"
#include "image/reader_frame.h"
#include "image/readers.h"
#include "image/rgbe.h"

namespace halvane {
namespace {

// Run-length scanlines are decoded through a work row of 3000 columns.
constexpr int kMaxRleWidth = kMaxBufHeight;
constexpr std::size_t kScanlineBufferSize = std::size_t{kMaxBufHeight} * 4 + 1;

void StorePixel(Image& image, std::size_t pixel, uint8_t r, uint8_t g, uint8_t b, uint8_t e) {
  float* p = image.pixels.data() + 3 * pixel;
  RgbeToFloat(r, g, b, e, p[2], p[1], p[0]);
}

void ReadFlat(ByteCursor& in, Image& image) {
  const std::size_t count = static_cast<std::size_t>(image.width) * image.height;
  for (std::size_t i = 0; i < count; ++i) {
    const uint8_t r = in.Next(), g = in.Next(), b = in.Next(), e = in.Next();
    StorePixel(image, i, r, g, b, e);
  }
}

// Decodes the four channel rows of one run-length scanline into `work`
// (channel k of column x at k * width + x). False on a zero literal count or a
// run longer than the rest of the row.
bool DecodeScanline(ByteCursor& in, int width, std::vector<uint8_t>& work) {
  for (int k = 0; k < 4; ++k) {
    uint8_t* row = work.data() + static_cast<std::size_t>(k) * width;
    int x = 0;
    while (x < width) {
      const int t = in.Next();
      if (t > 128) {
        const int n = t - 128;
        if (n > width - x) return false;
        const uint8_t value = in.Next();
        for (int i = 0; i < n; ++i) row[x + i] = value;
        x += n;
      } else {
        const int n = t;
        if (n == 0 || n > width - x) return false;
        for (int i = 0; i < n; ++i) row[x + i] = in.Next();
        x += n;
      }
    }
  }
  return true;
}

bool IsRunLengthMarker(uint8_t a, uint8_t b, uint8_t c) {
  return a == 2 && b == 2 && c < 128;
}

bool DecodePixels(ByteCursor& in, Image& image) {
  const int width = image.width;
  std::vector<uint8_t> work(kScanlineBufferSize, 0);
  for (int y = 0; y < image.height; ++y) {
    const uint8_t m0 = in.Next(), m1 = in.Next(), m2 = in.Next();
    in.Next();
    if (!IsRunLengthMarker(m0, m1, m2)) {
      in.StepBack(4);
      ReadFlat(in, image);
      return true;
    }
    if (width > kMaxRleWidth) return false;
    if (!DecodeScanline(in, width, work)) return false;
    const std::size_t rowStart = static_cast<std::size_t>(y) * width;
    for (int x = 0; x < width; ++x)
      StorePixel(image, rowStart + x, work[x], work[width + x], work[2 * width + x],
                 work[3 * width + x]);
  }
  return true;
}

}  // namespace

bool ReadHDR(const std::string& fileName, Image& image, int maxWidth, int maxHeight,
             bool& isFloat) {
  isFloat = true;
  image.width = image.height = image.fileSize = 0;

  BinaryFile file;
  if (!file.Open(fileName)) return false;
  RadianceHeader header;
  if (!ParseRadianceHeader(file, header)) return false;

  const auto loaded =
      LoadAfterHeader(file, image, header.width, header.height, maxWidth, maxHeight);
  if (!loaded) return false;
  ByteCursor in(SharedFileBuffer().data(), *loaded);

  image.pixels.assign(static_cast<std::size_t>(image.width) * image.height * 3 + 3, 0.0f);
  if (image.width < 8 || image.width > 32767) {
    ReadFlat(in, image);
    return false;
  }
  return DecodePixels(in, image);
}

}  // namespace halvane
