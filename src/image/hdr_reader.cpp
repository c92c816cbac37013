#include <algorithm>
#include <optional>
#include <vector>

#include "image/byte_stream.h"
#include "image/hdr_header.h"
#include "image/linear_power.h"
#include "image/parallel_for.h"
#include "image/read_progress.h"
#include "image/readers.h"
#include "image/rgbe.h"
#include "image/rgbe_block_sum.h"

namespace halvane {
namespace {

constexpr int kMinWidth = 8;
constexpr int kMaxWidth = 32767;

// One decoded scanline: channel k (red, green, blue, exponent) of column x at
// data[k * channelStep + x * pixelStep]. Run-length scanlines decode into four
// channel rows, flat ones into pixels of four bytes.
struct RgbeRow {
  const uint8_t* data;
  std::size_t channelStep;
  std::size_t pixelStep;

  uint8_t At(int x, int k) const {
    return data[static_cast<std::size_t>(k) * channelStep +
                static_cast<std::size_t>(x) * pixelStep];
  }
  // Pixels of four bytes one after the other, as a flat scanline stores them.
  bool Interleaved() const { return channelStep == 1 && pixelStep == 4; }
};

// Scanlines stored straight into the picture, each pixel through the RGBE table.
class DirectRows {
 public:
  explicit DirectRows(Image& image) : image_(image) {}
  void Put(int y, const RgbeRow& row) {
    const std::size_t rowStart = static_cast<std::size_t>(y) * image_.width;
    for (int x = 0; x < image_.width; ++x) {
      float* p = image_.pixels.data() + 3 * (rowStart + x);
      RgbeToFloat(row.At(x, 0), row.At(x, 1), row.At(x, 2), row.At(x, 3), p[2], p[1], p[0]);
    }
  }
  // Every row is put again after a restart.
  void Restart() {}
  void End() {}

 private:
  Image& image_;
};

// Scanlines gathered a chunk of whole blocks at a time; each chunk's blocks
// are averaged into rows of the scaled picture, spread over the threads.
// Each pixel is its block's linear values summed in extended precision in
// row order, divided once by their count, powered and rounded once.
class ScaledRows {
 public:
  ScaledRows(const ScalePlan& plan, Image& image, const ImageLimits& limits)
      : plan_(plan),
        image_(image),
        threads_(ThreadCount(limits.threads)),
        chunkRows_(std::max(64, 1 << plan.shift)),
        chunk_(static_cast<std::size_t>(chunkRows_) * plan.sourceWidth * 4),
        progress_(limits.progress, plan.sourceHeight) {}

  void Put(int y, const RgbeRow& row) {
    const std::size_t rowBytes = static_cast<std::size_t>(plan_.sourceWidth) * 4;
    uint8_t* out = chunk_.data() + static_cast<std::size_t>(y - chunkStart_) * rowBytes;
    if (row.Interleaved()) {
      std::copy_n(row.data, rowBytes, out);
    } else {
      for (int x = 0; x < plan_.sourceWidth; ++x)
        for (int k = 0; k < 4; ++k) *out++ = row.At(x, k);
    }
    if (y + 1 - chunkStart_ == chunkRows_) Flush(y + 1);
  }
  // The picture is read again from its first row.
  void Restart() { chunkStart_ = 0; }
  // The rows of the last chunk, which may be short.
  void End() {
    if (chunkStart_ < plan_.sourceHeight) Flush(plan_.sourceHeight);
  }

 private:
  void Flush(int rowEnd) {
    const int block = 1 << plan_.shift;
    const int blocks = (rowEnd - chunkStart_ + block - 1) / block;
    ParallelFor(blocks, threads_, [&](int i) { AverageBlockRow(chunkStart_ + i * block, rowEnd); });
    chunkStart_ = rowEnd;
    progress_.Done(rowEnd);
  }

  // One row of the scaled picture: each block's sums divided once by its
  // pixel count, then powered.
  void AverageBlockRow(int firstRow, int rowEnd) {
    const int lastRow = std::min(rowEnd, firstRow + (1 << plan_.shift));
    std::vector<const uint8_t*> rows;
    for (int y = firstRow; y < lastRow; ++y)
      rows.push_back(chunk_.data() +
                     static_cast<std::size_t>(y - chunkStart_) * plan_.sourceWidth * 4);
    float* out =
        image_.pixels.data() + 3 * static_cast<std::size_t>(firstRow >> plan_.shift) * plan_.width;
    for (int x = 0; x < plan_.width; ++x, out += 3) {
      const int x0 = x << plan_.shift;
      const int x1 = std::min(plan_.sourceWidth, x0 + (1 << plan_.shift));
      const auto sums = RgbeBlockSums(rows.data(), lastRow - firstRow, x0, x1);
      const long double count = static_cast<long double>(x1 - x0) * (lastRow - firstRow);
      out[0] = PowerOfLinear(sums[2] / count);
      out[1] = PowerOfLinear(sums[1] / count);
      out[2] = PowerOfLinear(sums[0] / count);
    }
  }

