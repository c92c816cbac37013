#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "image/byte_source.h"

namespace halvane {

// Reads a ByteSource byte by byte across its blocks. Headers ask for bytes
// with Get, which tells the end apart; pixel data uses Next and Fill, which
// go on past the end with the filler byte 1, so that data ending early still
// decodes into a whole picture.
class ByteStream {
 public:
  static constexpr uint8_t kFiller = 1;
  // How far StepBack can go.
  static constexpr std::size_t kHistory = 8;

  explicit ByteStream(ByteSource& source) : source_(source) {}

  int64_t Size() const { return source_.Size(); }
  // Bytes taken from the source so far; filler bytes do not count.
  int64_t Position() const { return blockStart_ + static_cast<int64_t>(at_); }
  // Filler bytes handed out so far.
  int64_t FillerCount() const { return fillerCount_; }

  // The next byte, or -1 at the end.
  int Get() {
    if (at_ < block_.size() || Refill()) return block_[at_++];
    return -1;
  }
  uint8_t Next() {
    if (at_ < block_.size() || Refill()) return block_[at_++];
    ++fillerCount_;
    return kFiller;
  }
  // Copies the next `n` bytes to `out`, filler past the end.
  void Fill(uint8_t* out, std::size_t n);
  // Goes back over up to kHistory bytes already taken.
  void StepBack(std::size_t n);

 private:
  bool Refill();

  ByteSource& source_;
  std::span<const uint8_t> block_;
  std::size_t at_ = 0;
  int64_t blockStart_ = 0;
  int64_t fillerCount_ = 0;
  bool ended_ = false;
  // Once a second block arrives, the current block lives here behind the last
  // bytes of the one before, so that StepBack can cross the border.
  std::vector<uint8_t> joined_;
};

}  // namespace halvane
