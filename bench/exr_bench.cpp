// OpenEXR input: our reader against the library's own RgbaInputFile reading
// the same 2K half-float PIZ file into a plain buffer, and a 4K file loaded
// scaled down. Both sides use the same library thread count.
#include <benchmark/benchmark.h>

#include <OpenEXR/ImfArray.h>
#include <OpenEXR/ImfRgbaFile.h>
#include <OpenEXR/ImfThreading.h>

#include <cmath>
#include <map>

#include "image/parallel_for.h"
#include "support/exr_files.h"

namespace halvane {
namespace {

testing::TempDir& Folder() {
  static testing::TempDir dir;
  return dir;
}

// A sky: a gradient darkening upwards, a bright sun and fine noise, so that
// the compression has real work.
testing::Linear Sky(int width, int height, int x, int y) {
  const uint32_t noise =
      (static_cast<uint32_t>(x) * 2654435761u) ^ (static_cast<uint32_t>(y) * 40503u);
  const float jitter = static_cast<float>(noise >> 24) / 2048.0f;
  const float dx = static_cast<float>(x - width * 2 / 3), dy = static_cast<float>(y - height / 4);
  if (dx * dx + dy * dy < static_cast<float>(width * width) / 4000.0f)
    return {3000.0f, 2800.0f, 2500.0f};
  const float up = static_cast<float>(y) / static_cast<float>(height);
  return {0.2f + 0.6f * up + jitter, 0.3f + 0.5f * up + jitter, 0.8f + 0.2f * up + jitter};
}

const std::string& SkyFile(int width, int height) {
  static std::map<int, std::string> paths;
  std::string& path = paths[width];
  if (path.empty()) {
    path = Folder().Path("sky" + std::to_string(width) + ".exr");
    testing::WriteExrFile(path,
                          {.width = width, .height = height, .compression = Imf::PIZ_COMPRESSION},
                          [=](int x, int y) { return Sky(width, height, x, y); });
  }
  return path;
}

void UseAllCores() {
  Imf::setGlobalThreadCount(ThreadCount(0));
}

ReadOutcome ReadFile(const std::string& path, bool fit) {
  FileSource source(path);
  ImageLimits limits;
  if (fit) limits.scaleDown = [](const ScalePlan&) { return true; };
  return ReadExr(source, limits);
}

void BM_ReadEXR_HalfPiz2048x1024(benchmark::State& state) {
  const std::string& path = SkyFile(2048, 1024);
  UseAllCores();
  for (auto _ : state) {
    const ReadOutcome read = ReadFile(path, false);
    if (!std::holds_alternative<ReadResult>(read)) state.SkipWithError("not read");
    benchmark::DoNotOptimize(read);
  }
}
BENCHMARK(BM_ReadEXR_HalfPiz2048x1024)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LibraryRgbaInputFile_HalfPiz2048x1024(benchmark::State& state) {
  const std::string& path = SkyFile(2048, 1024);
  UseAllCores();
  for (auto _ : state) {
    Imf::RgbaInputFile file(path.c_str());
    const Imath::Box2i window = file.dataWindow();
    const int width = window.max.x - window.min.x + 1, height = window.max.y - window.min.y + 1;
    Imf::Array2D<Imf::Rgba> pixels(height, width);
    file.setFrameBuffer(&pixels[0][0] - window.min.x - window.min.y * width, 1, width);
    file.readPixels(window.min.y, window.max.y);
    benchmark::DoNotOptimize(pixels[height / 2][width / 2]);
  }
}
BENCHMARK(BM_LibraryRgbaInputFile_HalfPiz2048x1024)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ReadEXR_HalfPiz4096x2048_ScaledDown(benchmark::State& state) {
  const std::string& path = SkyFile(4096, 2048);
  UseAllCores();
  for (auto _ : state) {
    const ReadOutcome read = ReadFile(path, true);
    const auto* result = std::get_if<ReadResult>(&read);
    if (result == nullptr || !result->scaled) state.SkipWithError("not read scaled down");
    benchmark::DoNotOptimize(read);
  }
}
BENCHMARK(BM_ReadEXR_HalfPiz4096x2048_ScaledDown)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace halvane
