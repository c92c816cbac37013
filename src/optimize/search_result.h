#pragma once

#include <cstdint>

#include "dome/dome.h"

namespace halvane {

constexpr std::size_t kResultCapacity = 5000;  // valid result indices 1..5000
constexpr std::size_t kSeedCapacity = 500;     // valid seed indices 1..500

// One result of the search: a decision byte per point (0 absorbed, 1 single
// light, 2..6 centre of a collapse of that level) and its statistics.
struct SearchResult {
  FixedArray<uint8_t, kPointCapacity + 1> decision;
  float avgReduction;
  int32_t maxReduction;
  int32_t recordedLights;
  int32_t diffIndex;
  int32_t lightCount;
  FixedArray<int32_t, 8> levelCount;  // slots 1..7
};

// The stored results of an optimization run and the seeds of its next level.
struct SearchResults {
  FixedArray<SearchResult, kResultCapacity + 1> results{};
  FixedArray<SearchResult, kSeedCapacity + 1> seeds{};
  uint16_t seedCount = 0;
  uint16_t count = 0;
  uint32_t foundCount = 0;
  uint32_t abortedCount = 0;
};

}  // namespace halvane
