#pragma once

#include <cstdint>

#include "support/image_files.h"

namespace halvane::fuzz {

// Reads the input from memory; a small picture is read once more in blocks
// and must come out the same, bit for bit (a difference throws). An accepted
// picture must hold every pixel it claims.
inline void CheckReader(ImageReader reader, const uint8_t* data, std::size_t size) {
  const ReadOutcome outcome = testing::ReadBytes(reader, testing::Bytes(data, data + size));
  const auto* result = std::get_if<ReadResult>(&outcome);
  if (result != nullptr && !result->image.HoldsAllPixels()) __builtin_trap();
}

}  // namespace halvane::fuzz
