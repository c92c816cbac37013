// Decoding large Radiance files with our reader and with stb_image's float
// loader on the same file, and the load step's preview build. The run-length
// picture stays 3000 x 1500, the widest run-length scanlines once were, so
// the figures compare with earlier runs; the flat one has the largest size a
// file that fits may have, 4000 x 2000.
#include <benchmark/benchmark.h>
#include <stb_image.h>

#include <memory>

#include "image/readers.h"
#include "support/image_files.h"
#include "support/test_host.h"
#include "workflow/load_image.h"
#include "workflow/redraw.h"
#include "workflow/workflow.h"

namespace halvane {
namespace {

struct Size {
  int width, height;
};
constexpr Size kRunLength{3000, 1500};
constexpr Size kFlat{4000, 2000};

// A sky-like picture: a smooth gradient with a bright sun and some noise, so
// the scanlines mix runs and literal stretches as real images do.
std::vector<testing::Rgbe> SkyPixels(Size size) {
  const int kWidth = size.width, kHeight = size.height;
  std::vector<testing::Rgbe> px(static_cast<std::size_t>(kWidth) * kHeight);
  uint32_t noise = 12345;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      noise = noise * 1103515245u + 12345u;
      const bool sun = (x - 3000) * (x - 3000) + (y - 500) * (y - 500) < 2500;
      const uint8_t jitter = static_cast<uint8_t>((noise >> 16) & 3);
      px[static_cast<std::size_t>(y) * kWidth + x] =
          sun ? testing::Rgbe{255, 250, 240, 140}
              : testing::Rgbe{static_cast<uint8_t>(100 + y / 20 + jitter),
                              static_cast<uint8_t>(120 + y / 25),
                              static_cast<uint8_t>(200 - y / 20), 128};
    }
  return px;
}

testing::TempDir& BenchDir() {
  static testing::TempDir dir;
  return dir;
}

const std::string& RunLengthSky() {
  static const std::string path = [] {
    const std::string p = BenchDir().Path("sky-rle.hdr");
    testing::WriteFile(
        p, testing::RunLengthRadiance(kRunLength.width, kRunLength.height, SkyPixels(kRunLength)));
    return p;
  }();
  return path;
}

const std::string& FlatSky() {
  static const std::string path = [] {
    const std::string p = BenchDir().Path("sky-flat.hdr");
    testing::WriteFile(p, testing::FlatRadiance(kFlat.width, kFlat.height, SkyPixels(kFlat)));
    return p;
  }();
  return path;
}

const std::string& SkyFile(benchmark::State& state) {
  return state.range(0) == 0 ? RunLengthSky() : FlatSky();
}

void BM_DecodeHdrOurs(benchmark::State& state) {
  const std::string& path = SkyFile(state);
  for (auto _ : state) {
    FileSource source(path);
    const ReadOutcome read = ReadHdr(source);
    if (!std::holds_alternative<ReadResult>(read)) state.SkipWithError("read failed");
    benchmark::DoNotOptimize(read);
  }
}
BENCHMARK(BM_DecodeHdrOurs)->Arg(0)->Arg(1)->ArgName("flat")->Unit(benchmark::kMillisecond);

void BM_DecodeHdrStb(benchmark::State& state) {
  const std::string& path = SkyFile(state);
  for (auto _ : state) {
    int w = 0, h = 0, n = 0;
    float* data = stbi_loadf(path.c_str(), &w, &h, &n, 3);
    if (data == nullptr) state.SkipWithError("stb failed");
    benchmark::DoNotOptimize(data);
    stbi_image_free(data);
  }
}
BENCHMARK(BM_DecodeHdrStb)->Arg(0)->Arg(1)->ArgName("flat")->Unit(benchmark::kMillisecond);

void BM_LoadStepPreview(benchmark::State& state) {
  auto session = MakeSession();
  ControlModel controls;
  testing::TestHost host;
  StartSession(*session, controls, host);
  host.AnswerDialog(RunLengthSky());
  LoadImage(*session, controls, host);
  for (auto _ : state) {
    float maxSample = 0;
    PaintImageLayer(*session, controls, &maxSample);
    benchmark::DoNotOptimize(maxSample);
  }
}
BENCHMARK(BM_LoadStepPreview)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace halvane
