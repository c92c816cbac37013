// Writes the 16K run-length Radiance sky of the large-picture benchmark
// (16384 x 8192, a flat sky with a bright square sun) to the path given, a
// scanline at a time. Used by bench/peak_memory.sh.
#include <cstdio>
#include <exception>

#include "support/exr_files.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: halvane-bench-sky OUT.hdr\n");
    return 2;
  }
  try {
    halvane::testing::WriteRunLengthRadianceFile(
        argv[1], 16384, 8192,
        halvane::testing::SunPicture{.sunX = 9000, .sunY = 1500, .sunSize = 300});
  } catch (const std::exception& e) {
    std::fprintf(stderr, "halvane-bench-sky: %s\n", e.what());
    return 1;
  }
  return 0;
}
