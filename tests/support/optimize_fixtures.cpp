#include "support/optimize_fixtures.h"

#include <cmath>
#include <cstring>
#include <deque>

#include "optimize/candidates.h"
#include "workflow/apply_colour.h"
#include "workflow/load_image.h"
#include "workflow/place_points.h"
#include "workflow/workflow.h"

namespace halvane::testing {

float Noise01(int a, int b) {
  uint32_t h = static_cast<uint32_t>(a) * 7919u + static_cast<uint32_t>(b) * 104729u + 1u;
  h ^= h >> 16;
  h *= 0x7feb352du;
  h ^= h >> 15;
  h *= 0x846ca68bu;
  h ^= h >> 16;
  return static_cast<float>(h % 10000u) / 10000.0f;
}

Environment Uniform(float v) {
  return [v](int, int) { return v; };
}

Environment Gradient() {
  return [](int x, int y) {
    return 0.1f + static_cast<float>(x) / kImageWidth +
           2.0f * static_cast<float>(kImageHeight - y) / kImageHeight;
  };
}

Environment Bands(float top, float bottom, int height) {
  return [=](int, int y) {
    return static_cast<float>(top + (bottom - top) * static_cast<double>(y) / height);
  };
}

Environment Random() {
  return [](int x, int y) { return 4.0f * Noise01(x, y); };
}

Environment Sky(float noise, int salt) {
  return [=](int x, int y) {
    const float elevation = 1.0f - static_cast<float>(y) / kImageHeight;
    const float dx = static_cast<float>(x - 180), dy = static_cast<float>(y - 30);
    const float sun = 6.0f * std::exp(-(dx * dx + dy * dy) / 60.0f);
    const float base = 0.3f + 1.2f * elevation + sun;
    return base * (1.0f + noise * (2.0f * Noise01(x + 7 * salt, y) - 1.0f));
  };
}

Environment Patches(float range, int salt) {
  return [=](int x, int y) { return 0.2f + range * Noise01(x / 16 + 31 * salt, y / 16); };
}

Environment World(float noise, int width, int height) {
  return [=](int x, int y) {
    const double elevation = 1.0 - 2.0 * y / height;
    if (elevation < 0) return static_cast<float>(0.08 - 0.04 * elevation);
    const double dx = (x - width * 0.3) * 128.0 / width, dy = (y - height * 0.25) * 128.0 / width;
    const double sun = 50.0 * std::exp(-(dx * dx + dy * dy) / 8.0);
    return static_cast<float>(0.4 + 1.2 * elevation + sun + noise * Noise01(x / 16, y / 16));
  };
}

namespace {

// Points of `resolution` with their colours, the search controls proposed.
void PlaceAndColour(DomeRun& run, int resolution) {
  run.controls.SpinPointIteration.value = resolution;
  ProposeSearchSettings(run.s, run.controls);
  PlacePoints(run.s, run.controls, run.host);
  ApplyColour(run.s, run.controls, run.host);
}

}  // namespace

std::unique_ptr<DomeRun> MakeDome(int resolution, const Environment& env, int width, int height) {
  auto run = std::make_unique<DomeRun>();
  Session& s = run->s;
  s.image.width = width;
  s.image.height = height;
  s.image.pixels.assign(static_cast<std::size_t>(width) * height * 3 + 3, 0.0f);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      for (int k = 0; k < 3; ++k)
        s.image.pixels[3 * (static_cast<std::size_t>(y) * width + x) + k] = env(x, y);
  s.imageMissing = false;
  s.workflowState = 1;
  PlaceAndColour(*run, resolution);
  return run;
}

std::string SampleImagePath() {
  return std::string(HALVANE_TEST_DATA_DIR) + "/../../data/sky.hdr";
}

std::unique_ptr<DomeRun> ImageDome(const std::string& path, int resolution) {
  auto run = std::make_unique<DomeRun>();
  run->host.AnswerDialog(path);
  LoadImage(run->s, run->controls, run->host);
  if (run->s.imageMissing) return nullptr;
  PlaceAndColour(*run, resolution);
  return run;
}

void AddSingles(Dome& dome, uint32_t count) {
  dome.pointCount = count;
  for (uint32_t i = 1; i <= count; ++i) {
    DomePoint& p = dome.points[i];
    p.members[1] = static_cast<int32_t>(i);
    p.memberCount[1] = 1;
    p.maxLevel = p.level = 1;
    p.used = true;
  }
}

void SetRings(Dome& dome, uint32_t centre, const std::vector<std::vector<int32_t>>& rings) {
  DomePoint& p = dome.points[centre];
  std::size_t count = 1, level = 1;
  for (const auto& ring : rings) {
    ++level;
    for (int32_t m : ring) p.members[++count] = m;
    p.memberCount[level] = static_cast<uint8_t>(count);
  }
  p.maxLevel = p.level = static_cast<int32_t>(level);
}

void Link(Dome& dome, uint32_t a, uint32_t b) {
  const auto add = [](DomePoint& p, uint32_t n) {
    for (std::size_t slot = 1; slot <= kNeighbourSlots; ++slot)
      if (p.nb[slot] == 0) {
        p.nb[slot] = static_cast<int32_t>(n);
        return;
      }
  };
  add(dome.points[a], b);
  add(dome.points[b], a);
}

void SetLuminance(Dome& dome, uint32_t i, float lum) {
  DomePoint& p = dome.points[i];
  p.r = p.g = p.b = p.lum = lum;
}

void OptimizeControls::ApplyTo(ControlModel& controls) const {
  controls.EditOptThreshold.text = threshold;
  controls.SpinOptMaxRed.value = maxReduction;
  controls.SpinOptLevel1.value = level1Points;
  controls.SpinOptLevel1_min.value = level1MaxLights;
  controls.CheckOptHalt1.checked = haltAfterLevel1;
}

std::string DecisionText(const SearchResult& record, uint32_t count) {
  std::string text;
  for (uint32_t j = 1; j <= count; ++j) text += static_cast<char>('0' + record.decision[j]);
  return text;
}

std::vector<std::string> ResultTexts(const SearchResults& results, uint32_t pointCount) {
  std::vector<std::string> texts;
  for (uint16_t r = 1; r <= results.count; ++r)
    texts.push_back(DecisionText(results.results[r], pointCount));
  return texts;
}

std::vector<int> StepsFrom(const Dome& dome, uint32_t from) {
  std::vector<int> steps(dome.pointCount + 1, -1);
  std::deque<uint32_t> queue{from};
  steps[from] = 0;
  while (!queue.empty()) {
    const uint32_t p = queue.front();
    queue.pop_front();
    for (std::size_t k = 1; k <= kNeighbourSlots; ++k) {
      const int32_t n = dome.points[p].nb[k];
      if (n == 0 || steps[static_cast<std::size_t>(n)] >= 0) continue;
      steps[static_cast<std::size_t>(n)] = steps[p] + 1;
      queue.push_back(static_cast<uint32_t>(n));
    }
  }
  return steps;
}

std::vector<std::string> LogTexts(const ControlModel& controls, const std::string& timeText) {
  std::vector<std::string> texts;
  for (const std::string& line : controls.ListBox1.items) {
    EXPECT_EQ(line.rfind(timeText, 0), 0u) << line;
    texts.push_back(line.substr(timeText.size()));
  }
  return texts;
}

std::string LogStartingWith(const DomeRun& run, const std::string& prefix) {
  for (const std::string& text : LogTexts(run.controls, run.host.timeText))
    if (text.rfind(prefix, 0) == 0) return text;
  return "";
}

bool SameRecord(const SearchResult& a, const SearchResult& b) {
  return std::memcmp(a.decision.items, b.decision.items, sizeof a.decision.items) == 0 &&
         std::memcmp(&a.avgReduction, &b.avgReduction, sizeof(float)) == 0 &&
         a.maxReduction == b.maxReduction && a.recordedLights == b.recordedLights &&
         a.diffIndex == b.diffIndex && a.lightCount == b.lightCount &&
         std::memcmp(a.levelCount.items, b.levelCount.items, sizeof a.levelCount.items) == 0;
}

namespace {

bool SameBits(float a, float b) {
  return std::memcmp(&a, &b, sizeof(float)) == 0;
}

}  // namespace

void ExpectSameOutcome(const DomeRun& expected, const DomeRun& actual) {
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
  const ControlModel& ec = expected.controls;
  const ControlModel& ac = actual.controls;
  EXPECT_EQ(ac.ListBox1.items, ec.ListBox1.items);
  EXPECT_EQ(ac.GridOptimized.rowCount, ec.GridOptimized.rowCount);
  EXPECT_EQ(ac.GridOptimized.cells, ec.GridOptimized.cells);
  EXPECT_EQ(ac.GridOptimized.selectedRow, ec.GridOptimized.selectedRow);
  EXPECT_EQ(ac.StatusBar1.panels, ec.StatusBar1.panels);
  EXPECT_EQ(ac.GaugeOpt2.progress, ec.GaugeOpt2.progress);
  EXPECT_EQ(ac.RadioLevelNr.itemIndex, ec.RadioLevelNr.itemIndex);
  EXPECT_EQ(actual.host.messages, expected.host.messages);
  ASSERT_EQ(a.view.preview.width(), e.view.preview.width());
  EXPECT_EQ(std::memcmp(
                a.view.preview.data(), e.view.preview.data(),
                static_cast<std::size_t>(e.view.preview.bytesPerLine()) * e.view.preview.height()),
            0);
}

}  // namespace halvane::testing
