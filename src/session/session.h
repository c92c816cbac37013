#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "image/image.h"
#include "preview/bitmap.h"
#include "session/fixed_array.h"

namespace halvane {

constexpr std::size_t kPointCapacity = 2600;         // valid point indices 1..2600
constexpr std::size_t kOptimizationCapacity = 5000;  // valid result indices 1..5000
constexpr std::size_t kSeedCapacity = 500;           // valid seed indices 1..500
constexpr std::size_t kNeighbourSlots = 6;           // slots 1..6
constexpr std::size_t kMemberSlots = 92;             // slots 1..92
constexpr int kPreviewSize = 500;

// One analysis point on the dome. Slot arrays are 1-based; slot 0 of `nb` and
// `members` is never used, and 0 in a slot means empty.
struct point_typ {
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

// One optimization result: a decision byte per point (0 absorbed, 1 single
// light, 2..6 centre of a collapse of that level) and its statistics.
struct optimization_typ {
  FixedArray<uint8_t, kPointCapacity + 1> decision;
  float avgReduction;
  int32_t maxReduction;
  int32_t recordedLights;
  int32_t diffIndex;
  int32_t lightCount;
  FixedArray<int32_t, 8> levelCount;  // slots 1..7
};

// All data of one working session. Created once with the window (on the heap,
// value-initialised so every member starts at zero) and never reallocated.
struct Session {
  // Image
  bool ImageMissing = true;
  image_typ Image;
  std::string ImageFileName;

  // Analysis points
  FixedArray<point_typ, kPointCapacity + 1> Points{};
  uint32_t PointCount = 0;
  uint8_t SubdivLevel = 0;
  double PointIntensity = 0.0;

  // Optimization results
  FixedArray<optimization_typ, kOptimizationCapacity + 1> Optimizations{};
  FixedArray<optimization_typ, kSeedCapacity + 1> SeedOptimizations{};
  uint16_t SeedCount = 0;
  uint16_t OptimizationCount = 0;
  uint32_t FoundCount = 0;
  uint32_t AbortedCount = 0;

  // Sampling parameters
  float BlackPoint = 0.0f;
  float WhitePoint = 0.0f;
  float ClampLum = 0.0f;

  // Statistics
  float MaxLum = 0.0f, MinLum = 0.0f, AvgLum = 0.0f;
  float AvgLumDiff = 0.0f;
  float AvgColorDiff = 0.0f;
  int32_t UsedPointCount = 0;

  // Highlight increase parameters
  float LumIncValue = 0.0f;
  float LumIncPower = 0.0f;
  float HighlightR = 0.0f, HighlightG = 0.0f, HighlightB = 0.0f;

  // Preview
  Bitmap PreviewBitmap;
  Bitmap BackBitmap;
  float ViewMin = 0.0f, ViewMax = 0.0f;
  bool ShowBackground = false, ShowFill = false, ShowPoints = false, ShowUnused = false,
       ShowLines = false, ShowPointNr = false, ShowCollapseNr = false, DarkenImage = false,
       ShowOutOfRange = false;
  bool ViewUpdateEnabled = false;

  // Workflow
  uint8_t WorkflowState = 0;
  bool AbortRequested = false;
};

// Sessions are too large for the stack; this is the one way to make one.
inline std::unique_ptr<Session> MakeSession() {
  return std::make_unique<Session>();
}

}  // namespace halvane
