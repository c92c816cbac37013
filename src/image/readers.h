#pragma once

#include <optional>
#include <string>
#include <variant>

#include "image/byte_source.h"
#include "image/image.h"

namespace halvane {

constexpr int kLargestImageSide = 4000;

// The largest width and height a reader accepts.
struct ImageLimits {
  int maxWidth = kLargestImageSide;
  int maxHeight = kLargestImageSide;
};

// A picture read. Data that ends early leaves the rest of the picture made of
// filler bytes; `rowsRead` counts the rows, in file order, that were decoded
// before the first one that needed filler.
struct ReadResult {
  Image image;
  bool isFloat = false;
  int rowsRead = 0;
};

// Why a file could not be read, in words for the log.
struct ReadError {
  std::string reason;
};

template <typename T>
using OrError = std::variant<T, ReadError>;
using ReadOutcome = OrError<ReadResult>;

// Radiance ".hdr" pictures, flat or run-length scanlines; always floating point.
ReadOutcome ReadHdr(ByteSource& source, const ImageLimits& limits = {});
// ".ct" pictures: 8-bit, 16-bit or float RGBA; only float data is
// floating point.
ReadOutcome ReadCt(ByteSource& source, const ImageLimits& limits = {});
// Targa ".tga" true-colour pictures of 24 or 32 bits, uncompressed or
// run-length encoded; never floating point.
ReadOutcome ReadTga(ByteSource& source, const ImageLimits& limits = {});

using ImageReader = ReadOutcome (*)(ByteSource& source, const ImageLimits& limits);

// Shared by the readers: the text "W x H", and the refusal of sides above
// the limits.
std::string SizeText(int width, int height);
std::optional<ReadError> CheckLimits(int width, int height, const ImageLimits& limits);

}  // namespace halvane
