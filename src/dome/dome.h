#pragma once

#include <cstdint>

#include "base/fixed_array.h"

namespace halvane {

constexpr std::size_t kPointCapacity = 2600;  // valid point indices 1..2600
constexpr std::size_t kNeighbourSlots = 6;    // slots 1..6
constexpr std::size_t kMemberSlots = 92;      // slots 1..92

// One analysis point on the dome. Slot arrays are 1-based; slot 0 of `nb` and
// `members` is never used, and 0 in a slot means empty.
struct DomePoint {
  uint16_t px;
  uint16_t py;
  double x, y, z;
  float r, g, b;
  float lum;
  float lumSum7, lumSum19, lumSum37, lumSum61, lumSum91;
  float lightR, lightG, lightB;
  float lightLum;
  bool used;
  FixedArray<int32_t, kNeighbourSlots + 1> nb;
  int32_t maxLevel;
  int32_t level;
  FixedArray<int32_t, kMemberSlots + 1> members;
  FixedArray<uint8_t, 8> memberCount;
  bool contrastEdge;
};

// The analysis points: indices 1..pointCount of `points` are in use.
struct Dome {
  FixedArray<DomePoint, kPointCapacity + 1> points{};
  uint32_t pointCount = 0;
  uint8_t subdivLevel = 0;
  double pointIntensity = 0.0;
};

// How image values become point colours: the black and white points of the
// normalisation and the luminance a point's colour is clamped to.
struct SamplingSettings {
  float blackPoint = 0.0f;
  float whitePoint = 0.0f;
  float clampLum = 0.0f;
};

// Luminance and colour statistics over the used points.
struct DomeStatistics {
  float maxLum = 0.0f, minLum = 0.0f, avgLum = 0.0f;
  float avgLumDiff = 0.0f;
  float avgColorDiff = 0.0f;
  int32_t usedPointCount = 0;
};

// The highlight boost's increment curve and colour.
struct HighlightSettings {
  float value = 0.0f;
  float power = 0.0f;
  float r = 0.0f, g = 0.0f, b = 0.0f;
};

}  // namespace halvane
