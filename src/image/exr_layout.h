#pragma once

#include <Imath/ImathBox.h>
#include <OpenEXR/ImfPixelType.h>

#include <cstdint>
#include <string>
#include <vector>

#include "image/byte_source.h"
#include "image/exr_stream.h"
#include "image/readers.h"

namespace halvane {

// The sides of a window, which may exceed int.
inline int64_t WidthOf(const Imath::Box2i& b) {
  return int64_t{b.max.x} - b.min.x + 1;
}
inline int64_t HeightOf(const Imath::Box2i& b) {
  return int64_t{b.max.y} - b.min.y + 1;
}

struct ExrChannel {
  std::string name;
  Imf::PixelType type;
};

// What the reader takes from the header.
struct ExrLayout {
  Imath::Box2i display;
  Imath::Box2i data;
  // Blue, green, red; or the one Y channel, which gives all three.
  std::vector<ExrChannel> channels;
  // Scanlines the library decodes together, for choosing how many rows to
  // ask for at once.
  int linesPerChunk = 1;
};

// Reads an OpenEXR file's start (magic number, version, header) through the
// library, after checking the header's sizes, and says what the reader
// needs from it, or why the file is refused: multi-part and deep files, no
// R, G, B or Y channels, luminance-chroma or subsampled channels, a display
// window without pixels, or tile tables too large.
OrError<ExrLayout> ReadExrLayout(ExrSourceStream& in, ByteSource& source);

}  // namespace halvane
