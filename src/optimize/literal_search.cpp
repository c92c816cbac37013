#include "optimize/literal_search.h"

#include <cmath>

namespace halvane {
namespace {

constexpr uint32_t kRefreshEvery = 262144;  // rejections between screen refreshes
// Above every member count: no collapse of the point reaches back.
constexpr int kNoCap = 100;
static_assert(kMemberSlots < kNoCap);

}  // namespace

LiteralSearch::LiteralSearch(Dome& dome, SearchResults& results, SearchRun& run,
                             const SearchObserver& observer)
    : dome_(dome),
      results_(results),
      run_(run),
      observer_(observer),
      half_(dome.pointCount / 2),
      third_(dome.pointCount / 3),
      fifth_(dome.pointCount / 5),
      tenth_(dome.pointCount / 10) {}

void LiteralSearch::Run(int level, uint32_t first) {
  level_ = level;
  Search(first);
}

bool LiteralSearch::Pruned(uint32_t j) const {
  const int64_t lights = run_.runLights;
  const PruneBounds& b = run_.bounds;
  if (level_ == 1 && ((j < tenth_ && lights > b.tenth) || (j < fifth_ && lights > b.fifth) ||
                      (j < third_ && lights > b.third)))
    return true;
  return (j < half_ && lights > b.half) || lights > b.all;
}

// The progress, optionally the preview of the current decisions, and the
// window's events.
void LiteralSearch::Refresh(bool preview) {
  ReportSearchProgress(run_, results_, observer_);
  if (preview) PreviewSearchResult(dome_, run_, run_.current, observer_);
  observer_.LetEventsRun();
}

// A cut visit or a leaf over the light limit.
void LiteralSearch::CountRejected() {
  ++results_.abortedCount;
  if (results_.abortedCount % kRefreshEvery == 0) Refresh(true);
}

void LiteralSearch::Continue(uint32_t j) {
  if (j == run_.lastIndex) {
    Leaf();
  } else {
    Search(j + 1);
  }
}

bool LiteralSearch::MembersFree(const DomePoint& p, uint8_t level) const {
  for (std::size_t k = 2; k <= p.memberCount[level]; ++k)
    if (run_.current.decision[static_cast<std::size_t>(p.members[k])] != 1) return false;
  return true;
}

void LiteralSearch::Search(uint32_t j) {
  if (level_ != 3 && Pruned(j)) {
    CountRejected();
    return;
  }
  SearchResult& current = run_.current;
  if (current.decision[j] != 1) {
    Continue(j);
    return;
  }
  if (observer_.Cancelled()) return;
  ++run_.runLights;

  const DomePoint& p = dome_.points[j];
  const int minimum = level_ == 3 ? 2 : run_.minLevel;
  if (p.level >= minimum) {
    if (run_.progressIndex == 0) run_.progressIndex = j;
    for (int level = p.level; level >= minimum; --level) {
      const auto s = static_cast<uint8_t>(level);
      if (!MembersFree(p, s)) continue;
      current.decision[j] = s;
      for (std::size_t k = 2; k <= p.memberCount[s]; ++k) {
        const auto m = static_cast<uint32_t>(p.members[k]);
        if (m < j) --run_.runLights;
        current.decision[m] = 0;
      }
      Continue(j);
      for (std::size_t k = 2; k <= p.memberCount[s]; ++k) {
        const auto m = static_cast<uint32_t>(p.members[k]);
        current.decision[m] = 1;
        if (m < j) ++run_.runLights;
      }
      current.decision[j] = 1;
    }
  }
  current.decision[j] = 1;
  if (run_.progressIndex == j) run_.progressIndex = 0;
  Continue(j);
  --run_.runLights;
}

void LiteralSearch::Leaf() {
  if (run_.runLights > run_.lightLimit) {
    if (run_.runLights < run_.minLights) run_.minLights = static_cast<uint32_t>(run_.runLights);
    CountRejected();
    return;
  }
  ++results_.foundCount;
  if (results_.count < kResultCapacity) ++results_.count;
  uint32_t lights = 0;
  for (uint32_t i = 1; i <= run_.lastIndex; ++i) lights += run_.current.decision[i] > 0;
  run_.current.lightCount = static_cast<int32_t>(lights);
  run_.current.recordedLights = static_cast<int32_t>(lights);
  results_.results[results_.count] = run_.current;

  if (lights < run_.minLights) {
    if (run_.lightLimit > run_.minLights + 5) run_.lightLimit = run_.minLights + 5;
    run_.minLights = lights;
    Refresh(true);
  } else if (results_.foundCount % 10 == 1) {
    Refresh(false);
  }
}

void PrepareSeed(Dome& dome, SearchRun& run, uint32_t from, uint32_t to) {
  for (uint32_t j = 1; j <= run.lastIndex; ++j)
    if (run.current.decision[j] == 1) {
      run.firstFree = j;
      break;
    }
  for (uint32_t j = from; j <= to && j <= dome.pointCount; ++j) {
    DomePoint& p = dome.points[j];
    p.level = p.maxLevel;
    const int reach = p.level >= 0 ? p.memberCount[static_cast<std::size_t>(p.level)] : 0;
    int cap = kNoCap;
    for (int k = 1; k <= reach; ++k)
      if (static_cast<uint32_t>(p.members[static_cast<std::size_t>(k)]) < run.firstFree) {
        cap = k;
        break;
      }
    for (int level = 1; level <= p.maxLevel; ++level)
      if (p.memberCount[static_cast<std::size_t>(level)] > cap) {
        p.level = level - 1;
        break;
      }
  }
}

}  // namespace halvane
