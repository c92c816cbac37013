#include "image/binary_file.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace halvane {

bool BinaryFile::Open(const std::string& path) {
  Close();
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec) || ec) return false;
  const auto size = std::filesystem::file_size(path, ec);
  if (ec) return false;
  file_ = std::fopen(path.c_str(), "rb");
  if (file_ == nullptr) return false;
  size_ = static_cast<int64_t>(size);
  return true;
}

void BinaryFile::Close() {
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
  size_ = 0;
}

int64_t BinaryFile::Position() const {
  return file_ != nullptr ? static_cast<int64_t>(std::ftell(file_)) : 0;
}

int BinaryFile::ReadByte() {
  if (file_ == nullptr) return -1;
  const int c = std::getc(file_);
  return c == EOF ? -1 : c;
}

std::size_t BinaryFile::ReadRest(FileBuffer& buffer) {
  if (file_ == nullptr) return 0;
  constexpr std::size_t kBlock = 1'000'000;
  const int64_t pos = Position();
  if (pos < 0 || pos > size_) return 0;
  const std::size_t rest = std::min(static_cast<std::size_t>(size_ - pos), FileBuffer::size());
  std::size_t done = 0;
  while (done < rest) {
    const std::size_t want = std::min(kBlock, rest - done);
    if (std::fread(buffer.data() + done, 1, want, file_) != want) return 0;
    done += want;
  }
  return done;
}

}  // namespace halvane
