#pragma once

#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <vector>

namespace halvane {

// Where a reader's bytes come from: the total size up front, then the bytes in
// order, one block at a time. A whole file never has to be held at once.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual int64_t Size() const = 0;
  // The next block; empty at the end. Valid until the next call.
  virtual std::span<const uint8_t> NextBlock() = 0;
  // For formats that jump about the file: copies the out.size() bytes at
  // `offset`; false when they are not all there. NextBlock goes on unmoved.
  virtual bool ReadAt(int64_t offset, std::span<uint8_t> out) = 0;
  // What the bytes are, for messages: the file's path.
  virtual std::string Name() const = 0;
};

// Bytes already in memory, handed out whole or in blocks of `blockSize`.
class SpanSource final : public ByteSource {
 public:
  explicit SpanSource(std::span<const uint8_t> bytes, std::size_t blockSize = SIZE_MAX)
      : bytes_(bytes), blockSize_(blockSize == 0 ? 1 : blockSize) {}
  int64_t Size() const override { return static_cast<int64_t>(bytes_.size()); }
  std::span<const uint8_t> NextBlock() override;
  bool ReadAt(int64_t offset, std::span<uint8_t> out) override;
  std::string Name() const override { return "bytes in memory"; }

 private:
  std::span<const uint8_t> bytes_;
  std::size_t blockSize_;
  std::size_t given_ = 0;
};

// A regular file read in blocks of 1,000,000 bytes, never past the size it
// had when opened. A folder or a device does not open.
class FileSource final : public ByteSource {
 public:
  explicit FileSource(const std::string& path);
  FileSource(const FileSource&) = delete;
  FileSource& operator=(const FileSource&) = delete;
  ~FileSource() override;

  bool IsOpen() const { return file_ != nullptr; }
  // True once a read failed; the blocks ended there.
  bool Failed() const { return failed_; }
  int64_t Size() const override { return size_; }
  std::span<const uint8_t> NextBlock() override;
  bool ReadAt(int64_t offset, std::span<uint8_t> out) override;
  std::string Name() const override { return path_; }

 private:
  std::string path_;
  std::FILE* file_ = nullptr;
  int64_t size_ = 0;
  int64_t given_ = 0;
  bool failed_ = false;
  bool moved_ = false;  // ReadAt moved the file position
  std::vector<uint8_t> block_;
};

}  // namespace halvane
