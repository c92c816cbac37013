#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <variant>

#include "base/progress.h"
#include "image/byte_source.h"
#include "image/image.h"

namespace halvane {

constexpr int kLargestImageSide = 4000;
// The largest side a picture is scaled down from. It bounds what a damaged
// header can make a reader allocate.
constexpr int kLargestSourceSide = 32768;

// How a picture larger than the limits is read at a fraction of its size:
// halved `shift` times, each pixel the mean of a 2^shift x 2^shift block.
struct ScalePlan {
  int sourceWidth = 0;
  int sourceHeight = 0;
  int shift = 0;
  int width = 0;
  int height = 0;
};

// What a reader may read. Readers that can scale down (.hdr and .exr) offer a
// larger picture to `scaleDown`, which says whether it is read scaled down;
// without it, or when it says no, the picture is refused.
struct ImageLimits {
  int maxWidth = kLargestImageSide;
  int maxHeight = kLargestImageSide;
  std::function<bool(const ScalePlan&)> scaleDown{};
  int largestSourceSide = kLargestSourceSide;
  // Told how far a read that scales down has come.
  Progress progress{};
  // Threads for decoding and converting; 0: one per core.
  int threads = 0;
};

// Values a reader had to replace: not-a-number and negative values become 0,
// infinities the largest finite value of their channel type.
struct ValueRepairs {
  int64_t zeroed = 0;
  int64_t clamped = 0;
};

// A picture read. Data that ends early leaves the rest of the picture made of
// filler bytes; `rowsRead` counts the rows, in file order, that were decoded
// before the first one that needed filler.
struct ReadResult {
  Image image;
  bool isFloat = false;
  int rowsRead = 0;
  // Set when the picture was scaled down to fit the limits.
  std::optional<ScalePlan> scaled;
  ValueRepairs repairs;
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
// OpenEXR ".exr" pictures through the OpenEXR library: scanline or tiled, any
// compression it reads, half, float or unsigned channels; R, G, B (alpha
// ignored) or a single Y channel as grey. Always floating point.
ReadOutcome ReadExr(ByteSource& source, const ImageLimits& limits = {});

using ImageReader = ReadOutcome (*)(ByteSource& source, const ImageLimits& limits);

// The picture size a Radiance header gives, without reading the pixels.
struct ImageSize {
  int width = 0;
  int height = 0;
};
OrError<ImageSize> ReadHdrSize(ByteSource& source);

// Shared by the readers: the text "W x H", and the refusal of sides above
// the limits.
std::string SizeText(int width, int height);
std::optional<ReadError> CheckLimits(int width, int height, const ImageLimits& limits);
// The fewest halvings that bring width x height within the limits.
ScalePlan PlanScaleDown(int width, int height, const ImageLimits& limits);
// For readers that scale down: no plan (shift 0) when the picture fits, the
// plan when it is larger and `limits.scaleDown` accepts it, else the refusal.
OrError<ScalePlan> ChooseScale(int width, int height, const ImageLimits& limits);

}  // namespace halvane
