#include <array>
#include <bit>
#include <cstdint>
#include <vector>

#include "image/byte_stream.h"
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

// The channel depth is not stored in the file: it is the one whose RGBA data
// fills the rest of the file exactly.
uint8_t DepthFromDataSize(int64_t dataBytes, int64_t pixelCount) {
  if (dataBytes == pixelCount * 4) return 8;
  if (dataBytes == pixelCount * 8) return 16;
  if (dataBytes == pixelCount * 16) return 32;
  return 0;
}

OrError<CtHeader> ReadCtHeader(ByteStream& in) {
  std::array<int, kCtHeaderSize> b{};
  for (int& v : b) {
    v = in.Get();
    if (v < 0) return ReadError{"shorter than its 8-byte header"};
  }
  CtHeader header;
  header.tag = static_cast<uint8_t>(b[0]);
  header.width = static_cast<uint16_t>(b[2] * 256 + b[3]);
  header.height = static_cast<uint16_t>(b[4] * 256 + b[5]);
  const std::string size = SizeText(header.width, header.height);
  // A picture without pixels passes the size match but has nothing to show.
  if (header.width == 0 || header.height == 0)
    return ReadError{"image has no pixels (" + size + ")"};
  const int64_t dataBytes = in.Size() - kCtHeaderSize;
  header.depth = DepthFromDataSize(dataBytes, int64_t{header.width} * header.height);
  if (header.depth == 0)
    return ReadError{std::to_string(dataBytes) + " bytes of pixel data fit no bit depth for " +
                     size + " pixels"};
  return header;
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
// of `bytesPerChannel` bytes into a float. False when the data ends early.
template <typename Convert>
bool DecodeRows(ByteStream& in, std::size_t bytesPerChannel, Image& image, Convert convert) {
  const std::size_t width = static_cast<std::size_t>(image.width);
  const std::size_t height = static_cast<std::size_t>(image.height);
  const std::size_t pixelBytes = 4 * bytesPerChannel;
  std::vector<uint8_t> row(width * pixelBytes);
  for (std::size_t r = 0; r < height; ++r) {
    in.Fill(row.data(), row.size());
    if (in.FillerCount() != 0) return false;
    const uint8_t* src = row.data();
    float* dst = image.pixels.data() + 3 * (height - 1 - r) * width;
    for (std::size_t x = 0; x < width; ++x, src += pixelBytes, dst += 3) {
      dst[2] = convert(src);
      dst[1] = convert(src + bytesPerChannel);
      dst[0] = convert(src + 2 * bytesPerChannel);
    }
  }
  return true;
}

bool DecodePixels(ByteStream& in, uint8_t depth, Image& image) {
  if (depth == 8) {
    const auto& unit = UnitByteTable();
    return DecodeRows(in, 1, image, [&unit](const uint8_t* p) { return unit[*p]; });
  }
  if (depth == 16)
    return DecodeRows(in, 2, image, [](const uint8_t* p) { return UnitWord(BigEndianWord(p)); });
  return DecodeRows(in, 4, image, BigEndianFloat);
}

}  // namespace

ReadOutcome ReadCt(ByteSource& source, const ImageLimits& limits) {
  ByteStream in(source);
  auto header = ReadCtHeader(in);
  if (auto* error = std::get_if<ReadError>(&header)) return *error;
  const CtHeader& h = std::get<CtHeader>(header);
  if (auto error = CheckLimits(h.width, h.height, limits)) return *error;

  ReadResult result;
  result.isFloat = h.depth == 32;
  result.rowsRead = h.height;
  Image& image = result.image;
  image.width = h.width;
  image.height = h.height;
  image.pixels.assign(std::size_t{h.width} * h.height * 3 + 3, 0.0f);
  if (!DecodePixels(in, h.depth, image)) return ReadError{"pixel data ends early"};
  return result;
}

}  // namespace halvane
