#pragma once

#include <cstdint>
#include <vector>

#include "optimize/search_settings.h"
#include "optimize/search_tables.h"

namespace halvane {

struct SearchSeed;

// What a level-2 walk remembers of the subtrees it walked, so that the same
// subtree met again on another path is replayed instead of walked.
//
// The subtree below the decision of free point f depends on f, the running
// light count, the working levels (the same for a class of seeds) and the
// free points it can still use: the points from f on, and the earlier
// points in a collapse of a point from f on whose members are all free
// ("live"). A collapse with a member that is not free stays impossible
// below f, so earlier points only in such collapses are left out of the
// key: paths that differ only there meet the same subtree. The hash of the
// key only picks the slot; a hit compares the whole key, the point, the
// class and the running count, so a collision never changes a result.
//
// The outcome (visits, cut visits and rejected leaves with their smallest
// running count, and the leaves that may be accepted, with their paths) is
// replayed through the same leaf rules as a walk.

constexpr uint32_t kMemoKeyWords = 8;

// Seeds with the same working levels over the level's range.
struct MemoClass {
  // Per point f: the words of the free set the key of f's decision holds,
  // keyWordCount[f] of them from keyFirstWord[f] (0: f is never memoised),
  // and the points from f on within them (kMemoKeyWords words per point).
  std::vector<uint16_t> keyFirstWord;
  std::vector<uint8_t> keyWordCount;
  std::vector<uint64_t> forwardMasks;
  // Per point f: the points from f on with a collapse that reaches back
  // before f, as words: reacherWords[reacherBegin[f]..reacherBegin[f + 1]).
  std::vector<uint32_t> reacherBegin;
  std::vector<MaskWord> reacherWords;
};

// The memo's view of one level, shared read-only by the walkers.
struct MemoLayout {
  MemoUse use = MemoUse::kOff;
  std::vector<uint16_t> seedClass;  // per seed
  std::vector<MemoClass> classes;
};

// The layout of a level decided from point `from` on, for `seeds`.
MemoLayout MakeMemoLayout(const LevelTables& tables, uint32_t from,
                          const std::vector<SearchSeed>& seeds, MemoUse use);

// A stored leaf that may be accepted, as a walk records it: the cut visits
// and rejected leaves since the one before, its running count, its light
// count above the one at the subtree's start, and the collapses its path
// chose inside the subtree.
struct MemoEvent {
  uint64_t skipped = 0;
  uint32_t skippedMin = 0;
  int32_t run = 0;
  int32_t lightsAdded = 0;
  uint32_t centreBegin = 0, centreCount = 0;
};

// One stored subtree, in two cache lines. `id` holds the point, the
// running count, the class and the table's epoch.
struct alignas(128) MemoEntry {
  uint64_t id = 0;
  uint64_t visits = 0;
  uint64_t walked = 0;  // the visits its walk walked itself
  uint64_t tailSkipped = 0;
  uint32_t tailMin = 0;
  // The leaf bound when the walk left the subtree: it recorded every leaf
  // whose running count was not above it, so the entry serves walks whose
  // bound is not above it either.
  uint32_t boundEnd = 0;
  uint32_t eventBegin = 0, eventCount = 0;
  uint64_t key[kMemoKeyWords] = {};
};

// One walker's memo: a bounded table of two entries per slot, their tags
// apart so that a miss reads one small array; the events in bounded arenas
// (all entries are dropped when one is full); and where to look up. Never
// shared: no locks.
class SubtreeMemo {
 public:
  // A table of 2^setBits slots.
  SubtreeMemo(const MemoLayout& layout, std::size_t setBits);
  // The slots of each of `walkers` memos: the tables of all of them stay
  // within a fixed budget.
  static std::size_t SetBits(int walkers);

  const MemoLayout& layout() const { return layout_; }

  static uint64_t Id(uint32_t f, int32_t run, uint16_t cls) {
    return uint64_t{f} | uint64_t{static_cast<uint16_t>(run)} << 16 | uint64_t{cls} << 32;
  }
  static uint64_t Tag(uint64_t id, const uint64_t* key, uint32_t words);

  // The entry with this tag, id and key, or null.
  const MemoEntry* Find(uint64_t tag, uint64_t id, const uint64_t* key, uint32_t words) const;
  // Stores a subtree with `events`, whose centres index into `centres`.
  void Store(uint64_t tag, const MemoEntry& entry, const std::vector<MemoEvent>& events,
             const std::vector<CollapseCode>& centres);
  const MemoEvent* Events(const MemoEntry& e) const { return events_.data() + e.eventBegin; }
  const CollapseCode* Centres(const MemoEvent& e) const { return centres_.data() + e.centreBegin; }

  // Whether to look up the decision of point f. Each point is judged over
  // windows of lookups: it stays on while its hits save more walking than
  // its lookups cost, and is tried again after a while off, so the memo
  // follows the subtrees of the seed being walked.
  bool Worth(uint32_t f);
  // A lookup of f, and on a hit the visits it saved.
  void NoteLookup(uint32_t f, bool hit, uint64_t saved);
  // Whether a subtree that walked this many visits is worth storing.
  static bool WorthStoring(uint64_t walked);

  uint64_t lookups = 0, hits = 0;

 private:
  struct PointPolicy {
    uint32_t lookups = 0;
    uint32_t skipped = 0;  // decisions not looked up since the point went off
    uint64_t saved = 0;
    bool on = true;
  };
  std::size_t SetOf(uint64_t tag) const { return (tag & setMask_) * 2; }
  void NewEpoch();

  const MemoLayout& layout_;
  // Per entry: its tag, the visits it saved walking and its epoch (to
  // choose which gives way), read without touching the entries.
  struct SlotTag {
    uint64_t tag = 0;
    uint32_t walked = 0;  // saturated
    uint16_t epoch = 0;
  };
  std::vector<SlotTag> tags_;
  std::vector<MemoEntry> entries_;
  uint64_t setMask_ = 0;
  uint16_t epoch_ = 1;
  std::vector<MemoEvent> events_;
  std::vector<CollapseCode> centres_;
  std::vector<PointPolicy> policy_;
};

}  // namespace halvane
