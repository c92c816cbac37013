#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <string>

#include "optimize/search_settings.h"
#include "support/test_host.h"
#include "workflow/apply_colour.h"
#include "workflow/control_model.h"
#include "workflow/place_points.h"
#include "workflow/session.h"
#include "workflow/workflow.h"

namespace halvane::testing {

// A session with its controls and host, made up to the colour step on a
// generated environment, ready for "Optimize points".
struct DomeRun {
  std::unique_ptr<Session> session = MakeSession();
  Session& s = *session;
  ControlModel controls;
  TestHost host;

  DomeRun() { FormCreate(s, controls, host); }
  DomeRun(const DomeRun& other) : DomeRun() {
    s = other.s;
    controls = other.controls;
    host.timeText = other.host.timeText;
    host.seconds = other.host.seconds;
  }
};

using Environment = std::function<float(int x, int y)>;

constexpr int kImageWidth = 256, kImageHeight = 128;

// A deterministic pseudo-random value in [0, 1) for a pixel and a salt.
inline float Hash01(int x, int y, uint32_t salt) {
  uint32_t h = static_cast<uint32_t>(x) * 73856093u ^ static_cast<uint32_t>(y) * 19349663u ^
               salt * 83492791u;
  h ^= h >> 13;
  h *= 0x5bd1e995u;
  h ^= h >> 15;
  return static_cast<float>(h & 0xffffffu) / 16777216.0f;
}

inline Environment Uniform(float v) {
  return [v](int, int) { return v; };
}

// Brighter to the right and towards the zenith.
inline Environment Gradient() {
  return [](int x, int y) {
    return 0.1f + static_cast<float>(x) / kImageWidth +
           2.0f * static_cast<float>(kImageHeight - y) / kImageHeight;
  };
}

// A sky: brighter towards the zenith, a sun, and `noise` (relative) grain.
inline Environment Sky(float noise, uint32_t salt = 1) {
  return [=](int x, int y) {
    const float elevation = 1.0f - static_cast<float>(y) / kImageHeight;
    const float dx = static_cast<float>(x - 180), dy = static_cast<float>(y - 30);
    const float sun = 6.0f * std::exp(-(dx * dx + dy * dy) / 60.0f);
    const float base = 0.3f + 1.2f * elevation + sun;
    return base * (1.0f + noise * (2.0f * Hash01(x, y, salt) - 1.0f));
  };
}

// Patches of random luminance, 16 x 16 pixels each.
inline Environment Patches(float range, uint32_t salt) {
  return [=](int x, int y) { return 0.2f + range * Hash01(x / 16, y / 16, salt); };
}

// Points of `resolution` (3: 162, 4: 642) sampled from `env`, colours applied.
inline std::unique_ptr<DomeRun> MakeDome(int resolution, const Environment& env) {
  auto run = std::make_unique<DomeRun>();
  Session& s = run->s;
  s.image.width = kImageWidth;
  s.image.height = kImageHeight;
  s.image.pixels.assign(static_cast<std::size_t>(kImageWidth) * kImageHeight * 3 + 3, 0.0f);
  for (int y = 0; y < kImageHeight; ++y)
    for (int x = 0; x < kImageWidth; ++x)
      for (int k = 0; k < 3; ++k)
        s.image.pixels[3 * (static_cast<std::size_t>(y) * kImageWidth + x) + k] = env(x, y);
  s.imageMissing = false;
  s.workflowState = 1;
  run->controls.SpinPointIteration.value = resolution;
  SpinPointIterationChange(s, run->controls);
  PlacePoints(s, run->controls, run->host);
  ApplyColour(s, run->controls, run->host);
  return run;
}

// The optimization settings of a case.
struct OptimizeControls {
  std::string threshold = "  .5 ";
  int maxReduction = 5;
  int level1Points = 275;
  int level1MaxLights = 50;
  bool haltAfterLevel1 = false;

