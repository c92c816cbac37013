#pragma once

#include <cstdint>
#include <string>

#include "image/byte_stream.h"
#include "image/readers.h"

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

// Parses a Radiance header from the start of `in`, leaving it at the first
// byte after the resolution line, or says why the header is refused.
OrError<RadianceHeader> ParseRadianceHeader(ByteStream& in);

}  // namespace halvane
