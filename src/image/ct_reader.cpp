#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>

#include "image/binary_file.h"
#include "image/reader_frame.h"
#include "image/readers.h"
#include "image/unit_scale.h"

namespace halvane {
namespace {

constexpr int kCtHeaderSize = 8;

struct CtHeader {
  uint16_t width = 0;
  uint16_t height = 0;
  uint8_t tag = 0;
  uint8_t depth = 0;  // 8, 16 or 32 bits per channel
};

std::size_t BytesPerPixel(uint8_t depth) {
  return depth == 8 ? 4 : depth == 16 ? 8 : 16;
}

// The channel depth is not stored in the file: it is the one whose RGBA data
// fills the rest of the file exactly.
uint8_t DepthFromDataSize(int64_t dataBytes, int64_t pixelCount) {
  if (dataBytes == pixelCount * 4) return 8;
  if (dataBytes == pixelCount * 8) return 16;
  if (dataBytes == pixelCount * 16) return 32;
  return 0;
}

bool ReadCtHeader(BinaryFile& file, CtHeader& header) {
  std::array<int, kCtHeaderSize> b{};
  for (int& v : b) {
    v = file.ReadByte();
    if (v < 0) return false;
  }
  header.tag = static_cast<uint8_t>(b[0]);
  header.width = static_cast<uint16_t>(b[2] * 256 + b[3]);
  header.height = static_cast<uint16_t>(b[4] * 256 + b[5]);
  // A picture without pixels passes the size match but has nothing to show.
  if (header.width == 0 || header.height == 0) return false;
  header.depth =
      DepthFromDataSize(file.Size() - kCtHeaderSize, int64_t{header.width} * header.height);
  return header.depth != 0;
}

uint16_t BigEndianWord(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] << 8 | p[1]);
}

float BigEndianFloat(const uint8_t* p) {
  const uint32_t bits = uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
  return std::bit_cast<float>(bits);
}

// File pixels come bottom row first, each red, green, blue, alpha; the image
// stores blue, green, red with the top row first. `convert` turns one channel
// of `bytesPerChannel` bytes into a float.
template <typename Convert>
void DecodeRows(const uint8_t* data, std::size_t bytesPerChannel, Image& image, Convert convert) {
  const std::size_t width = static_cast<std::size_t>(image.width);
  const std::size_t height = static_cast<std::size_t>(image.height);
  const std::size_t pixelBytes = 4 * bytesPerChannel;
  for (std::size_t r = 0; r < height; ++r) {
    const uint8_t* src = data + r * width * pixelBytes;
    float* dst = image.pixels.data() + 3 * (height - 1 - r) * width;
    for (std::size_t x = 0; x < width; ++x, src += pixelBytes, dst += 3) {
      dst[2] = convert(src);
      dst[1] = convert(src + bytesPerChannel);
      dst[0] = convert(src + 2 * bytesPerChannel);
    }
  }
}

void DecodePixels(const uint8_t* data, uint8_t depth, Image& image) {
  if (depth == 8) {
    const auto& unit = UnitByteTable();
    DecodeRows(data, 1, image, [&unit](const uint8_t* p) { return unit[*p]; });
  } else if (depth == 16) {
    DecodeRows(data, 2, image, [](const uint8_t* p) { return UnitWord(BigEndianWord(p)); });
  } else {
    DecodeRows(data, 4, image, BigEndianFloat);
  }
}

}  // namespace

bool ReadCT(const std::string& fileName, Image& image, int maxWidth, int maxHeight, bool& isFloat) {
  image.width = image.height = image.fileSize = 0;
  isFloat = false;

  BinaryFile file;
  if (!file.Open(fileName)) return false;
  CtHeader header;
  if (!ReadCtHeader(file, header)) return false;

  const auto loaded =
      LoadAfterHeader(file, image, header.width, header.height, maxWidth, maxHeight);
  if (!loaded) return false;
  const std::size_t count = *loaded;
  FileBuffer& buffer = SharedFileBuffer();
  const std::size_t pixelCount = std::size_t{header.width} * header.height;
  image.pixels.assign(pixelCount * 3 + 3, 0.0f);
  if (header.depth == 32) isFloat = true;
  // A read error gives a count of 0; never decode more than was loaded.
  if (pixelCount * BytesPerPixel(header.depth) > count) return false;

  DecodePixels(buffer.data(), header.depth, image);
  return true;
}

}  // namespace halvane
