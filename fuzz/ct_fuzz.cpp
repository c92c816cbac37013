// libFuzzer target: any bytes given to the CT reader under a ".ct" name.
#include <cstdint>

#include "fuzz_input_file.h"
#include "image/readers.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  static const halvane::fuzz::FuzzInputFile file(".ct");
  if (!file.Write(data, size)) return 0;
  halvane::Image image;
  bool isFloat = false;
  const bool ok = halvane::ReadCT(file.path(), image, 4000, 4000, isFloat);
  // An accepted picture holds every pixel it claims.
  if (ok && !image.HoldsAllPixels()) __builtin_trap();
  return 0;
}
