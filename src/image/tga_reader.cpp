#include <algorithm>
#include <array>
#include <cstdint>

#include "image/binary_file.h"
#include "image/reader_frame.h"
#include "image/readers.h"
#include "image/unit_scale.h"

namespace halvane {
namespace {

constexpr int kTargaHeaderSize = 18;
constexpr uint8_t kUncompressedTrueColor = 2;
constexpr uint8_t kRunLengthTrueColor = 10;
constexpr uint8_t kTopRowFirst = 0x20;  // descriptor bit 5
constexpr std::size_t kMaxIdentification = 250;
// Run-length packets may run past the last pixel into these spare elements.
constexpr std::size_t kRunLengthSpare = 20;

struct TargaHeader {
  uint8_t idLength = 0;
  uint8_t colorMapType = 0;
  uint8_t imageType = 0;
  uint16_t colorMapFirst = 0;
  uint16_t colorMapLength = 0;
  uint8_t colorMapEntrySize = 0;
  uint16_t xOrigin = 0;
  uint16_t yOrigin = 0;
  uint16_t width = 0;
  uint16_t height = 0;
  uint8_t depth = 0;
  uint8_t descriptor = 0;
  std::string identification;
};

std::size_t BytesPerPixel(const TargaHeader& h) {
  return h.depth == 32 ? 4 : 3;
}

// Bytes of the colour map between the identification field and the pixels.
// True-colour pictures do not use it, but a file may still carry one.
int64_t ColorMapBytes(const TargaHeader& h) {
  if (h.colorMapType != 1) return 0;
  return int64_t{h.colorMapLength} * ((h.colorMapEntrySize + 7) / 8);
}

bool ReadFixedFields(BinaryFile& file, TargaHeader& h) {
  std::array<int, kTargaHeaderSize> b{};
  for (int& v : b) {
    v = file.ReadByte();
    if (v < 0) return false;
  }
  const auto word = [&b](int at) { return static_cast<uint16_t>(b[at] | b[at + 1] << 8); };
  h.idLength = static_cast<uint8_t>(b[0]);
  h.colorMapType = static_cast<uint8_t>(b[1]);
  h.imageType = static_cast<uint8_t>(b[2]);
  h.colorMapFirst = word(3);
  h.colorMapLength = word(5);
  h.colorMapEntrySize = static_cast<uint8_t>(b[7]);
  h.xOrigin = word(8);
  h.yOrigin = word(10);
  h.width = word(12);
  h.height = word(14);
  h.depth = static_cast<uint8_t>(b[16]);
  h.descriptor = static_cast<uint8_t>(b[17]);
  return true;
}

// Reads the identification field and steps over a colour map, leaving the
// file at the first pixel byte. False when the file ends inside them.
bool SkipToPixels(BinaryFile& file, TargaHeader& h) {
  for (int i = 0; i < h.idLength; ++i) {
    const int c = file.ReadByte();
    if (c < 0) return false;
    if (h.identification.size() < kMaxIdentification)
      h.identification.push_back(static_cast<char>(c));
  }
  for (int64_t i = ColorMapBytes(h); i > 0; --i)
    if (file.ReadByte() < 0) return false;
  return true;
}

bool AcceptHeader(const TargaHeader& h, int64_t dataBytes) {
  if (h.imageType != kUncompressedTrueColor && h.imageType != kRunLengthTrueColor) return false;
  if (h.depth != 24 && h.depth != 32) return false;
  // A picture without pixels would be reported as loaded with nothing in it.
  if (h.width == 0 || h.height == 0) return false;
  const int64_t needed = int64_t{h.width} * h.height * static_cast<int64_t>(BytesPerPixel(h));
  return h.imageType != kUncompressedTrueColor || dataBytes >= needed;
}

bool ReadTargaHeader(BinaryFile& file, TargaHeader& h) {
  if (!ReadFixedFields(file, h) || !SkipToPixels(file, h)) return false;
  return AcceptHeader(h, file.Size() - file.Position());
}

// The image row that the r-th row stored in the file goes to.
std::size_t TargetRow(const TargaHeader& h, std::size_t r) {
  return (h.descriptor & kTopRowFirst) != 0 ? r : h.height - 1 - r;
}

// Stores blue, green, red of `count` pixels of `step` bytes each.
void StorePixels(const uint8_t* src, std::size_t count, std::size_t step, float* dst) {
  const auto& unit = UnitByteTable();
  for (std::size_t i = 0; i < count; ++i, src += step, dst += 3) {
    dst[0] = unit[src[0]];
    dst[1] = unit[src[1]];
    dst[2] = unit[src[2]];
  }
}

bool DecodeUncompressed(const uint8_t* data, std::size_t count, const TargaHeader& h,
                        Image& image) {
  const std::size_t width = h.width, height = h.height, step = BytesPerPixel(h);
  if (width * height * step > count) return false;
  image.pixels.assign(width * height * 3 + 3, 0.0f);
  for (std::size_t r = 0; r < height; ++r) {
    const uint8_t* src = data + r * width * step;
    float* dst = image.pixels.data() + 3 * TargetRow(h, r) * width;
    StorePixels(src, width, step, dst);
  }
  return true;
}

// One packet: `count` pixels, either each read from the data (raw) or one
// pixel read and repeated (run).
struct Packet {
  std::size_t count = 0;
  bool repeat = false;
};

// Reads a packet byte. Besides the usual run and raw packets, the byte 0x80
// introduces a run with a 16-bit count, high byte first. A count of 0 gives
// an empty packet, which the caller refuses.
Packet ReadPacketHeader(ByteCursor& in) {
  const uint8_t t = in.Next();
  if (t < 128) return {std::size_t{t} + 1u, false};
  if (t > 128) return {std::size_t{t} - 127u, true};
  const std::size_t high = in.Next();
  const std::size_t low = in.Next();
  return {high * 256 + low, true};
}

// Reads `count` pixels, byte by byte where the data may run out.
void ReadPixels(ByteCursor& in, std::size_t count, std::size_t step, float* dst) {
  if (const uint8_t* src = in.Take(count * step)) return StorePixels(src, count, step, dst);
  std::array<uint8_t, 4> pixel{};
  for (std::size_t i = 0; i < count; ++i, dst += 3) {
    for (std::size_t k = 0; k < step; ++k) pixel[k] = in.Next();
    StorePixels(pixel.data(), 1, step, dst);
  }
}

void WritePacket(ByteCursor& in, const Packet& packet, std::size_t step, float* dst) {
  if (!packet.repeat) return ReadPixels(in, packet.count, step, dst);
  ReadPixels(in, 1, step, dst);
  const float blue = dst[0], green = dst[1], red = dst[2];
  for (std::size_t i = 1; i < packet.count; ++i) {
    dst[3 * i] = blue;
    dst[3 * i + 1] = green;
    dst[3 * i + 2] = red;
  }
}

// Packets are not cut at the end of a row: their pixels run on into the
// following elements of the array. Data that would write past the spare
// elements, or an empty packet, makes the file unreadable.
bool DecodeRunLength(const uint8_t* data, std::size_t count, const TargaHeader& h, Image& image) {
  const std::size_t width = h.width, height = h.height, step = BytesPerPixel(h);
  image.pixels.assign(width * height * 3 + kRunLengthSpare, 0.0f);
  const std::size_t capacity = image.pixels.size();
  ByteCursor in(data, count);
  for (std::size_t r = 0; r < height; ++r) {
    const std::size_t rowStart = TargetRow(h, r) * width;
    for (std::size_t x = 0; x < width;) {
      const Packet packet = ReadPacketHeader(in);
      const std::size_t first = 3 * (rowStart + x);
      if (packet.count == 0 || first + 3 * packet.count > capacity) return false;
      WritePacket(in, packet, step, image.pixels.data() + first);
      x += packet.count;
    }
  }
  return true;
}

}  // namespace

bool ReadTGA(const std::string& fileName, Image& image, int maxWidth, int maxHeight,
             bool& isFloat) {
  isFloat = false;
  image.width = image.height = image.fileSize = 0;

  BinaryFile file;
  if (!file.Open(fileName)) return false;
  TargaHeader header;
  if (!ReadTargaHeader(file, header)) return false;

  const auto loaded =
      LoadAfterHeader(file, image, header.width, header.height, maxWidth, maxHeight);
  if (!loaded) return false;
  const std::size_t count = *loaded;
  FileBuffer& buffer = SharedFileBuffer();
  if (header.imageType == kUncompressedTrueColor)
    return DecodeUncompressed(buffer.data(), count, header, image);
  return DecodeRunLength(buffer.data(), count, header, image);
}

}  // namespace halvane
