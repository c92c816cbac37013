#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "image/byte_stream.h"
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

bool ReadFixedFields(ByteStream& in, TargaHeader& h) {
  std::array<int, kTargaHeaderSize> b{};
  for (int& v : b) {
    v = in.Get();
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
// stream at the first pixel byte. False when the data ends inside them.
bool SkipToPixels(ByteStream& in, TargaHeader& h) {
  for (int i = 0; i < h.idLength; ++i) {
    const int c = in.Get();
    if (c < 0) return false;
    if (h.identification.size() < kMaxIdentification)
      h.identification.push_back(static_cast<char>(c));
  }
  for (int64_t i = ColorMapBytes(h); i > 0; --i)
    if (in.Get() < 0) return false;
  return true;
}

std::optional<ReadError> AcceptHeader(const TargaHeader& h, int64_t dataBytes) {
  if (h.imageType != kUncompressedTrueColor && h.imageType != kRunLengthTrueColor)
    return ReadError{"unsupported image type " + std::to_string(h.imageType) +
                     " (only true colour, uncompressed or run-length)"};
  if (h.depth != 24 && h.depth != 32)
    return ReadError{"unsupported bit depth " + std::to_string(h.depth)};
  // A picture without pixels would be reported as loaded with nothing in it.
  if (h.width == 0 || h.height == 0)
    return ReadError{"image has no pixels (" + SizeText(h.width, h.height) + ")"};
  const int64_t needed = int64_t{h.width} * h.height * static_cast<int64_t>(BytesPerPixel(h));
  if (h.imageType == kUncompressedTrueColor && dataBytes < needed)
    return ReadError{"pixel data too short (" + std::to_string(dataBytes) + " of " +
                     std::to_string(needed) + " bytes)"};
  return std::nullopt;
}

OrError<TargaHeader> ReadTargaHeader(ByteStream& in) {
  TargaHeader h;
  if (!ReadFixedFields(in, h)) return ReadError{"shorter than its 18-byte header"};
  if (!SkipToPixels(in, h)) return ReadError{"ends inside its identification field or colour map"};
  if (auto error = AcceptHeader(h, in.Size() - in.Position())) return *error;
  return h;
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

std::optional<ReadError> DecodeUncompressed(ByteStream& in, const TargaHeader& h, Image& image) {
  const std::size_t width = h.width, height = h.height, step = BytesPerPixel(h);
  image.pixels.assign(width * height * 3 + 3, 0.0f);
  std::vector<uint8_t> row(width * step);
  for (std::size_t r = 0; r < height; ++r) {
    in.Fill(row.data(), row.size());
    if (in.FillerCount() != 0) return ReadError{"pixel data ends early"};
    StorePixels(row.data(), width, step, image.pixels.data() + 3 * TargetRow(h, r) * width);
  }
  return std::nullopt;
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
Packet ReadPacketHeader(ByteStream& in) {
  const uint8_t t = in.Next();
  if (t < 128) return {std::size_t{t} + 1u, false};
  if (t > 128) return {std::size_t{t} - 127u, true};
  const std::size_t high = in.Next();
  const std::size_t low = in.Next();
  return {high * 256 + low, true};
}

// Reads a packet's pixels to `dst` through `scratch`.
void WritePacket(ByteStream& in, const Packet& packet, std::size_t step,
                 std::vector<uint8_t>& scratch, float* dst) {
  const std::size_t stored = packet.repeat ? 1 : packet.count;
  scratch.resize(stored * step);
  in.Fill(scratch.data(), scratch.size());
  StorePixels(scratch.data(), stored, step, dst);
  if (!packet.repeat) return;
  const float blue = dst[0], green = dst[1], red = dst[2];
  for (std::size_t i = 1; i < packet.count; ++i) {
    dst[3 * i] = blue;
    dst[3 * i + 1] = green;
    dst[3 * i + 2] = red;
  }
}

ReadError RowError(const std::string& what, std::size_t fileRow) {
  return ReadError{what + " in row " + std::to_string(fileRow + 1)};
}

// Packets are not cut at the end of a row: their pixels run on into the
// following elements of the array. Data that would write past the spare
// elements, or an empty packet, makes the file unreadable. Returns the rows
// read without filler.
OrError<int> DecodeRunLength(ByteStream& in, const TargaHeader& h, Image& image) {
  const std::size_t width = h.width, height = h.height, step = BytesPerPixel(h);
  image.pixels.assign(width * height * 3 + kRunLengthSpare, 0.0f);
  const std::size_t capacity = image.pixels.size();
  std::vector<uint8_t> scratch;
  int rowsRead = 0;
  for (std::size_t r = 0; r < height; ++r) {
    const std::size_t rowStart = TargetRow(h, r) * width;
    for (std::size_t x = 0; x < width;) {
      const Packet packet = ReadPacketHeader(in);
      const std::size_t first = 3 * (rowStart + x);
      if (packet.count == 0) return RowError("a run-length packet of 0 pixels", r);
      if (first + 3 * packet.count > capacity)
        return RowError("a run-length packet running past the end of the picture", r);
      WritePacket(in, packet, step, scratch, image.pixels.data() + first);
      x += packet.count;
    }
    if (in.FillerCount() == 0) rowsRead = static_cast<int>(r) + 1;
  }
  return rowsRead;
}

}  // namespace

ReadOutcome ReadTga(ByteSource& source, const ImageLimits& limits) {
  ByteStream in(source);
  auto header = ReadTargaHeader(in);
  if (auto* error = std::get_if<ReadError>(&header)) return *error;
  const TargaHeader& h = std::get<TargaHeader>(header);
  if (auto error = CheckLimits(h.width, h.height, limits)) return *error;

  ReadResult result;
  result.image.width = h.width;
  result.image.height = h.height;
  if (h.imageType == kUncompressedTrueColor) {
    if (auto error = DecodeUncompressed(in, h, result.image)) return *error;
    result.rowsRead = h.height;
    return result;
  }
  auto rows = DecodeRunLength(in, h, result.image);
  if (auto* error = std::get_if<ReadError>(&rows)) return *error;
  result.rowsRead = std::get<int>(rows);
  return result;
}

}  // namespace halvane
