#include "optimize/search_tables.h"

#include <algorithm>
#include <limits>
#include <tuple>
#include <utility>

namespace halvane {

FreeSet FreePointsOf(const SearchResult& record) {
  FreeSet free{};
  for (uint32_t j = 1; j <= kPointCapacity; ++j)
    if (record.decision[j] == 1) free[j >> 6] |= uint64_t{1} << (j & 63);
  return free;
}

CollapseMasks::CollapseMasks(const Dome& dome)
    : begin_((kPointCapacity + 1) * kLevelSlots, 0),
      end_((kPointCapacity + 1) * kLevelSlots, 0),
      before_((kPointCapacity + 1) * kLevelSlots, 0),
      members_((kPointCapacity + 1) * kLevelSlots) {
  for (uint32_t j = 1; j <= dome.pointCount; ++j) {
    const DomePoint& p = dome.points[j];
    const int top = std::min(p.maxLevel, kLargestCollapse);
    std::vector<uint16_t> list;
    for (int level = 2; level <= top; ++level) {
      const std::size_t slot = Slot(j, level);
      FreeSet ring{};
      const std::size_t from =
          level == 2 ? 2 : p.memberCount[static_cast<std::size_t>(level - 1)] + 1u;
      for (std::size_t k = from; k <= p.memberCount[static_cast<std::size_t>(level)]; ++k) {
        const auto m = static_cast<uint32_t>(p.members[k]);
        if (m == 0 || m > kPointCapacity) throw IndexError(m, kPointCapacity + 1);
        list.push_back(static_cast<uint16_t>(m));
        ring[m >> 6] |= uint64_t{1} << (m & 63);
        if (m < j) ++before_[slot];
      }
      members_[slot] = list;
      begin_[slot] = static_cast<uint32_t>(words_.size());
      for (uint32_t w = 0; w < kFreeWords; ++w)
        if (ring[w] != 0) words_.push_back({w, ring[w]});
      end_[slot] = static_cast<uint32_t>(words_.size());
    }
  }
}

namespace {

// The smallest of the caps that apply to a visit of point j: the literal
// search's cuts as one comparison.
int64_t CutBound(const PruneBounds& b, uint32_t n, int level, uint32_t j) {
  int64_t bound = b.all;
  const auto tighten = [&](uint32_t below, uint32_t cap) {
    if (j < below) bound = std::min<int64_t>(bound, cap);
  };
  if (level == 3) return std::numeric_limits<int32_t>::max();  // above every running count
  tighten(n / 2, b.half);
  if (level == 1) {
    tighten(n / 3, b.third);
    tighten(n / 5, b.fifth);
    tighten(n / 10, b.tenth);
  }
  return bound;
}

// Appends the non-empty words of `set` to the step words; returns where
// they start and how many.
std::pair<uint32_t, uint8_t> AddWords(const FreeSet& set, std::vector<MaskWord>& words) {
  const auto at = static_cast<uint32_t>(words.size());
  for (uint32_t w = 0; w < kFreeWords; ++w)
    if (set[w] != 0) words.push_back({w, set[w]});
  return {at, static_cast<uint8_t>(words.size() - at)};
}

// Per point p: the points up to last whose smallest collapse tried has p as
// a member.
std::vector<std::vector<uint16_t>> BlockedBy(const CollapseMasks& masks, uint32_t n,
                                             const LevelTables& t) {
  std::vector<std::vector<uint16_t>> blockedBy(kPointCapacity + 1);
  if (t.minimum < 2 || t.minimum > kLargestCollapse) return blockedBy;
  for (uint32_t c = 1; c <= std::min(n, t.last); ++c)
    for (uint16_t p : masks.Members(c, t.minimum)) blockedBy[p].push_back(static_cast<uint16_t>(c));
  return blockedBy;
}

void SetSteps(const CollapseMasks& masks, uint32_t n, const std::vector<uint16_t>& ringInRange,
              LevelTables& t) {
  const std::vector<std::vector<uint16_t>> blockedBy = BlockedBy(masks, n, t);
  t.steps.assign((kPointCapacity + 1) * kLevelSlots, CollapseStep{});
  for (uint32_t k = 1; k <= n; ++k) {
    FreeSet all{}, blocked{};
    const auto block = [&](uint32_t p) {
      for (uint16_t c : blockedBy[p])
        if (c > k) blocked[c >> 6] |= uint64_t{1} << (c & 63);
    };
    block(k);
    CollapseStep total;
    std::size_t counted = 0;
    for (int s = 2; s <= kLargestCollapse; ++s) {
      CollapseStep& step = t.steps[CollapseMasks::Slot(k, s)];
      FreeSet ring{};
      for (const MaskWord* w = masks.RingBegin(k, s); w != masks.RingEnd(k, s); ++w) {
        ring[w->word] |= w->bits;
        all[w->word] |= w->bits;
      }
      const std::vector<uint16_t>& members = masks.Members(k, s);
      for (std::size_t m = counted; m < members.size(); ++m) block(members[m]);
      counted = std::max(counted, members.size());
      std::tie(step.ring, step.ringWords) = AddWords(ring, t.stepWords);
      std::tie(step.all, step.allWords) = AddWords(all, t.stepWords);
      if (s >= t.minimum) std::tie(step.block, step.blockWords) = AddWords(blocked, t.stepWords);
      step.ringBefore = masks.RingBefore(k, s);
      step.ringInRange = ringInRange[CollapseMasks::Slot(k, s)];
      total.allBefore += step.ringBefore;
      total.allInRange += step.ringInRange;
      step.allBefore = total.allBefore;
      step.allInRange = total.allInRange;
    }
  }
}

}  // namespace

LevelTables MakeLevelTables(const CollapseMasks& masks, const SearchRun& run, uint32_t n,
                            int level) {
  LevelTables t;
  t.masks = &masks;
  t.minimum = level == 3 ? 2 : run.minLevel;
  t.last = run.lastIndex;
  t.cutAbove.resize(kPointCapacity + 1);
  for (uint32_t j = 0; j <= kPointCapacity; ++j) t.cutAbove[j] = CutBound(run.bounds, n, level, j);
  const uint32_t end = std::min<uint32_t>(t.last + 1, kPointCapacity);
  t.steadyCutFrom = end;
  while (t.steadyCutFrom > 0 && t.cutAbove[t.steadyCutFrom - 1] == t.cutAbove[end])
    --t.steadyCutFrom;
  // Members of ring (j, s) among points 1..last: the lights it removes from
  // the stored light count.
  std::vector<uint16_t> ringInRange((kPointCapacity + 1) * kLevelSlots, 0);
  for (uint32_t j = 1; j <= n; ++j) {
    std::size_t counted = 0;
    for (int s = 2; s <= kLargestCollapse; ++s) {
      const std::vector<uint16_t>& members = masks.Members(j, s);
      uint16_t count = 0;
      for (std::size_t k = counted; k < members.size(); ++k) count += members[k] <= t.last;
      counted = std::max(counted, members.size());
      ringInRange[CollapseMasks::Slot(j, s)] = count;
    }
  }
  t.minimumBegin.assign(kPointCapacity + 2, 0);
  for (uint32_t j = 0; j <= kPointCapacity; ++j) {
    t.minimumBegin[j] = static_cast<uint32_t>(t.minimumWords.size());
    if (j == 0 || j > n) continue;
    FreeSet merged{};
    for (int s = 2; s <= std::min(t.minimum, kLargestCollapse); ++s)
      for (const MaskWord* w = masks.RingBegin(j, s); w != masks.RingEnd(j, s); ++w)
        merged[w->word] |= w->bits;
    for (uint32_t w = 0; w < kFreeWords; ++w)
      if (merged[w] != 0) t.minimumWords.push_back({w, merged[w]});
  }
  t.minimumBegin[kPointCapacity + 1] = static_cast<uint32_t>(t.minimumWords.size());
  SetSteps(masks, n, ringInRange, t);
  return t;
}

}  // namespace halvane
