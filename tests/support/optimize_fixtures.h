#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "support/session_fixture.h"
#include "workflow/session.h"

namespace halvane::testing {

// A reproducible value in [0, 1) for the integer pair (a, b).
float NoiseAt(int a, int b);

// Generated pictures for optimization runs, one value for all three channels
// of pixel (x, y) of a width x height latitude-longitude image.
//
// Random luminance 0..4 per pixel: point colours differ strongly, so few
// collapses are possible (with a threshold of about 0.6).
float RandomPixel(int x, int y);
// Brightness rising downwards from 0.2 to 2.2: bands of similar points.
float GradientPixel(int x, int y, int height);
// 1.0 at the top to 1.4 at the bottom: every collapse fits a threshold of 0.5,
// and the points' order (by neighbourhood luminance) runs in bands.
float BandPixel(int x, int y, int height);
// A dark smooth ground below the horizon, above it a sky brighter towards the
// zenith with a sun and blocks (16 x 16 pixels) of noise of amplitude `noise`.
float WorldPixel(int x, int y, int width, int height, float noise);

// Decisions 1..count as digits, for compact comparisons ("20110").
std::string DecisionText(const SearchResult& record, uint32_t count);

// Number of points 1..last with a decision other than 0.
int LightsUpTo(const SearchResult& record, uint32_t last);

// Neighbour steps from point `from` to every point (index 0 unused; -1 where
// a point cannot be reached).
std::vector<int> StepsFrom(const Session& session, uint32_t from);

// The log lines without their time of day.
std::vector<std::string> LogTexts(const ControlModel& controls, const std::string& timeText);

// A started session for optimization tests, with helpers that take it
// through the steps before the optimization.
class OptimizeTest : public SessionTest {
 protected:
  static constexpr int kWidth = 128, kHeight = 64;

  // A kWidth x kHeight picture of `value(x, y)`, then points of `resolution`
  // (3: 162 points, 4: 642 points) with the picture's colours applied.
  template <typename ValueOf>
  void ApplyColours(int resolution, ValueOf value) {
    UseImage(kWidth, kHeight, value);
    controls.SpinPointIteration.value = resolution;
    ButtonApplyColors();
  }

  // The 162- or 642-point dome on a uniform picture, then every point's
  // colour (and luminance) set to `lum`.
  void UniformDome(int resolution, float lum);
  // Sets a point's sampled colour to the grey of luminance `lum`.
  void SetLuminance(uint32_t i, float lum);
  // Threshold text, reset and candidate phase with the given maximum level.
  void FindCandidates(const std::string& thresholdText, int maxReduction);

  // Settings that keep a run short.
  void SmallRun(const std::string& thresholdText, int maxReduction, int level1Points,
                int level1MaxLights);

  std::vector<std::string> Log() const { return LogTexts(controls, host.timeText); }
  // The first log text starting with `prefix`, or "" when there is none.
  std::string LogStartingWith(const std::string& prefix) const;

 private:
  void ButtonApplyColors();
};

}  // namespace halvane::testing
