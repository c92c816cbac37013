// Decoding a large run-length Targa with our reader and with stb_image on the
// same file, and a float .ct of the largest size a file may have.
#include <benchmark/benchmark.h>
#include <stb_image.h>

#include <string>

#include "support/ct_tga_files.h"
#include "support/image_files.h"

namespace halvane {
namespace {

constexpr int kTargaWidth = 4000, kTargaHeight = 2000;
// 1500 x 1500 float pixels would be 8 bytes over the file size limit.
constexpr int kCtWidth = 1500, kCtHeight = 1499;

testing::TempDir& Folder() {
  static testing::TempDir dir;
  return dir;
}

// A sky-like picture: horizontal bands of a gradient, a bright sun and
// scattered noise, so rows mix runs and raw stretches as real pictures do.
std::vector<testing::Bgra> SkyPixels() {
  std::vector<testing::Bgra> px;
  px.reserve(static_cast<std::size_t>(kTargaWidth) * kTargaHeight);
  uint32_t noise = 12345;
  for (int y = 0; y < kTargaHeight; ++y)
    for (int x = 0; x < kTargaWidth; ++x) {
      noise = noise * 1103515245u + 12345u;
      const bool sun = (x - 3000) * (x - 3000) + (y - 500) * (y - 500) < 40000;
      const bool speck = (noise >> 16) % 8 == 0;
      const auto band = static_cast<uint8_t>(x / 16 + y / 10);
      px.push_back(sun     ? testing::Bgra{240, 250, 255, 255}
                   : speck ? testing::Bgra{static_cast<uint8_t>(noise >> 8), band, 90, 255}
                           : testing::Bgra{static_cast<uint8_t>(200 - y / 20), band, 100, 255});
    }
  return px;
}

const std::string& TargaPath() {
  static const std::string path = [] {
    const std::string p = Folder().Path("sky.tga");
    const testing::TargaLayout layout{kTargaWidth, kTargaHeight, 10, 24, false, "", 0, 0, 0};
    testing::WriteFile(
        p, testing::TargaFile(layout, testing::TargaRunLengthPixels(SkyPixels(), kTargaWidth, 24)));
    return p;
  }();
  return path;
}

const std::string& FloatCtPath() {
  static const std::string path = [] {
    const std::string p = Folder().Path("sky.ct");
    testing::Bytes data;
    data.reserve(std::size_t{kCtWidth} * kCtHeight * 16);
    for (int i = 0; i < kCtWidth * kCtHeight; ++i)
      for (int k = 0; k < 4; ++k) testing::AppendBigEndianFloat(data, (i % 977) * 0.01f + k);
    testing::WriteFile(p, testing::CtFile(kCtWidth, kCtHeight, data));
    return p;
  }();
  return path;
}

// Both decoders must see the same picture, or the comparison means nothing.
bool SameAsStb(const std::string& path, const Image& ours) {
  int w = 0, h = 0, n = 0;
  stbi_uc* theirs = stbi_load(path.c_str(), &w, &h, &n, 3);
  bool same = theirs != nullptr && w == ours.width && h == ours.height;
  // Ours holds blue, green, red; stb_image gives red, green, blue.
  for (std::size_t i = 0; same && i < std::size_t{3} * w * h; i += 3)
    same = ours.pixels[i] == testing::UnitByte(theirs[i + 2]) &&
           ours.pixels[i + 1] == testing::UnitByte(theirs[i + 1]) &&
           ours.pixels[i + 2] == testing::UnitByte(theirs[i]);
  stbi_image_free(theirs);
  return same;
}

// The file read in blocks, as the load step reads it.
ReadOutcome ReadFile(ImageReader reader, const std::string& path) {
  FileSource source(path);
  return reader(source, ImageLimits{});
}

void BM_ReadTGA_RunLength4000x2000(benchmark::State& state) {
  const std::string& path = TargaPath();
  const ReadOutcome first = ReadFile(ReadTga, path);
  const auto* read = std::get_if<ReadResult>(&first);
  if (read == nullptr || !SameAsStb(path, read->image)) {
    state.SkipWithError("our reader and stb_image disagree");
    return;
  }
  for (auto _ : state) benchmark::DoNotOptimize(ReadFile(ReadTga, path));
}
BENCHMARK(BM_ReadTGA_RunLength4000x2000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_StbLoad_RunLengthTarga4000x2000(benchmark::State& state) {
  const std::string& path = TargaPath();
  for (auto _ : state) {
    int w = 0, h = 0, n = 0;
    stbi_uc* pixels = stbi_load(path.c_str(), &w, &h, &n, 3);
    benchmark::DoNotOptimize(pixels);
    stbi_image_free(pixels);
  }
}
BENCHMARK(BM_StbLoad_RunLengthTarga4000x2000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ReadCT_Float1500x1499(benchmark::State& state) {
  const std::string& path = FloatCtPath();
  for (auto _ : state) {
    const ReadOutcome read = ReadFile(ReadCt, path);
    if (!std::holds_alternative<ReadResult>(read)) state.SkipWithError("not read");
    benchmark::DoNotOptimize(read);
  }
}
BENCHMARK(BM_ReadCT_Float1500x1499)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace halvane
