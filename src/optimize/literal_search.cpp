#include "optimize/literal_search.h"

#include <cmath>

#include "workflow/redraw.h"
#include "workflow/workflow.h"

namespace halvane {
namespace {

constexpr uint32_t kRefreshEvery = 262144;  // cut branches between screen refreshes

}  // namespace

LevelSearch::LevelSearch(Session& s, ControlModel& controls, Host& host)
    : s_(s),
      controls_(controls),
      host_(host),
      n_(s.dome.pointCount),
      half_(s.dome.pointCount / 2),
      third_(s.dome.pointCount / 3),
      fifth_(s.dome.pointCount / 5),
      tenth_(s.dome.pointCount / 10) {}

void LevelSearch::Run(int level, uint32_t first) {
  level_ = level;
  Search(first);
}

bool LevelSearch::Pruned(uint32_t j) const {
  const int64_t lights = RunLights;
  if (level_ == 1 && ((j < tenth_ && lights > BoundTenth) || (j < fifth_ && lights > BoundFifth) ||
                      (j < third_ && lights > BoundThird)))
    return true;
  return (j < half_ && lights > BoundHalf) || lights > BoundAll;
}

void LevelSearch::CountCut() {
  ++s_.results.abortedCount;
  if (s_.results.abortedCount % kRefreshEvery == 0) {
    RefreshProgress();
    ShowCurrent();
    host_.ProcessEvents();
  }
}

void LevelSearch::ShowCurrent() {
  for (uint32_t i = 1; i <= n_; ++i) s_.dome.points[i].used = Current.decision[i] > 0;
  const uint32_t last = LastIndex < n_ ? LastIndex : n_;
  DrawOverlay(s_, controls_, host_, true, true, FirstIndex, last, Current);
}

void LevelSearch::Continue(uint32_t j) {
  if (j == LastIndex) {
    Leaf();
  } else {
    Search(j + 1);
  }
}

bool LevelSearch::MembersFree(const DomePoint& p, uint8_t level) const {
  for (std::size_t k = 2; k <= p.memberCount[level]; ++k)
    if (Current.decision[static_cast<std::size_t>(p.members[k])] != 1) return false;
  return true;
}

void LevelSearch::Search(uint32_t j) {
  if (level_ != 3 && Pruned(j)) {
    CountCut();
    return;
  }
  if (Current.decision[j] != 1) {
    Continue(j);
    return;
  }
  if (s_.abortRequested) return;
  ++RunLights;

  const DomePoint& p = s_.dome.points[j];
  const int minimum = level_ == 3 ? 2 : MinLevel;
  if (p.level >= minimum) {
    if (ProgressIndex == 0) ProgressIndex = j;
    for (int level = p.level; level >= minimum; --level) {
      const auto s = static_cast<uint8_t>(level);
      if (!MembersFree(p, s)) continue;
      Current.decision[j] = s;
      for (std::size_t k = 2; k <= p.memberCount[s]; ++k) {
        const auto m = static_cast<uint32_t>(p.members[k]);
        if (m < j) --RunLights;
        Current.decision[m] = 0;
      }
      Continue(j);
      for (std::size_t k = 2; k <= p.memberCount[s]; ++k) {
        const auto m = static_cast<uint32_t>(p.members[k]);
        Current.decision[m] = 1;
        if (m < j) ++RunLights;
      }
      Current.decision[j] = 1;
    }
  }
  Current.decision[j] = 1;
  if (ProgressIndex == j) ProgressIndex = 0;
  Continue(j);
  --RunLights;
}

void LevelSearch::Leaf() {
  if (RunLights > LightLimit) {
    ++s_.results.abortedCount;
    if (RunLights < MinLights) MinLights = static_cast<uint32_t>(RunLights);
    if (s_.results.abortedCount % kRefreshEvery == 0) {
      RefreshProgress();
      ShowCurrent();
      host_.ProcessEvents();
    }
    return;
  }
  ++s_.results.foundCount;
  if (s_.results.count < kResultCapacity) ++s_.results.count;
  uint32_t lights = 0;
  for (uint32_t i = 1; i <= LastIndex; ++i) lights += Current.decision[i] > 0;
  Current.lightCount = static_cast<int32_t>(lights);
  Current.recordedLights = static_cast<int32_t>(lights);
  s_.results.results[s_.results.count] = Current;

  if (lights < MinLights) {
    if (LightLimit > MinLights + 5) LightLimit = MinLights + 5;
    MinLights = lights;
    RefreshProgress();
    ShowCurrent();
    host_.ProcessEvents();
  } else if (s_.results.foundCount % 10 == 1) {
    RefreshProgress();
    host_.ProcessEvents();
  }
}

void LevelSearch::RefreshProgress() {
  if (ProgressIndex == 0) return;
  const long double seeds = s_.results.seedCount > 0 ? s_.results.seedCount : 1;
  const long double span = static_cast<long double>(LastIndex) - FirstIndex;
  const long double done = static_cast<long double>(ProgressIndex) - FirstIndex;
  const long double withinSeed = span > 0 ? done / span * 275.0L / seeds : 0.0L;
  controls_.GaugeOpt2.SetProgress(
      static_cast<long long>(std::nearbyint(withinSeed + (SeedIndex - 1.0L) / seeds * 100.0L)));
  SetStatus(controls_, 2,
            SeedLabel + std::to_string(static_cast<int64_t>(ProgressIndex) - FirstIndex) + "/" +
                std::to_string(static_cast<int64_t>(LastIndex) - FirstIndex) + ". " +
                std::to_string(s_.results.foundCount) + "  opt. found. " +
                std::to_string(s_.results.abortedCount / 1024) + "k aborted. " +
                std::to_string(MinLights) + " min lights found.");
}

void LevelSearch::PrepareSeed(uint32_t from, uint32_t to) {
  for (uint32_t j = 1; j <= LastIndex; ++j)
    if (Current.decision[j] == 1) {
      FirstFree = j;
      break;
    }
  for (uint32_t j = from; j <= to && j <= n_; ++j) {
    DomePoint& p = s_.dome.points[j];
    p.level = p.maxLevel;
    const int reach = p.level >= 0 ? p.memberCount[static_cast<std::size_t>(p.level)] : 0;
    int cap = 100;
    for (int k = 1; k <= reach; ++k)
      if (static_cast<uint32_t>(p.members[static_cast<std::size_t>(k)]) < FirstFree) {
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
