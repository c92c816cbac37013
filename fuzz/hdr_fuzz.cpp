// libFuzzer target: any bytes given to the HDR reader.
#include "reader_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  halvane::fuzz::CheckReader(halvane::ReadHdr, data, size);
  return 0;
}
