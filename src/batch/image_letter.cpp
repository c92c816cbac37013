#include "batch/image_letter.h"

#include <cstdint>
#include <fstream>

#include "rig/light_name.h"

namespace halvane {
namespace {

constexpr uint64_t kFnvOffset = 14695981039346656037ull;
constexpr uint64_t kFnvPrime = 1099511628211ull;

}  // namespace

std::optional<char> ImageFileLetter(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  uint64_t hash = kFnvOffset;
  char buffer[1 << 16];
  while (file.read(buffer, sizeof buffer) || file.gcount() > 0) {
    for (std::streamsize i = 0; i < file.gcount(); ++i) {
      hash ^= static_cast<unsigned char>(buffer[i]);
      hash *= kFnvPrime;
    }
    if (!file) break;
  }
  if (file.bad()) return std::nullopt;
  return NameLetter(static_cast<int>(hash % kNameLetterCount));
}

}  // namespace halvane
