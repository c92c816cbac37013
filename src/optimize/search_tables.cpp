#include "optimize/search_tables.h"

#include <algorithm>
#include <limits>

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
  if (level == 3) return std::numeric_limits<int64_t>::max();
  tighten(n / 2, b.half);
  if (level == 1) {
    tighten(n / 3, b.third);
    tighten(n / 5, b.fifth);
    tighten(n / 10, b.tenth);
  }
  return bound;
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
  t.ringInRange.assign((kPointCapacity + 1) * kLevelSlots, 0);
  for (uint32_t j = 1; j <= n; ++j) {
    std::size_t counted = 0;
    for (int s = 2; s <= kLargestCollapse; ++s) {
      const std::vector<uint16_t>& members = masks.Members(j, s);
      uint16_t count = 0;
      for (std::size_t k = counted; k < members.size(); ++k) count += members[k] <= t.last;
      counted = std::max(counted, members.size());
      t.ringInRange[CollapseMasks::Slot(j, s)] = count;
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
  return t;
}

}  // namespace halvane
