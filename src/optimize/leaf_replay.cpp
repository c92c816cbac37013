#include "optimize/leaf_replay.h"

#include <algorithm>

namespace halvane {

LeafReplay::LeafReplay(SearchResults& results, SearchRun& run, const CollapseMasks& masks,
                       const std::vector<SearchSeed>& seeds)
    : results_(results), run_(run), masks_(masks), seeds_(seeds) {}

void LeafReplay::Replay(uint32_t seed, const WalkRecord& record) {
  for (const LeafEvent& e : record.events) Leaf(seed, e, record.centres.data() + e.centreBegin);
  Gap(record.tailSkipped, record.tailMin);
}

// Cut visits and rejected leaves: each counts once; the rejected ones may
// lower the minimum, in any order since nothing reads it in between.
void LeafReplay::Gap(uint64_t skipped, uint32_t skippedMin) {
  results_.abortedCount += static_cast<uint32_t>(skipped);  // wraps as single increments do
  run_.minLights = std::min(run_.minLights, skippedMin);
}

void LeafReplay::Leaf(uint32_t seed, const LeafEvent& e, const CollapseCode* centres) {
  Gap(e.skipped, e.skippedMin);
  if (static_cast<int64_t>(e.run) > run_.lightLimit) {
    ++results_.abortedCount;
    run_.minLights = std::min(run_.minLights, static_cast<uint32_t>(e.run));
    return;
  }
  ++results_.foundCount;
  if (results_.count < kResultCapacity) {
    ++results_.count;
    Rebuild(seed, centres, e.centreEnd - e.centreBegin, e.lights, results_.results[results_.count]);
  } else {
    Keep(overwrite_, seed, e, centres);  // only the last one survives: rebuilt at the end
    overwritePending_ = true;
  }
  accepted_ = true;
  lastAcceptedSeed_ = seed;
  lastAcceptedLights_ = e.lights;

  const auto lights = static_cast<uint32_t>(e.lights);
  if (lights < run_.minLights) {
    if (run_.lightLimit > run_.minLights + 5) run_.lightLimit = run_.minLights + 5;
    run_.minLights = lights;
    Keep(best_, seed, e, centres);
    bestPending_ = true;
  }
}

void LeafReplay::Keep(Path& path, uint32_t seed, const LeafEvent& e, const CollapseCode* centres) {
  path.seed = seed;
  path.lights = e.lights;
  path.centres.assign(centres, centres + (e.centreEnd - e.centreBegin));
}

void LeafReplay::Rebuild(uint32_t seed, const CollapseCode* centres, std::size_t count,
                         int32_t lights, SearchResult& into) const {
  into = seeds_.at(seed).record;
  for (std::size_t k = 0; k < count; ++k) {
    const uint32_t j = CollapseCentre(centres[k]);
    const int level = CollapseLevel(centres[k]);
    into.decision[j] = static_cast<uint8_t>(level);
    for (uint16_t m : masks_.Members(j, level)) into.decision[m] = 0;
  }
  into.lightCount = lights;
  into.recordedLights = lights;
}

bool LeafReplay::TakeNewBest(SearchResult& into) {
  if (!bestPending_) return false;
  bestPending_ = false;
  Rebuild(best_.seed, best_.centres.data(), best_.centres.size(), best_.lights, into);
  return true;
}

void LeafReplay::Finish() {
  if (overwritePending_) {
    Rebuild(overwrite_.seed, overwrite_.centres.data(), overwrite_.centres.size(),
            overwrite_.lights, results_.results[kResultCapacity]);
    overwritePending_ = false;
  }
  if (seeds_.empty()) return;
  const auto last = static_cast<uint32_t>(seeds_.size() - 1);
  run_.current = seeds_[last].record;
  if (accepted_ && lastAcceptedSeed_ == last) {
    run_.current.lightCount = lastAcceptedLights_;
    run_.current.recordedLights = lastAcceptedLights_;
  }
}

}  // namespace halvane
