// libFuzzer target: any bytes given to the HDR reader, once with the load
// step's limits and once scaled down to at most 64 pixels a side, from
// sources as large as the fuzzing limit allows (the program's own largest
// source when there is none).
#include "reader_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  static const halvane::ImageLimits scaling =
      halvane::fuzz::ScalingLimits(
      HALVANE_FUZZ_LARGEST_SIDE > 0 ? HALVANE_FUZZ_LARGEST_SIDE : halvane::kLargestSourceSide);
  halvane::fuzz::CheckReader(halvane::ReadHdr, data, size);
  halvane::fuzz::CheckReader(halvane::ReadHdr, data, size, scaling);
  return 0;
}
