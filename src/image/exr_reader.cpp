#include <OpenEXR/ImfFrameBuffer.h>
#include <OpenEXR/ImfHeader.h>
#include <OpenEXR/ImfInputFile.h>
#include <OpenEXR/ImfThreading.h>

#include <algorithm>
#include <atomic>
#include <cfloat>
#include <new>
#include <string>
#include <vector>

#include "image/block_mean.h"
#include "image/exr_layout.h"
#include "image/exr_stream.h"
#include "image/exr_values.h"
#include "image/linear_power.h"
#include "image/parallel_for.h"
#include "image/read_progress.h"
#include "image/readers.h"

namespace halvane {
namespace {

constexpr int kLargestTileSide = 1024;
// Bytes of decoded rows held at once.
constexpr int64_t kChunkBytes = int64_t{32} << 20;

float LargestOf(Imf::PixelType type) {
  return type == Imf::HALF ? kLargestHalf : FLT_MAX;
}

// Decoded rows of the data window, a chunk at a time; one buffer per channel.
// Half channels stay half when read at full size, so a table converts them.
class ChunkBuffers {
 public:
  ChunkBuffers(const ExrLayout& layout, int rows, bool keepHalf)
      : layout_(layout), width_(WidthOf(layout.data)), keepHalf_(keepHalf) {
    const std::size_t n = static_cast<std::size_t>(rows) * static_cast<std::size_t>(width_);
    for (const ExrChannel& c : layout.channels) {
      if (IsHalf(c)) {
        halves_.emplace_back(n);
        floats_.emplace_back();
      } else {
        halves_.emplace_back();
        floats_.emplace_back(n);
      }
    }
  }

  bool IsHalf(const ExrChannel& c) const { return keepHalf_ && c.type == Imf::HALF; }

  // Decodes data rows y0..y1-1 (file coordinates) into the buffers.
  void Read(Imf::InputFile& file, int y0, int y1) {
    Imf::FrameBuffer frame;
    const Imath::V2i origin(layout_.data.min.x, y0);
    for (std::size_t c = 0; c < layout_.channels.size(); ++c) {
      const ExrChannel& channel = layout_.channels[c];
      const bool half = IsHalf(channel);
      const std::size_t size = half ? sizeof(uint16_t) : sizeof(float);
      const void* base = half ? static_cast<const void*>(halves_[c].data()) : floats_[c].data();
      frame.insert(channel.name, Imf::Slice::Make(half ? Imf::HALF : Imf::FLOAT, base, origin,
                                                  width_, y1 - y0, size, size * width_));
    }
    file.setFrameBuffer(frame);
    file.readPixels(y0, y1 - 1);
  }

  const uint16_t* HalfRow(std::size_t c, int row) const {
    return halves_[c].data() + static_cast<std::size_t>(row) * width_;
  }
  const float* FloatRow(std::size_t c, int row) const {
    return floats_[c].data() + static_cast<std::size_t>(row) * width_;
  }

 private:
  const ExrLayout& layout_;
  int64_t width_;
  bool keepHalf_;
  std::vector<std::vector<uint16_t>> halves_;
  std::vector<std::vector<float>> floats_;
};

// The display-window columns that hold data, first..end-1 counted from 0;
// column `first` reads data column `dataFirst` (counted from the data
// window's left side), and so on.
struct ColumnSpan {
  int first = 0;
  int end = 0;
  int64_t dataFirst = 0;
};

ColumnSpan DataColumns(const ExrLayout& l) {
  const int64_t first = std::max(l.display.min.x, l.data.min.x);
  const int64_t last = std::min(l.display.max.x, l.data.max.x);
  ColumnSpan span;
  if (first > last) return span;
  span.first = static_cast<int>(first - l.display.min.x);
  span.end = static_cast<int>(last - l.display.min.x + 1);
  span.dataFirst = first - l.data.min.x;
  return span;
}

// Sums repairs from the threads.
struct SharedRepairs {
  std::atomic<int64_t> zeroed{0};
  std::atomic<int64_t> clamped{0};
  void Add(const ValueRepairs& r) {
    zeroed += r.zeroed;
    clamped += r.clamped;
  }
};

class ExrPictureReader {
 public:
  ExrPictureReader(const ExrLayout& layout, const ScalePlan& plan, const ImageLimits& limits,
                   Image& image)
      : layout_(layout),
        plan_(plan),
        limits_(limits),
        image_(image),
        threads_(ThreadCount(limits.threads)),
        columns_(DataColumns(layout)) {}

