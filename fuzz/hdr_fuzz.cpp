// libFuzzer target: any bytes given to the HDR reader, once with the load
// step's limits and once scaled down to at most 64 pixels a side.
#include "reader_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  static const halvane::ImageLimits scaling =
      halvane::fuzz::ScalingLimits(halvane::kLargestSourceSide);
  halvane::fuzz::CheckReader(halvane::ReadHdr, data, size);
  halvane::fuzz::CheckReader(halvane::ReadHdr, data, size, scaling);
  return 0;
}
