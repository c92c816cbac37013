#pragma once

#include <unistd.h>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

namespace halvane::fuzz {

// The readers take a file name, so every input goes through one temporary
// file per process, named with the extension the load step would pass on.
class FuzzInputFile {
 public:
  explicit FuzzInputFile(const std::string& extension)
      : path_((std::filesystem::temp_directory_path() /
               ("halvane-fuzz-" + std::to_string(getpid()) + extension))
                  .string()) {}
  ~FuzzInputFile() { std::remove(path_.c_str()); }

  // Replaces the file's content; false when it cannot be written.
  bool Write(const uint8_t* data, std::size_t size) const {
    std::FILE* f = std::fopen(path_.c_str(), "wb");
    if (f == nullptr) return false;
    const bool ok = size == 0 || std::fwrite(data, 1, size, f) == size;
    return std::fclose(f) == 0 && ok;
  }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace halvane::fuzz
