#include "preview/png_writer.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <vector>

namespace halvane {
namespace {

const std::array<uint32_t, 256>& CrcTable() {
  static const std::array<uint32_t, 256> table = [] {
    std::array<uint32_t, 256> t{};
    for (uint32_t n = 0; n < 256; ++n) {
      uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  return table;
}

uint32_t Crc(const uint8_t* data, std::size_t n, uint32_t crc = 0xFFFFFFFFu) {
  for (std::size_t i = 0; i < n; ++i) crc = CrcTable()[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
  return crc;
}

void PutBigEndian(std::vector<uint8_t>& out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

void PutChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& body) {
  PutBigEndian(out, static_cast<uint32_t>(body.size()));
  const std::size_t typeAt = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), body.begin(), body.end());
  const uint32_t crc = Crc(out.data() + typeAt, 4 + body.size()) ^ 0xFFFFFFFFu;
  PutBigEndian(out, crc);
}

// A zlib stream of stored deflate blocks.
std::vector<uint8_t> StoredZlib(const std::vector<uint8_t>& raw) {
  std::vector<uint8_t> z{0x78, 0x01};
  constexpr std::size_t kMaxBlock = 65535;
  std::size_t pos = 0;
  do {
    const std::size_t n = std::min(kMaxBlock, raw.size() - pos);
    const bool last = pos + n == raw.size();
    z.push_back(last ? 1 : 0);
    z.push_back(static_cast<uint8_t>(n & 0xFF));
    z.push_back(static_cast<uint8_t>(n >> 8));
    z.push_back(static_cast<uint8_t>(~n & 0xFF));
    z.push_back(static_cast<uint8_t>((~n >> 8) & 0xFF));
    z.insert(z.end(), raw.begin() + static_cast<std::ptrdiff_t>(pos),
             raw.begin() + static_cast<std::ptrdiff_t>(pos + n));
    pos += n;
  } while (pos < raw.size());
  uint32_t a = 1, b = 0;
  for (uint8_t byte : raw) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  PutBigEndian(z, (b << 16) | a);
  return z;
}

}  // namespace

bool WritePng(const Bitmap& bitmap, const std::string& path, std::string& error) {
  std::vector<uint8_t> raw;
  raw.reserve(static_cast<std::size_t>(bitmap.height()) * (bitmap.bytesPerLine() + 1));
  for (int y = 0; y < bitmap.height(); ++y) {
    raw.push_back(0);  // no filter
    const uint8_t* row = bitmap.data() + static_cast<std::size_t>(y) * bitmap.bytesPerLine();
    raw.insert(raw.end(), row, row + bitmap.bytesPerLine());
  }
  std::vector<uint8_t> header;
  PutBigEndian(header, static_cast<uint32_t>(bitmap.width()));
  PutBigEndian(header, static_cast<uint32_t>(bitmap.height()));
  header.insert(header.end(), {8, 2, 0, 0, 0});  // 8-bit RGB

  std::vector<uint8_t> file{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  PutChunk(file, "IHDR", header);
  PutChunk(file, "IDAT", StoredZlib(raw));
  PutChunk(file, "IEND", {});

  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (out)
    out.write(reinterpret_cast<const char*>(file.data()),
              static_cast<std::streamsize>(file.size()));
  if (!out) {
    error = std::strerror(errno);
    return false;
  }
  return true;
}

}  // namespace halvane
