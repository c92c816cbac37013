#include "support/ct_tga_files.h"

#include <bit>

namespace halvane::testing {
namespace {

void AppendLittleEndianWord(Bytes& out, int value) {
  out.insert(out.end(), {static_cast<uint8_t>(value & 0xFF), static_cast<uint8_t>(value >> 8)});
}

void AppendTargaPixel(Bytes& out, const Bgra& p, uint8_t depth) {
  out.insert(out.end(), p.begin(), p.begin() + (depth == 32 ? 4 : 3));
}

}  // namespace

float UnitByte(uint8_t value) {
  return static_cast<float>(value / 255.0L);
}

Bytes CtFile(int width, int height, const Bytes& data) {
  Bytes out = {0x01, 0x00};
  AppendBigEndianWord(out, static_cast<uint16_t>(width));
  AppendBigEndianWord(out, static_cast<uint16_t>(height));
  out.insert(out.end(), {0x00, 0x00});
  out.insert(out.end(), data.begin(), data.end());
  return out;
}

void AppendBigEndianWord(Bytes& out, uint16_t value) {
  out.insert(out.end(), {static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value)});
}

void AppendBigEndianBits(Bytes& out, uint32_t bits) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(bits >> shift));
}

void AppendBigEndianFloat(Bytes& out, float value) {
  AppendBigEndianBits(out, std::bit_cast<uint32_t>(value));
}

Bytes TargaFile(const TargaLayout& l, const Bytes& data) {
  Bytes out = {static_cast<uint8_t>(l.identification.size()), l.colorMapType, l.imageType, 0, 0};
  AppendLittleEndianWord(out, l.colorMapLength);
  out.insert(out.end(), {l.colorMapEntrySize, 0, 0, 0, 0});
  AppendLittleEndianWord(out, l.width);
  AppendLittleEndianWord(out, l.height);
  out.insert(out.end(), {l.depth, static_cast<uint8_t>(l.topRowFirst ? 0x20 : 0x00)});
  out.insert(out.end(), l.identification.begin(), l.identification.end());
  out.insert(out.end(), std::size_t{l.colorMapLength} * ((l.colorMapEntrySize + 7u) / 8), 0xEE);
  out.insert(out.end(), data.begin(), data.end());
  return out;
}

Bytes TargaRawPixels(const std::vector<Bgra>& pixels, uint8_t depth) {
  Bytes out;
  for (const Bgra& p : pixels) AppendTargaPixel(out, p, depth);
  return out;
}

Bytes TargaRunLengthPixels(const std::vector<Bgra>& pixels, int width, uint8_t depth) {
  Bytes out;
  const std::size_t w = static_cast<std::size_t>(width);
  for (std::size_t rowStart = 0; rowStart + w <= pixels.size(); rowStart += w) {
    std::size_t x = 0;
    const auto at = [&](std::size_t i) { return pixels[rowStart + i]; };
    while (x < w) {
      std::size_t run = 1;
      while (x + run < w && run < 128 && at(x + run) == at(x)) ++run;
      if (run >= 2) {
        out.push_back(static_cast<uint8_t>(127 + run));
        AppendTargaPixel(out, at(x), depth);
        x += run;
        continue;
      }
      std::size_t raw = 1;
      while (x + raw < w && raw < 128 && !(x + raw + 1 < w && at(x + raw + 1) == at(x + raw)))
        ++raw;
      out.push_back(static_cast<uint8_t>(raw - 1));
      for (std::size_t i = 0; i < raw; ++i) AppendTargaPixel(out, at(x + i), depth);
      x += raw;
    }
  }
  return out;
}

std::vector<Bgra> PatternPixels(std::size_t count, uint32_t seed) {
  std::vector<Bgra> pixels;
  pixels.reserve(count);
  uint32_t state = seed * 2654435761u + 1;
  while (pixels.size() < count) {
    state = state * 1664525u + 1013904223u;
    const Bgra p = {static_cast<uint8_t>(state >> 24), static_cast<uint8_t>(state >> 16),
                    static_cast<uint8_t>(state >> 8), static_cast<uint8_t>(state)};
    // Every fourth draw starts a stretch of up to 40 equal pixels.
    const std::size_t repeat = (state >> 4) % 4 == 0 ? 1 + (state >> 12) % 40 : 1;
    for (std::size_t i = 0; i < repeat && pixels.size() < count; ++i) pixels.push_back(p);
  }
  return pixels;
}

}  // namespace halvane::testing