  ValueRepairs Read(Imf::InputFile& file) {
    const int rows = ChunkRows();
    ChunkBuffers buffers(layout_, rows, plan_.shift == 0);
    RowProgress progress(limits_.progress, plan_.sourceHeight);
    for (int start = 0; start < plan_.sourceHeight; start += rows) {
      const int end = std::min(plan_.sourceHeight, start + rows);
      // Display rows start..end-1 (from 0) that hold data.
      const int64_t top = int64_t{layout_.display.min.y} + start;
      const int64_t y0 = std::max<int64_t>(top, layout_.data.min.y);
      const int64_t y1 = std::min<int64_t>(top + (end - start), int64_t{layout_.data.max.y} + 1);
      Chunk chunk{buffers, start, end, 0, 0};
      if (y0 < y1) {
        buffers.Read(file, static_cast<int>(y0), static_cast<int>(y1));
        chunk.dataFirst = static_cast<int>(y0 - top);
        chunk.dataEnd = static_cast<int>(y1 - top);
      }
      if (plan_.shift == 0) {
        ParallelFor(end - start, threads_, [&](int i) { ConvertRow(chunk, start + i); });
      } else {
        const int block = 1 << plan_.shift;
        ParallelFor((end - start + block - 1) / block, threads_,
                    [&](int i) { AverageBlockRow(chunk, start + i * block); });
        progress.Done(end);
      }
    }
    return ValueRepairs{repairs_.zeroed, repairs_.clamped};
  }

 private:
  // One chunk of display rows start..end-1; rows dataFirst..dataEnd-1 of it
  // (from the chunk's first row) hold data, the others are 0.
  struct Chunk {
    const ChunkBuffers& buffers;
    int start, end, dataFirst, dataEnd;
    bool HasData(int y) const { return y - start >= dataFirst && y - start < dataEnd; }
    int BufferRow(int y) const { return y - start - dataFirst; }
  };

  int ChunkRows() const {
    const int block = 1 << plan_.shift;
    const int64_t rowBytes =
        WidthOf(layout_.data) * static_cast<int64_t>(layout_.channels.size()) * 4;
    int64_t rows = std::max<int64_t>(64, int64_t{layout_.linesPerChunk} * threads_);
    rows = std::min(rows, std::max<int64_t>(1, kChunkBytes / rowBytes));
    rows = (rows + block - 1) / block * block;
    return static_cast<int>(std::min<int64_t>(rows, int64_t{1} << 20));
  }

  // Display row y at full size: each value repaired and powered.
  void ConvertRow(const Chunk& chunk, int y) {
    if (!chunk.HasData(y)) return;  // the picture starts at 0
    ValueRepairs repairs;
    float* out = image_.pixels.data() + 3 * static_cast<std::size_t>(y) * plan_.width;
    const int row = chunk.BufferRow(y);
    const bool grey = layout_.channels.size() == 1;
    for (std::size_t c = 0; c < layout_.channels.size(); ++c) {
      const ExrChannel& channel = layout_.channels[c];
      const auto store = [&](int x, float v) {
        float* p = out + 3 * static_cast<std::size_t>(x);
        if (grey) {
          p[0] = p[1] = p[2] = v;
        } else {
          p[c] = v;
        }
      };
      const int first = columns_.first;
      if (chunk.buffers.IsHalf(channel)) {
        const HalfTable& table = HalfValues();
        const uint16_t* src = chunk.buffers.HalfRow(c, row) + columns_.dataFirst;
        for (int x = first; x < columns_.end; ++x) store(x, table.Powered(src[x - first], repairs));
      } else {
        const float largest = LargestOf(channel.type);
        const float* src = chunk.buffers.FloatRow(c, row) + columns_.dataFirst;
        for (int x = first; x < columns_.end; ++x)
          store(x, PowerOfLinear(RepairedValue(src[x - first], largest, repairs)));
      }
    }
    repairs_.Add(repairs);
  }

