#pragma once

#include <cstdint>
#include <string>

#include "image/binary_file.h"

namespace halvane {

enum RadianceFlags : uint32_t {
  kHdrSignature = 1,
  kHdrGamma = 2,
  kHdrExposure = 4,
  kHdrRleFormat = 8,
};

struct RadianceHeader {
  uint16_t width = 0;
  uint16_t height = 0;
  uint32_t flags = 0;
  float gamma = 1.0f;
  float exposure = 1.0f;
  std::string programType;
};

// Parses a Radiance header from the start of `file`, leaving the file at the
// first byte after the resolution line. Returns false when the header is
// rejected.
bool ParseRadianceHeader(BinaryFile& file, RadianceHeader& header);

}  // namespace halvane
