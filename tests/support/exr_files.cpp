#include "support/exr_files.h"

#include <Imath/half.h>
#include <OpenEXR/ImfChannelList.h>
#include <OpenEXR/ImfFrameBuffer.h>
#include <OpenEXR/ImfHeader.h>
#include <OpenEXR/ImfOutputFile.h>
#include <OpenEXR/ImfStdIO.h>
#include <OpenEXR/ImfTiledOutputFile.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <stdexcept>
#include <vector>

namespace halvane::testing {
namespace {

constexpr int kChunkRows = 64;

Imf::Header MakeHeader(const ExrSpec& layout) {
  const int dw = layout.dataWidth < 0 ? layout.width : layout.dataWidth;
  const int dh = layout.dataHeight < 0 ? layout.height : layout.dataHeight;
  const Imath::Box2i display({0, 0}, {layout.width - 1, layout.height - 1});
  const Imath::Box2i data({layout.dataX, layout.dataY},
                          {layout.dataX + dw - 1, layout.dataY + dh - 1});
  Imf::Header header(display, data, 1.0f, Imath::V2f(0, 0), 1.0f, Imf::INCREASING_Y,
                     layout.compression);
  const Imf::PixelType type = layout.half ? Imf::HALF : Imf::FLOAT;
  for (const std::string& c : layout.channels) header.channels().insert(c, Imf::Channel(type));
  if (layout.tileSize > 0)
    header.setTileDescription(
        Imf::TileDescription(layout.tileSize, layout.tileSize, Imf::ONE_LEVEL));
  return header;
}

// Rows y0..y1-1 of the data window, one buffer per channel of the file's type.
class RowChunk {
 public:
  RowChunk(const ExrSpec& layout, const Imath::Box2i& data)
      : spec_(layout), data_(data), width_(data.max.x - data.min.x + 1) {}

  Imf::FrameBuffer Fill(const LinearPicture& picture, int y0, int y1) {
    const std::size_t n = static_cast<std::size_t>(width_) * (y1 - y0);
    floats_.assign(spec_.channels.size(), std::vector<float>(n));
    halves_.assign(spec_.channels.size(), std::vector<half>(n));
    for (int y = y0; y < y1; ++y)
      for (int x = 0; x < width_; ++x) {
        const Linear v = picture(data_.min.x + x, y);
        const std::size_t i = static_cast<std::size_t>(y - y0) * width_ + x;
        for (std::size_t c = 0; c < spec_.channels.size(); ++c) {
          const std::string& name = spec_.channels[c];
          floats_[c][i] = name == "G" ? v[1] : name == "B" ? v[2] : name == "A" ? 1.0f : v[0];
          halves_[c][i] = half(floats_[c][i]);
        }
      }
    Imf::FrameBuffer frame;
    const std::size_t size = spec_.half ? sizeof(half) : sizeof(float);
    for (std::size_t c = 0; c < spec_.channels.size(); ++c) {
      const void* base =
          spec_.half ? static_cast<const void*>(halves_[c].data()) : floats_[c].data();
      frame.insert(
          spec_.channels[c],
          Imf::Slice::Make(spec_.half ? Imf::HALF : Imf::FLOAT, base, Imath::V2i(data_.min.x, y0),
                           width_, y1 - y0, size, size * static_cast<std::size_t>(width_)));
    }
    return frame;
  }