  ScalePlan plan_;
  Image& image_;
  int threads_;
  int chunkRows_;
  int chunkStart_ = 0;
  std::vector<uint8_t> chunk_;
  RowProgress progress_;
};

// Reads every pixel as four bytes from the current position, filling the
// picture from its first row. Returns the rows read without filler.
template <typename Rows>
int ReadFlat(ByteStream& in, int width, int height, Rows& rows) {
  const int64_t fillerBefore = in.FillerCount();
  std::vector<uint8_t> row(4 * static_cast<std::size_t>(width));
  int rowsRead = 0;
  for (int y = 0; y < height; ++y) {
    in.Fill(row.data(), row.size());
    rows.Put(y, RgbeRow{row.data(), 1, 4});
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
        std::fill(row + x, row + x + n, value);
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
template <typename Rows>
OrError<int> DecodePixels(ByteStream& in, int width, int height, Rows& rows) {
  const int64_t dataStart = in.Position();
  const int64_t fillerBefore = in.FillerCount();
  // The work row is as wide as the picture.
  std::vector<uint8_t> work(4 * static_cast<std::size_t>(width));
  int rowsRead = 0;
  for (int y = 0; y < height; ++y) {
    const uint8_t m0 = in.Next(), m1 = in.Next(), m2 = in.Next();
    in.Next();
    if (!IsRunLengthMarker(m0, m1, m2)) {
      // Four bytes back, even when fewer were left, but not into the header.
      in.StepBack(static_cast<std::size_t>(std::min<int64_t>(4, in.Position() - dataStart)));
      rows.Restart();
      rowsRead = ReadFlat(in, width, height, rows);
      rows.End();
      return rowsRead;
    }
    if (auto error = DecodeScanline(in, y, width, work)) return *error;
    rows.Put(y, RgbeRow{work.data(), static_cast<std::size_t>(width), 1});
    if (in.FillerCount() == fillerBefore) rowsRead = y + 1;
  }
  rows.End();
  return rowsRead;
}

ReadOutcome ReadAtFullSize(ByteStream& in, const RadianceHeader& h, ReadResult& result) {
  Image& image = result.image;
  image.width = h.width;
  image.height = h.height;
  image.pixels.assign(static_cast<std::size_t>(image.width) * image.height * 3 + 3, 0.0f);
  DirectRows rows(image);
  auto read = DecodePixels(in, h.width, h.height, rows);
  if (auto* error = std::get_if<ReadError>(&read)) return *error;
  result.rowsRead = std::get<int>(read);
  return std::move(result);
}

ReadOutcome ReadScaledDown(ByteStream& in, const ScalePlan& plan, const ImageLimits& limits,
                           ReadResult& result) {
  Image& image = result.image;
  image.width = plan.width;
  image.height = plan.height;
  image.pixels.assign(static_cast<std::size_t>(plan.width) * plan.height * 3 + 3, 0.0f);
  ScaledRows rows(plan, image, limits);
  auto read = DecodePixels(in, plan.sourceWidth, plan.sourceHeight, rows);
  if (auto* error = std::get_if<ReadError>(&read)) return *error;
  // A row of the scaled picture counts when every row of its blocks does.
  const int sourceRows = std::get<int>(read);
  result.rowsRead = sourceRows == plan.sourceHeight ? plan.height : sourceRows >> plan.shift;
  result.scaled = plan;
  return std::move(result);
}

}  // namespace

OrError<ImageSize> ReadHdrSize(ByteSource& source) {
  ByteStream in(source);
  auto header = ParseRadianceHeader(in);
  if (auto* error = std::get_if<ReadError>(&header)) return *error;
  const RadianceHeader& h = std::get<RadianceHeader>(header);
  return ImageSize{h.width, h.height};
}

ReadOutcome ReadHdr(ByteSource& source, const ImageLimits& limits) {
  ByteStream in(source);
  auto header = ParseRadianceHeader(in);
  if (auto* error = std::get_if<ReadError>(&header)) return *error;
  const RadianceHeader& h = std::get<RadianceHeader>(header);
  // Without a way to scale down, the size is refused before anything else.
  if (!limits.scaleDown) {
    if (auto error = CheckLimits(h.width, h.height, limits)) return *error;
  }
  if (h.width < kMinWidth || h.width > kMaxWidth)
    return ReadError{"width outside 8 to 32767 columns (" + SizeText(h.width, h.height) + ")"};
  auto scale = ChooseScale(h.width, h.height, limits);
  if (auto* error = std::get_if<ReadError>(&scale)) return *error;
  const ScalePlan& plan = std::get<ScalePlan>(scale);

  ReadResult result;
  result.isFloat = true;
  if (plan.shift == 0) return ReadAtFullSize(in, h, result);
  return ReadScaledDown(in, plan, limits, result);
}

}  // namespace halvane
