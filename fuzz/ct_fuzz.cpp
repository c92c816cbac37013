// libFuzzer target: any bytes given to the CT reader.
#include "reader_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  halvane::fuzz::CheckReader(halvane::ReadCt, data, size);
  return 0;
}