 private:
  const ExrSpec& spec_;
  Imath::Box2i data_;
  int width_;
  std::vector<std::vector<float>> floats_;
  std::vector<std::vector<half>> halves_;
};

void WriteScanlines(Imf::OStream& out, const Imf::Header& header, const ExrSpec& layout,
                    const LinearPicture& picture) {
  Imf::OutputFile file(out, header);
  const Imath::Box2i& data = header.dataWindow();
  RowChunk chunk(layout, data);
  for (int y = data.min.y; y <= data.max.y; y += kChunkRows) {
    const int end = std::min(data.max.y + 1, y + kChunkRows);
    file.setFrameBuffer(chunk.Fill(picture, y, end));
    file.writePixels(end - y);
  }
}

void WriteTiles(Imf::OStream& out, const Imf::Header& header, const ExrSpec& layout,
                const LinearPicture& picture) {
  Imf::TiledOutputFile file(out, header);
  const Imath::Box2i& data = header.dataWindow();
  RowChunk chunk(layout, data);
  for (int ty = 0; ty < file.numYTiles(); ++ty) {
    const int y = data.min.y + ty * layout.tileSize;
    const int end = std::min(data.max.y + 1, y + layout.tileSize);
    file.setFrameBuffer(chunk.Fill(picture, y, end));
    file.writeTiles(0, file.numXTiles() - 1, ty, ty);
  }
}

void Write(Imf::OStream& out, const ExrSpec& layout, const LinearPicture& picture) {
  // The reader's size limits are global to the library; the writer needs none.
  Imf::Header::setMaxImageSize(0, 0);
  Imf::Header::setMaxTileSize(0, 0);
  const Imf::Header header = MakeHeader(layout);
  if (layout.tileSize > 0) {
    WriteTiles(out, header, layout, picture);
  } else {
    WriteScanlines(out, header, layout, picture);
  }
}

}  // namespace

Bytes ExrFile(const ExrSpec& layout, const LinearPicture& picture) {
  Imf::StdOSStream out;
  Write(out, layout, picture);
  const std::string bytes = out.str();
  return Bytes(bytes.begin(), bytes.end());
}

void WriteExrFile(const std::string& path, const ExrSpec& layout, const LinearPicture& picture) {
  Imf::StdOFStream out(path.c_str());
  Write(out, layout, picture);
}

Rgbe ToRgbe(const Linear& colour) {
  const float largest = std::max({colour[0], colour[1], colour[2]});
  if (!(largest > 0)) return {0, 0, 0, 0};
  int e = 0;
  std::frexp(largest, &e);  // largest = f * 2^e, f in [0.5, 1)
  Rgbe out{};
  for (std::size_t k = 0; k < 3; ++k)
    out[k] = static_cast<uint8_t>(
        std::min(255.0, std::floor(std::ldexp(static_cast<double>(colour[k]), 8 - e))));
  out[3] = static_cast<uint8_t>(e + 128);
  return out;
}

void WriteRunLengthRadianceFile(const std::string& path, int width, int height,
                                const LinearPicture& picture) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  const Bytes header = RadianceWithData(width, height, {});
  out.write(reinterpret_cast<const char*>(header.data()),
            static_cast<std::streamsize>(header.size()));
  std::vector<Rgbe> row(static_cast<std::size_t>(width));
  Bytes scanline;
  for (int y = 0; y < height; ++y) {
    Linear last{-1, -1, -1};
    Rgbe encoded{};
    for (int x = 0; x < width; ++x) {
      const Linear v = picture(x, y);
      if (v != last) encoded = ToRgbe(v);  // flat stretches are encoded once
      last = v;
      row[static_cast<std::size_t>(x)] = encoded;
    }
    scanline.clear();
    AppendRunLengthScanline(row, scanline);
    out.write(reinterpret_cast<const char*>(scanline.data()),
              static_cast<std::streamsize>(scanline.size()));
  }
  if (!out) throw std::runtime_error("cannot write " + path);
}

float Powered(long double linear) {
  return static_cast<float>(std::pow(linear, 1.0L / 2.2L));
}

float PoweredBlockMean(const std::function<long double(int x, int y)>& value, int x0, int y0,
                       int shift, int width, int height) {
  long double sum = 0;
  int count = 0;
  for (int y = y0; y < std::min(height, y0 + (1 << shift)); ++y)
    for (int x = x0; x < std::min(width, x0 + (1 << shift)); ++x, ++count) sum += value(x, y);
  return Powered(sum / count);
}

}  // namespace halvane::testing
