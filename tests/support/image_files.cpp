#include "support/image_files.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace halvane::testing {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "halvane-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make a temp folder");
  dir_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(dir_, ec);
}

void WriteFile(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

void WriteText(const std::string& path, const std::string& text) {
  WriteFile(path, Bytes(text.begin(), text.end()));
}

Bytes ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

Bytes RadianceWithData(int width, int height, const Bytes& data) {
  const std::string header = "#?RADIANCE\n#" + std::string(200, 'x') +
                             "\nFORMAT=32-bit_rle_rgbe\n\n-Y " + std::to_string(height) + " +X " +
                             std::to_string(width) + "\n";
  Bytes out(header.begin(), header.end());
  out.insert(out.end(), data.begin(), data.end());
  return out;
}

Bytes FlatRadiance(int width, int height, const std::vector<Rgbe>& pixels) {
  Bytes data;
  for (const Rgbe& p : pixels) data.insert(data.end(), p.begin(), p.end());
  return RadianceWithData(width, height, data);
}

namespace {

void EncodeChannelRow(const std::vector<uint8_t>& row, Bytes& out) {
  std::size_t x = 0;
  const std::size_t n = row.size();
  while (x < n) {
    std::size_t run = 1;
    while (x + run < n && run < 127 && row[x + run] == row[x]) ++run;
    if (run > 2) {
      out.push_back(static_cast<uint8_t>(128 + run));
      out.push_back(row[x]);
      x += run;
      continue;
    }
    std::size_t lit = 0;
    while (x + lit < n && lit < 128) {
      std::size_t ahead = 1;
      while (x + lit + ahead < n && ahead < 3 && row[x + lit + ahead] == row[x + lit]) ++ahead;
      if (ahead > 2) break;
      ++lit;
    }
    out.push_back(static_cast<uint8_t>(lit));
    out.insert(out.end(), row.begin() + static_cast<std::ptrdiff_t>(x),
               row.begin() + static_cast<std::ptrdiff_t>(x + lit));
    x += lit;
  }
}

bool SameBits(const ReadOutcome& a, const ReadOutcome& b) {
  if (a.index() != b.index()) return false;
  if (a.index() == 1) return std::get<ReadError>(a).reason == std::get<ReadError>(b).reason;
  const ReadResult &x = std::get<ReadResult>(a), &y = std::get<ReadResult>(b);
  return x.isFloat == y.isFloat && x.rowsRead == y.rowsRead && x.image.width == y.image.width &&
         x.image.height == y.image.height && x.image.pixels.size() == y.image.pixels.size() &&
         std::memcmp(x.image.pixels.data(), y.image.pixels.data(),
                     x.image.pixels.size() * sizeof(float)) == 0;
}

}  // namespace

void AppendRunLengthScanline(const std::vector<Rgbe>& pixels, Bytes& out) {
  const std::size_t width = pixels.size();
  out.insert(out.end(),
             {2, 2, static_cast<uint8_t>(width >> 8), static_cast<uint8_t>(width & 0xFF)});
  std::vector<uint8_t> row(width);
  for (int k = 0; k < 4; ++k) {
    for (std::size_t x = 0; x < width; ++x) row[x] = pixels[x][static_cast<std::size_t>(k)];
    EncodeChannelRow(row, out);
  }
}

Bytes RunLengthRadiance(int width, int height, const std::vector<Rgbe>& pixels) {
  Bytes data;
  for (int y = 0; y < height; ++y) {
    const auto first = pixels.begin() + static_cast<std::ptrdiff_t>(y) * width;
    AppendRunLengthScanline(std::vector<Rgbe>(first, first + width), data);
  }
  return RadianceWithData(width, height, data);
}

ReadOutcome ReadBytes(ImageReader reader, const Bytes& bytes, const ImageLimits& limits) {
  SpanSource whole(bytes);
  ReadOutcome outcome = reader(whole, limits);
  const auto* result = std::get_if<ReadResult>(&outcome);
  if (result == nullptr || result->image.pixels.size() < 100'000) {
    SpanSource blocks(bytes, 5);
    if (!SameBits(outcome, reader(blocks, limits)))
      throw std::runtime_error("reading in blocks gives another outcome");
  }
  return outcome;
}

ReadResult Decoded(ReadOutcome outcome) {
  if (const auto* error = std::get_if<ReadError>(&outcome))
    throw std::runtime_error("not read: " + error->reason);
  return std::move(std::get<ReadResult>(outcome));
}

}  // namespace halvane::testing
