#pragma once

#include <array>
#include <cstdint>
#include <limits>
#include <vector>

#include "dome/dome.h"
#include "optimize/search_result.h"
#include "optimize/search_run.h"

namespace halvane {

// One bit per point index: set while the point is free (decision 1). The
// walk tests and changes whole words instead of decision bytes.
constexpr std::size_t kFreeWords = (kPointCapacity + 1 + 63) / 64;
using FreeSet = std::array<uint64_t, kFreeWords>;
static_assert(kFreeWords * 64 > kPointCapacity, "a bit for every point index");

inline bool IsFree(const FreeSet& free, uint32_t j) {
  return (free[j >> 6] >> (j & 63)) & 1u;
}

// The points of `record` with decision 1.
FreeSet FreePointsOf(const SearchResult& record);

constexpr int kLargestCollapse = 6;
constexpr std::size_t kLevelSlots = 8;  // per point: slots 0..7, levels 2..6 used
static_assert(kLargestCollapse < static_cast<int>(kLevelSlots));
// Point indices are stored in 16 bits in the member lists and the paths.
static_assert(kPointCapacity <= std::numeric_limits<uint16_t>::max());

// A collapse chosen on a walk's path in 16 bits: its centre above three bits
// of its level.
using CollapseCode = uint16_t;
constexpr unsigned kCollapseLevelBits = 3;
static_assert(kLargestCollapse < (1 << kCollapseLevelBits));
static_assert(((kPointCapacity << kCollapseLevelBits) | ((1u << kCollapseLevelBits) - 1)) <=
              std::numeric_limits<CollapseCode>::max());

constexpr CollapseCode EncodeCollapse(uint32_t centre, int level) {
  return static_cast<CollapseCode>(centre << kCollapseLevelBits | static_cast<uint32_t>(level));
}
constexpr uint32_t CollapseCentre(CollapseCode code) {
  return code >> kCollapseLevelBits;
}
constexpr int CollapseLevel(CollapseCode code) {
  return code & ((1u << kCollapseLevelBits) - 1);
}

// The ring of a collapse level s of a point as words of the free set: the
// members memberCount[s-1]+1..memberCount[s] (members 2..memberCount[2] for
// s = 2), grouped by word. A collapse of level s is its centre and rings
// 2..s, so the largest level whose members are all free is found ring by
// ring, and a collapse shrinks by one level by freeing one ring.
struct MaskWord {
  uint32_t word;  // index into the free set
  uint64_t bits;
};
static_assert(kFreeWords <= std::numeric_limits<uint32_t>::max());

// The rings of every point up to its maxLevel, read from the member lists
// once per run so the walk never touches the dome.
class CollapseMasks {
 public:
  explicit CollapseMasks(const Dome& dome);

  const MaskWord* RingBegin(uint32_t j, int s) const { return words_.data() + begin_[Slot(j, s)]; }
  const MaskWord* RingEnd(uint32_t j, int s) const { return words_.data() + end_[Slot(j, s)]; }
  // Ring members with an index below the centre: they were counted as
  // lights when the walk passed them (at most kMemberSlots).
  uint16_t RingBefore(uint32_t j, int s) const { return before_[Slot(j, s)]; }
  // Members 2..memberCount[s] of point j, in list order.
  const std::vector<uint16_t>& Members(uint32_t j, int s) const { return members_[Slot(j, s)]; }

  static std::size_t Slot(uint32_t j, int s) {
    return j * kLevelSlots + static_cast<std::size_t>(s);
  }

 private:
  std::vector<MaskWord> words_;
  std::vector<uint32_t> begin_, end_;
  std::vector<uint16_t> before_;
  std::vector<std::vector<uint16_t>> members_;
};

// One collapse (k, s) as the walk applies it, read through one record: its
// ring s alone (to shrink it by one level), rings 2..s merged (to take or
// release it whole), the points it blocks (LevelTables::blocked), and the
// counts that change with it. Word lists are in LevelTables::stepWords.
struct CollapseStep {
  uint32_t ring = 0, all = 0, block = 0;
  uint8_t ringWords = 0, allWords = 0, blockWords = 0;
  int32_t ringBefore = 0, allBefore = 0;    // members before the centre: counted when passed
  int32_t ringInRange = 0, allInRange = 0;  // members among points 1..last
};
static_assert(kFreeWords <= std::numeric_limits<uint8_t>::max());

// Everything a walk of one level reads besides the seed: fixed for the whole
// level, shared read-only by the workers.
struct LevelTables {
  const CollapseMasks* masks = nullptr;
  int minimum = 2;    // smallest collapse level tried
  uint32_t last = 0;  // lastIndex: the point that completes a result
  // A visit of point j is cut when runLights > cutAbove[j]. It never falls
  // with j, so a visit that is not cut is followed by visits that are not
  // cut either as long as runLights stays.
  std::vector<int64_t> cutAbove;
  // cutAbove is the same from this point to one past `last`.
  uint32_t steadyCutFrom = 0;

  // Per CollapseMasks slot. A point is blocked when the smallest collapse
  // tried of it has a member that is not free; the block list of (k, s)
  // holds the points after k (up to last) that taking (k, s) blocks, so the
  // walk keeps them in a set instead of testing their rings.
  std::vector<CollapseStep> steps;
  std::vector<MaskWord> stepWords;
  const CollapseStep& Step(uint32_t k, int s) const { return steps[CollapseMasks::Slot(k, s)]; }
  const MaskWord* Words(uint32_t at) const { return stepWords.data() + at; }

  // Rings 2..minimum of point j merged word by word: whether the smallest
  // collapse tried fits is one pass over a few words.
  std::vector<MaskWord> minimumWords;
  std::vector<uint32_t> minimumBegin;  // per point index, and one past the last
  const MaskWord* MinimumBegin(uint32_t j) const { return minimumWords.data() + minimumBegin[j]; }
  const MaskWord* MinimumEnd(uint32_t j) const { return minimumWords.data() + minimumBegin[j + 1]; }
};

// The tables of `level` (1, 2 or 3) from the run's range, smallest collapse
// and bounds.
LevelTables MakeLevelTables(const CollapseMasks& masks, const SearchRun& run, uint32_t pointCount,
                            int level);

}  // namespace halvane
