// libFuzzer target: any bytes given to the OpenEXR reader, from memory. The
// library may allocate for the largest image it is allowed, so that is kept
// small (512 pixels a side); pictures above 64 pixels are scaled down.
#include "reader_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  static const halvane::ImageLimits limits = halvane::fuzz::ScalingLimits(512);
  halvane::fuzz::CheckReaderOnce(halvane::ReadExr, data, size, limits);
  return 0;
}
