#include <algorithm>
#include <optional>
#include <vector>

#include "image/byte_stream.h"
#include "image/hdr_header.h"
#include "image/readers.h"
#include "image/rgbe.h"

namespace halvane {
namespace {

// Run-length scanlines are decoded through a work row of at most 3000 columns.
constexpr int kMaxRleWidth = 3000;
constexpr int kMinWidth = 8;
constexpr int kMaxWidth = 32767;

void StorePixel(Image& image, std::size_t pixel, uint8_t r, uint8_t g, uint8_t b, uint8_t e) {
  float* p = image.pixels.data() + 3 * pixel;
  RgbeToFloat(r, g, b, e, p[2], p[1], p[0]);
}

// Reads every pixel as four bytes from the current position, filling the
// picture from its first row. Returns the rows read without filler.
int ReadFlat(ByteStream& in, Image& image) {
  const std::size_t width = static_cast<std::size_t>(image.width);
  const int64_t fillerBefore = in.FillerCount();
  std::vector<uint8_t> row(4 * width);
  int rowsRead = 0;
  for (int y = 0; y < image.height; ++y) {
    in.Fill(row.data(), row.size());
    const std::size_t rowStart = static_cast<std::size_t>(y) * width;
    for (std::size_t x = 0; x < width; ++x)
      StorePixel(image, rowStart + x, row[4 * x], row[4 * x + 1], row[4 * x + 2], row[4 * x + 3]);
    if (in.FillerCount() == fillerBefore) rowsRead = y + 1;
  }
  return rowsRead;
}

// Decodes the four channel rows of run-length scanline `y` into `work`
// (channel k of column x at k * width + x). A zero literal count or a run
// longer than the rest of the row makes the file unreadable.
std::optional<ReadError> DecodeScanline(ByteStream& in, int y, int width,
                                        std::vector<uint8_t>& work) {
  const auto error = [y](const char* what) {
    return ReadError{what + (" in scanline " + std::to_string(y + 1))};
  };
  for (int k = 0; k < 4; ++k) {
    uint8_t* row = work.data() + static_cast<std::size_t>(k) * width;
    int x = 0;
    while (x < width) {
      const int t = in.Next();
      if (t > 128) {
        const int n = t - 128;
        if (n > width - x) return error("a run longer than the row");
        const uint8_t value = in.Next();
        for (int i = 0; i < n; ++i) row[x + i] = value;
        x += n;
      } else {
        const int n = t;
        if (n == 0) return error("a literal count of 0");
        if (n > width - x) return error("a literal stretch longer than the row");
        in.Fill(row + x, static_cast<std::size_t>(n));
        x += n;
      }
    }
  }
  return std::nullopt;
}

bool IsRunLengthMarker(uint8_t a, uint8_t b, uint8_t c) {
  return a == 2 && b == 2 && c < 128;
}

// Each scanline starts with a run-length marker; at the first that does not,
// the whole picture is read flat from that scanline's first byte on.
// Returns the rows read without filler.
OrError<int> DecodePixels(ByteStream& in, Image& image) {
  const int width = image.width;
  const int64_t dataStart = in.Position();
  const int64_t fillerBefore = in.FillerCount();
  std::vector<uint8_t> work;
  int rowsRead = 0;
  for (int y = 0; y < image.height; ++y) {
    const uint8_t m0 = in.Next(), m1 = in.Next(), m2 = in.Next();
    in.Next();
    if (!IsRunLengthMarker(m0, m1, m2)) {
      // Four bytes back, even when fewer were left, but not into the header.
      in.StepBack(static_cast<std::size_t>(std::min<int64_t>(4, in.Position() - dataStart)));
      return ReadFlat(in, image);
    }
    if (width > kMaxRleWidth)
      return ReadError{"run-length scanlines wider than 3000 columns (" +
                       SizeText(width, image.height) + ")"};
    work.resize(4 * static_cast<std::size_t>(width));
    if (auto error = DecodeScanline(in, y, width, work)) return *error;
    const std::size_t rowStart = static_cast<std::size_t>(y) * width;
    for (int x = 0; x < width; ++x)
      StorePixel(image, rowStart + x, work[x], work[width + x], work[2 * width + x],
                 work[3 * width + x]);
    if (in.FillerCount() == fillerBefore) rowsRead = y + 1;
  }
  return rowsRead;
}

}  // namespace

ReadOutcome ReadHdr(ByteSource& source, const ImageLimits& limits) {
  ByteStream in(source);
  auto header = ParseRadianceHeader(in);
  if (auto* error = std::get_if<ReadError>(&header)) return *error;
  const RadianceHeader& h = std::get<RadianceHeader>(header);
  if (auto error = CheckLimits(h.width, h.height, limits)) return *error;
  if (h.width < kMinWidth || h.width > kMaxWidth)
    return ReadError{"width outside 8 to 32767 columns (" + SizeText(h.width, h.height) + ")"};

  ReadResult result;
  result.isFloat = true;
  Image& image = result.image;
  image.width = h.width;
  image.height = h.height;
  image.pixels.assign(static_cast<std::size_t>(image.width) * image.height * 3 + 3, 0.0f);
  auto rows = DecodePixels(in, image);
  if (auto* error = std::get_if<ReadError>(&rows)) return *error;
  result.rowsRead = std::get<int>(rows);
  return result;
}

}  // namespace halvane
