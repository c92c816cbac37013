// libFuzzer target: any bytes given to the TGA reader.
#include "reader_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  halvane::fuzz::CheckReader(halvane::ReadTga, data, size);
  return 0;
}
