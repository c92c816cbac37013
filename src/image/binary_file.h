#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "image/file_buffer.h"

namespace halvane {

// A file opened for reading bytes. Only regular files open; a directory or a
// device is refused like a missing file.
class BinaryFile {
 public:
  BinaryFile() = default;
  BinaryFile(const BinaryFile&) = delete;
  BinaryFile& operator=(const BinaryFile&) = delete;
  ~BinaryFile() { Close(); }

  bool Open(const std::string& path);
  void Close();
  bool IsOpen() const { return file_ != nullptr; }
  int64_t Size() const { return size_; }
  int64_t Position() const;
  // The next byte, or -1 at the end of the file or on an error.
  int ReadByte();
  // Reads from the current position to the end of the file into `buffer`
  // from index 0, in blocks of 1,000,000 bytes; returns the count read, or 0
  // after any input/output error. Never writes past the buffer.
  std::size_t ReadRest(FileBuffer& buffer);

 private:
  std::FILE* file_ = nullptr;
  int64_t size_ = 0;
};

// Reads bytes of the buffer up to a limit; past the limit every read gives 1
// and the position stays. `Take` hands out a whole stretch at once when it
// lies within the limit, or nothing.
class ByteCursor {
 public:
  ByteCursor(const uint8_t* data, std::size_t limit) : data_(data), limit_(limit) {}
  uint8_t Next() { return pos_ < limit_ ? data_[pos_++] : uint8_t{1}; }
  const uint8_t* Take(std::size_t n) {
    if (n > limit_ - pos_) return nullptr;
    const uint8_t* p = data_ + pos_;
    pos_ += n;
    return p;
  }
  std::size_t position() const { return pos_; }
  void StepBack(std::size_t n) { pos_ = n > pos_ ? 0 : pos_ - n; }
  std::size_t limit() const { return limit_; }

 private:
  const uint8_t* data_;
  std::size_t limit_;
  std::size_t pos_ = 0;
};

}  // namespace halvane
