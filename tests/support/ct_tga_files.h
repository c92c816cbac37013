#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "support/image_files.h"

namespace halvane::testing {

// The float the readers store for an 8-bit channel value: v / 255 in
// extended precision, rounded once.
float UnitByte(uint8_t value);

// ---- .ct files: 8-byte header (byte 0 tag, width and height big-endian at
// bytes 2 and 4), then RGBA pixels, bottom row first.

Bytes CtFile(int width, int height, const Bytes& data);
void AppendBigEndianWord(Bytes& out, uint16_t value);
// Floats given as IEEE bit patterns, so NaN payloads survive the trip.
void AppendBigEndianBits(Bytes& out, uint32_t bits);
void AppendBigEndianFloat(Bytes& out, float value);

// ---- .tga files: 18-byte header, identification, colour map, pixels.

using Bgra = std::array<uint8_t, 4>;  // one stored pixel: blue, green, red, alpha

struct TargaLayout {
  int width = 1;
  int height = 1;
  uint8_t imageType = 2;  // 2 uncompressed, 10 run-length
  uint8_t depth = 24;
  bool topRowFirst = false;  // descriptor bit 5
  std::string identification;
  uint8_t colorMapType = 0;
  uint16_t colorMapLength = 0;
  uint8_t colorMapEntrySize = 0;
};

// The header, identification, colour map (filled with 0xEE bytes) and data.
Bytes TargaFile(const TargaLayout& layout, const Bytes& data = {});
// Pixels in stored order (rows as they appear in the file), 3 or 4 bytes each.
Bytes TargaRawPixels(const std::vector<Bgra>& pixels, uint8_t depth);
// Run-length data for rows of `width` pixels in stored order: equal
// neighbours as run packets (0x81..0xFF), others as raw packets
// (0x00..0x7F); packets never cross a row end and 0x80 is never used.
Bytes TargaRunLengthPixels(const std::vector<Bgra>& pixels, int width, uint8_t depth);

// A deterministic pattern of `count` pixels with stretches of equal pixels,
// so that run-length data has both kinds of packet.
std::vector<Bgra> PatternPixels(std::size_t count, uint32_t seed);

}  // namespace halvane::testing
