#include "support/optimize_fixtures.h"

#include <cmath>
#include <deque>

#include "optimize/candidates.h"
#include "workflow/apply_colour.h"

namespace halvane::testing {

float NoiseAt(int a, int b) {
  uint32_t h = static_cast<uint32_t>(a) * 7919u + static_cast<uint32_t>(b) * 104729u + 1u;
  h ^= h >> 16;
  h *= 0x7feb352du;
  h ^= h >> 15;
  h *= 0x846ca68bu;
  h ^= h >> 16;
  return static_cast<float>(h % 10000u) / 10000.0f;
}

float RandomPixel(int x, int y) {
  return 4.0f * NoiseAt(x, y);
}

float GradientPixel(int, int y, int height) {
  return static_cast<float>(0.2 + 2.0 * y / height);
}

float BandPixel(int, int y, int height) {
  return static_cast<float>(1.0 + 0.4 * y / height);
}

float WorldPixel(int x, int y, int width, int height, float noise) {
  const double elevation = 1.0 - 2.0 * y / height;
  if (elevation < 0) return static_cast<float>(0.08 - 0.04 * elevation);
  const double dx = (x - width * 0.3) * 128.0 / width, dy = (y - height * 0.25) * 128.0 / width;
  const double sun = 50.0 * std::exp(-(dx * dx + dy * dy) / 8.0);
  return static_cast<float>(0.4 + 1.2 * elevation + sun + noise * NoiseAt(x / 16, y / 16));
}

std::string DecisionText(const SearchResult& record, uint32_t count) {
  std::string text;
  for (uint32_t j = 1; j <= count; ++j) text += static_cast<char>('0' + record.decision[j]);
  return text;
}

int LightsUpTo(const SearchResult& record, uint32_t last) {
  int lights = 0;
  for (uint32_t j = 1; j <= last; ++j) lights += record.decision[j] != 0;
  return lights;
}

std::vector<int> StepsFrom(const Session& s, uint32_t from) {
  std::vector<int> steps(s.dome.pointCount + 1, -1);
  std::deque<uint32_t> queue{from};
  steps[from] = 0;
  while (!queue.empty()) {
    const uint32_t p = queue.front();
    queue.pop_front();
    for (std::size_t k = 1; k <= kNeighbourSlots; ++k) {
      const int32_t n = s.dome.points[p].nb[k];
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

void OptimizeTest::ButtonApplyColors() {
  ApplyColour(s, controls, host);
}

void OptimizeTest::UniformDome(int resolution, float lum) {
  ApplyColours(resolution, [](int, int) { return 1.0f; });
  for (uint32_t i = 1; i <= s.dome.pointCount; ++i) SetLuminance(i, lum);
}

void OptimizeTest::SetLuminance(uint32_t i, float lum) {
  DomePoint& p = s.dome.points[i];
  p.r = p.g = p.b = p.lum = lum;
}

void OptimizeTest::FindCandidates(const std::string& thresholdText, int maxReduction) {
  ResetOptimizationFields(s);
  BuildCandidates(s, controls, host, ParseThreshold(thresholdText),
                  static_cast<uint8_t>(maxReduction));
}

void OptimizeTest::SmallRun(const std::string& thresholdText, int maxReduction, int level1Points,
                            int level1MaxLights) {
  controls.EditOptThreshold.text = thresholdText;
  controls.SpinOptMaxRed.value = maxReduction;
  controls.SpinOptLevel1.value = level1Points;
  controls.SpinOptLevel1_min.value = level1MaxLights;
}

std::string OptimizeTest::LogStartingWith(const std::string& prefix) const {
  for (const std::string& text : Log())
    if (text.rfind(prefix, 0) == 0) return text;
  return "";
}

}  // namespace halvane::testing