  // The output row of the blocks whose first display row is `first`.
  void AverageBlockRow(const Chunk& chunk, int first) {
    const int last = std::min(chunk.end, first + (1 << plan_.shift));
    ValueRepairs repairs;
    BlockRowSums sums(plan_.sourceWidth, plan_.shift);
    const std::size_t n = layout_.channels.size();
    for (int y = first; y < last; ++y) {
      if (!chunk.HasData(y)) continue;  // a row of zeros changes no sum
      const int row = chunk.BufferRow(y);
      const float* src[3] = {};
      float largest[3] = {};
      for (std::size_t c = 0; c < n; ++c) {
        src[c] = chunk.buffers.FloatRow(c, row) + columns_.dataFirst;
        largest[c] = LargestOf(layout_.channels[c].type);
      }
      sums.AddRow([&](int x, long double& b, long double& g, long double& r) {
        if (x < columns_.first || x >= columns_.end) return;
        const int i = x - columns_.first;
        if (n == 1) {
          b = g = r = RepairedValue(src[0][i], largest[0], repairs);
          return;
        }
        b = RepairedValue(src[0][i], largest[0], repairs);
        g = RepairedValue(src[1][i], largest[1], repairs);
        r = RepairedValue(src[2][i], largest[2], repairs);
      });
    }
    const std::size_t outRow = static_cast<std::size_t>(first >> plan_.shift);
    sums.Finish(last - first, image_.pixels.data() + 3 * outRow * plan_.width);
    repairs_.Add(repairs);
  }

  const ExrLayout& layout_;
  ScalePlan plan_;
  const ImageLimits& limits_;
  Image& image_;
  int threads_;
  ColumnSpan columns_;
  SharedRepairs repairs_;
};

// The library's own limits, set before it opens a file: no data window side
// beyond what may be scaled down, no tile side beyond 1024. They are global
// to the library, so the last reader's limits hold.
void LimitTheLibrary(const ImageLimits& limits, int threads) {
  Imf::Header::setMaxImageSize(limits.largestSourceSide, limits.largestSourceSide);
  const int tile = std::min(kLargestTileSide, limits.largestSourceSide);
  Imf::Header::setMaxTileSize(tile, tile);
  if (threads > 1 && Imf::globalThreadCount() < threads) Imf::setGlobalThreadCount(threads);
}

ReadOutcome ReadPicture(ByteSource& source, const ImageLimits& limits) {
  ExrSourceStream stream(source);
  auto layout = ReadExrLayout(stream, source);
  if (auto* error = std::get_if<ReadError>(&layout)) return *error;
  const ExrLayout& l = std::get<ExrLayout>(layout);
  auto scale = ChooseScale(static_cast<int>(WidthOf(l.display)),
                           static_cast<int>(HeightOf(l.display)), limits);
  if (auto* error = std::get_if<ReadError>(&scale)) return *error;
  const ScalePlan& plan = std::get<ScalePlan>(scale);

  const int threads = ThreadCount(limits.threads);
  LimitTheLibrary(limits, threads);
  stream.seekg(0);
  Imf::InputFile file(stream, threads > 1 ? threads : 0);

  ReadResult result;
  result.isFloat = true;
  result.image.width = plan.width;
  result.image.height = plan.height;
  result.image.pixels.assign(static_cast<std::size_t>(plan.width) * plan.height * 3 + 3, 0.0f);
  result.repairs = ExrPictureReader(l, plan, limits, result.image).Read(file);
  result.rowsRead = plan.height;
  if (plan.shift > 0) result.scaled = plan;
  return result;
}

}  // namespace

ReadOutcome ReadExr(ByteSource& source, const ImageLimits& limits) {
  // The library reports damage by throwing; its reason goes to the log.
  try {
    return ReadPicture(source, limits);
  } catch (const std::bad_alloc&) {
    return ReadError{"not enough memory"};
  } catch (const std::exception& e) {
    return ReadError{e.what()};
  }
}

}  // namespace halvane
