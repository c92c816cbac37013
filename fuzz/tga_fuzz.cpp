// libFuzzer target: any bytes given to the TGA reader.
#include "reader_check.h"

namespace {

// Run-length data that ends early still fills the whole declared picture, so
// a 4000 x 4000 header costs a large allocation and 16 million pixels per run.
// Such pictures decode exactly like small ones; leaving them out keeps the
// search fast. Sides up to 4000 and beyond still reach the limit test.
constexpr uint64_t kMaxFuzzedPixels = 1u << 18;

uint64_t DeclaredPixels(const uint8_t* data, std::size_t size) {
  if (size < 16) return 0;
  const uint64_t width = data[12] | data[13] << 8;
  const uint64_t height = data[14] | data[15] << 8;
  return width * height;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  if (DeclaredPixels(data, size) > kMaxFuzzedPixels) return 0;
  halvane::fuzz::CheckReader(halvane::ReadTga, data, size);
  return 0;
}
