#pragma once

#include <cstdint>

#include <OpenEXR/ImfIO.h>

#include "image/byte_source.h"

namespace halvane {

// The OpenEXR library's input stream over a ByteSource: the library jumps
// about the file (to its offset tables and chunks), so every read is a
// ReadAt. Reading past the end throws the library's input exception.
class ExrSourceStream final : public Imf::IStream {
 public:
  explicit ExrSourceStream(ByteSource& source);

  bool read(char c[], int n) override;
  uint64_t tellg() override { return position_; }
  void seekg(uint64_t position) override { position_ = position; }
  void clear() override {}

 private:
  ByteSource& source_;
  uint64_t position_ = 0;
};

}  // namespace halvane
