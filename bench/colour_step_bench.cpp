// Colour application of 642 points on the largest picture a file may hold
// (4000 x 2000), beside the Radiance decode of a flat file of the same size:
// applying the colours should cost well under reading the picture.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "image/readers.h"
#include "support/image_files.h"
#include "support/test_host.h"
#include "workflow/apply_colour.h"
#include "workflow/place_points.h"
#include "workflow/workflow.h"

namespace halvane {
namespace {

constexpr int kWidth = 4000, kHeight = 2000;

// A sky: brighter towards the zenith, with a small sun of value 40.
float SkyValue(int x, int y) {
  const bool sun = (x - 3000) * (x - 3000) + (y - 500) * (y - 500) < 2500;
  return sun ? 40.0f : 0.2f + 1.5f * static_cast<float>(kHeight - y) / kHeight;
}

void BM_ColourApplication642(benchmark::State& state) {
  auto session = MakeSession();
  Session& s = *session;
  ControlModel controls;
  testing::TestHost host;
  StartSession(s, controls, host);
  s.image.width = kWidth;
  s.image.height = kHeight;
  s.image.pixels.resize(static_cast<std::size_t>(kWidth) * kHeight * 3);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x)
      for (int k = 0; k < 3; ++k)
        s.image.pixels[3 * (static_cast<std::size_t>(y) * kWidth + x) + k] = SkyValue(x, y);
  s.imageMissing = false;
  s.workflowState = 1;
  controls.SpinPointIteration.value = 4;
  PlacePoints(s, controls, host);
  for (auto _ : state) {
    ApplyColour(s, controls, host);
    benchmark::DoNotOptimize(s.dome.points[1].lum);
  }
  if (s.dome.pointCount != 642) state.SkipWithError("points missing");
}
BENCHMARK(BM_ColourApplication642)->Unit(benchmark::kMillisecond);

void BM_RadianceDecodeFlat4000x2000(benchmark::State& state) {
  static testing::TempDir dir;
  static const std::string path = [] {
    std::vector<testing::Rgbe> pixels(static_cast<std::size_t>(kWidth) * kHeight);
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x)
        pixels[static_cast<std::size_t>(y) * kWidth + x] =
            SkyValue(x, y) > 10 ? testing::Rgbe{160, 160, 150, 134}
                                : testing::Rgbe{static_cast<uint8_t>(100 + y / 20),
                                                static_cast<uint8_t>(120 + y / 25),
                                                static_cast<uint8_t>(200 - y / 20), 128};
    const std::string p = dir.Path("sky-flat.hdr");
    testing::WriteFile(p, testing::FlatRadiance(kWidth, kHeight, pixels));
    return p;
  }();
  for (auto _ : state) {
    FileSource source(path);
    const ReadOutcome read = ReadHdr(source, {kWidth, kWidth});
    if (!std::holds_alternative<ReadResult>(read)) state.SkipWithError("read failed");
    benchmark::DoNotOptimize(read);
  }
}
BENCHMARK(BM_RadianceDecodeFlat4000x2000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace halvane
