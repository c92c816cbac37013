#include "image/byte_stream.h"

#include <algorithm>
#include <cstring>

namespace halvane {

bool ByteStream::Refill() {
  if (ended_) return false;
  std::span<const uint8_t> next;
  while (next.empty()) {
    next = source_.NextBlock();
    if (next.empty()) {
      ended_ = true;
      return false;
    }
  }
  if (block_.empty()) {
    block_ = next;
    return true;
  }
  const std::size_t kept = std::min(kHistory, block_.size());
  std::vector<uint8_t> joined(kept + next.size());
  std::memcpy(joined.data(), block_.data() + block_.size() - kept, kept);
  std::memcpy(joined.data() + kept, next.data(), next.size());
  blockStart_ += static_cast<int64_t>(block_.size()) - static_cast<int64_t>(kept);
  joined_.swap(joined);
  block_ = joined_;
  at_ = kept;
  return true;
}

void ByteStream::Fill(uint8_t* out, std::size_t n) {
  while (n > 0) {
    if (at_ == block_.size() && !Refill()) {
      std::memset(out, kFiller, n);
      fillerCount_ += static_cast<int64_t>(n);
      return;
    }
    const std::size_t k = std::min(n, block_.size() - at_);
    std::memcpy(out, block_.data() + at_, k);
    at_ += k;
    out += k;
    n -= k;
  }
}

void ByteStream::StepBack(std::size_t n) {
  at_ -= std::min(n, at_);
}

}  // namespace halvane
