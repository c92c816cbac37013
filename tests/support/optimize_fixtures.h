#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "support/session_fixture.h"

namespace halvane::testing {

// Generated environments: one value for all three channels of pixel (x, y)
// of a kImageWidth x kImageHeight latitude-longitude image (unless a dome is
// made at another size).
using Environment = std::function<float(int x, int y)>;

constexpr int kImageWidth = 256, kImageHeight = 128;

// A reproducible value in [0, 1) for the integer pair (a, b).
float Noise01(int a, int b);

Environment Uniform(float v);
// Brighter to the right and towards the zenith.
Environment Gradient();
// Brightness rising from `top` at the zenith to `bottom` at the nadir of an
// image of `height` rows.
Environment Bands(float top, float bottom, int height);
// A random luminance 0..4 per pixel: few collapses fit.
Environment Random();
// A sky brighter towards the zenith with a sun, and `noise` (relative) grain.
Environment Sky(float noise, int salt = 1);
// Patches of random luminance, 16 x 16 pixels each.
Environment Patches(float range, int salt);
// A width x height world: a dark smooth ground, a sky brighter towards the
// zenith with a sun, and blocks of noise of amplitude `noise`.
Environment World(float noise, int width, int height);

// Points of `resolution` (3: 162, 4: 642) sampled from `env`, colours applied.
std::unique_ptr<DomeRun> MakeDome(int resolution, const Environment& env, int width = kImageWidth,
                                  int height = kImageHeight);
// The sample image, data/sky.hdr (1024 x 512, a cloudy sky with a sun).
std::string SampleImagePath();
// Points of `resolution` on the image file at `path`, colours applied and
// the controls as the colour step proposes them; null when it cannot be read.
std::unique_ptr<DomeRun> ImageDome(const std::string& path, int resolution);

// Hand-made domes, only what a test sets. Points 1..count, each a single
// light with no collapse.
void AddSingles(Dome& dome, uint32_t count);
// Point `centre` collects rings[0] at level 2, rings[0] and rings[1] at
// level 3, ...; its maxLevel and working level become the largest.
void SetRings(Dome& dome, uint32_t centre, const std::vector<std::vector<int32_t>>& rings);
// Makes a and b neighbours in their first free slots.
void Link(Dome& dome, uint32_t a, uint32_t b);
// Sets a point's sampled colour to the grey of luminance `lum`.
void SetLuminance(Dome& dome, uint32_t i, float lum);

// The optimization controls of a case.
struct OptimizeControls {
  std::string threshold = "  .5 ";
  int maxReduction = 5;
  int level1Points = 275;
  int level1MaxLights = 50;
  bool haltAfterLevel1 = false;

  void ApplyTo(ControlModel& controls) const;
};

// Decisions 1..count as digits ("20110"), of one result and of the stored
// results.
std::string DecisionText(const SearchResult& record, uint32_t count);
std::vector<std::string> ResultTexts(const SearchResults& results, uint32_t pointCount);

// Neighbour steps from point `from` to every point (index 0 unused; -1 where
// a point cannot be reached).
std::vector<int> StepsFrom(const Dome& dome, uint32_t from);
inline std::vector<int> StepsFrom(const Session& session, uint32_t from) {
  return StepsFrom(session.dome, from);
}

// The log lines without their time of day.
std::vector<std::string> LogTexts(const ControlModel& controls, const std::string& timeText);
// The first log text starting with `prefix`, or "" when there is none.
std::string LogStartingWith(const DomeRun& run, const std::string& prefix);

bool SameRecord(const SearchResult& a, const SearchResult& b);
// Every observable result of two finished runs: stored records in order,
// seeds, counts, points, log, table, status, gauge, messages, picture.
void ExpectSameOutcome(const DomeRun& expected, const DomeRun& actual);

}  // namespace halvane::testing
