#pragma once

#include <cstdint>

#include "support/image_files.h"

// The largest image side the fuzz targets let the readers accept; 0 keeps
// the program's own limits. A small side keeps a forged header from making
// every run allocate and fill a picture of 4000 x 4000 pixels.
#ifndef HALVANE_FUZZ_LARGEST_SIDE
#define HALVANE_FUZZ_LARGEST_SIDE 0
#endif

namespace halvane::fuzz {

inline ImageLimits FuzzLimits() {
  if (HALVANE_FUZZ_LARGEST_SIDE <= 0) return ImageLimits{};
  return ImageLimits{HALVANE_FUZZ_LARGEST_SIDE, HALVANE_FUZZ_LARGEST_SIDE};
}

// Reads the input from memory; a small picture is read once more in blocks
// and must come out the same, bit for bit (a difference throws). An accepted
// picture must hold every pixel it claims.
inline void CheckReader(ImageReader reader, const uint8_t* data, std::size_t size,
                        const ImageLimits& limits = FuzzLimits()) {
  const ReadOutcome outcome = testing::ReadBytes(reader, testing::Bytes(data, data + size), limits);
  const auto* result = std::get_if<ReadResult>(&outcome);
  if (result != nullptr && !result->image.HoldsAllPixels()) __builtin_trap();
}

// Reads the input from memory once. For the OpenEXR reader: it reads by
// offset, so blocks make no difference, and the library's decompressors may
// leave parts of a damaged file's rows undefined (PXR24 in OpenEXR 3.1.5), so
// two reads of one damaged file need not agree.
inline void CheckReaderOnce(ImageReader reader, const uint8_t* data, std::size_t size,
                            const ImageLimits& limits) {
  SpanSource source(std::span<const uint8_t>(data, size));
  const ReadOutcome outcome = reader(source, limits);
  const auto* result = std::get_if<ReadResult>(&outcome);
  if (result != nullptr && !result->image.HoldsAllPixels()) __builtin_trap();
}

// Small limits that every picture larger than them is scaled down to, from
// at most `largestSource` pixels a side, on the calling thread alone.
inline ImageLimits ScalingLimits(int largestSource) {
  ImageLimits limits;
  limits.maxWidth = 64;
  limits.maxHeight = 64;
  limits.largestSourceSide = largestSource;
  limits.scaleDown = [](const ScalePlan&) { return true; };
  limits.threads = 1;
  return limits;
}

}  // namespace halvane::fuzz
