#include "image/byte_source.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace halvane {

std::span<const uint8_t> SpanSource::NextBlock() {
  const std::size_t n = std::min(blockSize_, bytes_.size() - given_);
  const auto block = bytes_.subspan(given_, n);
  given_ += n;
  return block;
}

bool SpanSource::ReadAt(int64_t offset, std::span<uint8_t> out) {
  if (offset < 0 || offset > Size() || static_cast<int64_t>(out.size()) > Size() - offset)
    return false;
  if (!out.empty()) std::memcpy(out.data(), bytes_.data() + offset, out.size());
  return true;
}

FileSource::FileSource(const std::string& path) : path_(path) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec) || ec) return;
  const auto size = std::filesystem::file_size(path, ec);
  if (ec) return;
  file_ = std::fopen(path.c_str(), "rb");
  size_ = static_cast<int64_t>(size);
}

FileSource::~FileSource() {
  if (file_ != nullptr) std::fclose(file_);
}

std::span<const uint8_t> FileSource::NextBlock() {
  constexpr int64_t kBlock = 1'000'000;
  if (file_ == nullptr || failed_ || given_ >= size_) return {};
  if (moved_ && fseeko(file_, given_, SEEK_SET) != 0) {
    failed_ = true;
    return {};
  }
  moved_ = false;
  block_.resize(static_cast<std::size_t>(std::min(kBlock, size_ - given_)));
  const std::size_t n = std::fread(block_.data(), 1, block_.size(), file_);
  if (n != block_.size()) failed_ = true;
  given_ += static_cast<int64_t>(n);
  return std::span<const uint8_t>(block_.data(), n);
}

bool FileSource::ReadAt(int64_t offset, std::span<uint8_t> out) {
  if (file_ == nullptr || offset < 0 || offset > size_ ||
      static_cast<int64_t>(out.size()) > size_ - offset)
    return false;
  moved_ = true;
  if (fseeko(file_, offset, SEEK_SET) != 0) return false;
  return std::fread(out.data(), 1, out.size(), file_) == out.size();
}

}  // namespace halvane
