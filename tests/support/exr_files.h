#pragma once

#include <OpenEXR/ImfCompression.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "support/image_files.h"

namespace halvane::testing {

using Linear = std::array<float, 3>;  // red, green, blue
// A picture's linear value at (x, y) in the file's pixel coordinates.
using LinearPicture = std::function<Linear(int x, int y)>;

// How an .exr test file is laid out.
struct ExrSpec {
  int width = 8;  // the display window, from 0,0
  int height = 4;
  // The data window; by default the display window.
  int dataX = 0, dataY = 0, dataWidth = -1, dataHeight = -1;
  Imf::Compression compression = Imf::ZIP_COMPRESSION;
  bool half = true;
  int tileSize = 0;  // 0: scanlines
  // R, G, B their values, A 1, any other name the red value.
  std::vector<std::string> channels{"R", "G", "B"};
};

// The file written by the OpenEXR library, in memory or at `path`; rows are
// written a chunk at a time, so large pictures never exist whole.
Bytes ExrFile(const ExrSpec& layout, const LinearPicture& picture);
void WriteExrFile(const std::string& path, const ExrSpec& layout, const LinearPicture& picture);

// The stored RGBE pixel nearest below a linear colour, for the program's
// decoding m * 2^(e - 136).
Rgbe ToRgbe(const Linear& colour);
// A run-length .hdr written a scanline at a time.
void WriteRunLengthRadianceFile(const std::string& path, int width, int height,
                                const LinearPicture& picture);

// A flat sky with a bright square sun, as large test pictures are made.
struct SunPicture {
  int sunX = 0, sunY = 0, sunSize = 1;
  Linear sky{0.25f, 0.375f, 0.5f};
  Linear sun{2000.0f, 1800.0f, 1500.0f};
  Linear operator()(int x, int y) const {
    const bool inSun = x >= sunX && x < sunX + sunSize && y >= sunY && y < sunY + sunSize;
    return inSun ? sun : sky;
  }
};

// The float the readers store for a linear value: v^(1/2.2) in extended
// precision, rounded once.
float Powered(long double linear);
// A scaled-down pixel as the readers make it: the values of the block of
// 2^shift x 2^shift pixels from (x0, y0), cut at the picture's edge, summed
// in extended precision in row order, divided once by their count, powered.
float PoweredBlockMean(const std::function<long double(int x, int y)>& value, int x0, int y0,
                       int shift, int width, int height);

}  // namespace halvane::testing
