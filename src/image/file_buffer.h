#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace halvane {

constexpr uint16_t kMaxBufWidth = 3000;
constexpr uint16_t kMaxBufHeight = 3000;
// 3000 x 3000 x 4 + 1 bytes; a file larger than the highest index is refused.
constexpr std::size_t kFileBufferSize = std::size_t{kMaxBufWidth} * kMaxBufHeight * 4 + 1;
constexpr int64_t kFileBufferHighestIndex = static_cast<int64_t>(kFileBufferSize) - 1;

// The readers' shared raw buffer: every reader loads the data after its header
// into it in one pass and decodes from there.
class FileBuffer {
 public:
  FileBuffer() : bytes_(new uint8_t[kFileBufferSize]) {}
  uint8_t* data() { return bytes_.get(); }
  const uint8_t* data() const { return bytes_.get(); }
  static constexpr std::size_t size() { return kFileBufferSize; }

 private:
  std::unique_ptr<uint8_t[]> bytes_;
};

// The one buffer of the program, allocated on first use (start-up calls it)
// and released at program end.
FileBuffer& SharedFileBuffer();

}  // namespace halvane