  void ApplyTo(ControlModel& controls) const {
    controls.EditOptThreshold.text = threshold;
    controls.SpinOptMaxRed.value = maxReduction;
    controls.SpinOptLevel1.value = level1Points;
    controls.SpinOptLevel1_min.value = level1MaxLights;
    controls.CheckOptHalt1.checked = haltAfterLevel1;
  }
};

inline bool SameRecord(const SearchResult& a, const SearchResult& b) {
  return std::memcmp(a.decision.items, b.decision.items, sizeof a.decision.items) == 0 &&
         std::memcmp(&a.avgReduction, &b.avgReduction, sizeof(float)) == 0 &&
         a.maxReduction == b.maxReduction && a.recordedLights == b.recordedLights &&
         a.diffIndex == b.diffIndex && a.lightCount == b.lightCount &&
         std::memcmp(a.levelCount.items, b.levelCount.items, sizeof a.levelCount.items) == 0;
}

inline bool SameBits(float a, float b) {
  return std::memcmp(&a, &b, sizeof(float)) == 0;
}

// Every observable result of two finished runs: stored records in order,
// seeds, counts, points, log, table, status, gauge, messages, picture.
inline void ExpectSameOutcome(const DomeRun& expected, const DomeRun& actual) {
  const Session& e = expected.s;
  const Session& a = actual.s;
  EXPECT_EQ(a.results.count, e.results.count);
  EXPECT_EQ(a.results.foundCount, e.results.foundCount);
  EXPECT_EQ(a.results.abortedCount, e.results.abortedCount);
  EXPECT_EQ(a.results.seedCount, e.results.seedCount);
  EXPECT_EQ(a.workflowState, e.workflowState);
  for (std::size_t i = 1; i <= kResultCapacity; ++i)
    ASSERT_TRUE(SameRecord(a.results.results[i], e.results.results[i])) << "record " << i;
  for (std::size_t i = 1; i <= kSeedCapacity; ++i)
    ASSERT_TRUE(SameRecord(a.results.seeds[i], e.results.seeds[i])) << "seed " << i;
  for (uint32_t j = 1; j <= e.dome.pointCount; ++j) {
    const DomePoint& pe = e.dome.points[j];
    const DomePoint& pa = a.dome.points[j];
    ASSERT_EQ(pa.used, pe.used) << "point " << j;
    ASSERT_EQ(pa.level, pe.level) << "point " << j;
    ASSERT_TRUE(SameBits(pa.lightR, pe.lightR) && SameBits(pa.lightG, pe.lightG) &&
                SameBits(pa.lightB, pe.lightB) && SameBits(pa.lightLum, pe.lightLum))
        << "point " << j;
  }
  EXPECT_EQ(actual.controls.ListBox1.items, expected.controls.ListBox1.items);
  EXPECT_EQ(actual.controls.GridOptimized.rowCount, expected.controls.GridOptimized.rowCount);
  EXPECT_EQ(actual.controls.GridOptimized.cells, expected.controls.GridOptimized.cells);
  EXPECT_EQ(actual.controls.GridOptimized.selectedRow, expected.controls.GridOptimized.selectedRow);
  EXPECT_EQ(actual.controls.StatusBar1.panels, expected.controls.StatusBar1.panels);
  EXPECT_EQ(actual.controls.GaugeOpt2.progress, expected.controls.GaugeOpt2.progress);
  EXPECT_EQ(actual.controls.RadioLevelNr.itemIndex, expected.controls.RadioLevelNr.itemIndex);
  EXPECT_EQ(actual.host.messages, expected.host.messages);
  ASSERT_EQ(a.view.preview.width(), e.view.preview.width());
  EXPECT_EQ(std::memcmp(
                a.view.preview.data(), e.view.preview.data(),
                static_cast<std::size_t>(e.view.preview.bytesPerLine()) * e.view.preview.height()),
            0);
}

}  // namespace halvane::testing
