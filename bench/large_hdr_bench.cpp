// A 16K run-length Radiance file (16384 x 8192) loaded scaled down to
// 2048 x 1024 as the load step does, against stb_image decoding the same
// file to floats at full size. bench/peak_memory.sh measures our peak memory.
#include <benchmark/benchmark.h>
#include <stb_image.h>

#include "support/exr_files.h"
#include "workflow/load_image.h"

namespace halvane {
namespace {

constexpr int kWidth = 16384, kHeight = 8192;

const std::string& SkyFile() {
  static testing::TempDir dir;
  static const std::string path = [] {
    const std::string p = dir.Path("sky16k.hdr");
    testing::WriteRunLengthRadianceFile(
        p, kWidth, kHeight, testing::SunPicture{.sunX = 9000, .sunY = 1500, .sunSize = 300});
    return p;
  }();
  return path;
}

void BM_ReadHDR_RunLength16384x8192_ScaledDown(benchmark::State& state) {
  const std::string& path = SkyFile();
  ImageLimits limits;
  limits.scaleDown = [](const ScalePlan&) { return true; };
  for (auto _ : state) {
    const ReadOutcome read = ReadImageFile(path, limits);
    const auto* result = std::get_if<ReadResult>(&read);
    if (result == nullptr || !result->scaled) state.SkipWithError("not read scaled down");
    benchmark::DoNotOptimize(read);
  }
}
BENCHMARK(BM_ReadHDR_RunLength16384x8192_ScaledDown)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_StbLoadf_RunLength16384x8192(benchmark::State& state) {
  const std::string& path = SkyFile();
  for (auto _ : state) {
    int w = 0, h = 0, n = 0;
    float* pixels = stbi_loadf(path.c_str(), &w, &h, &n, 3);
    if (pixels == nullptr || w != kWidth) state.SkipWithError("stb_image could not read it");
    benchmark::DoNotOptimize(pixels);
    stbi_image_free(pixels);
  }
}
BENCHMARK(BM_StbLoadf_RunLength16384x8192)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace halvane
