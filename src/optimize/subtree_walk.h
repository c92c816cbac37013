#pragma once

#include <atomic>
#include <cstdint>
#include <limits>
#include <vector>

#include "optimize/search_tables.h"

namespace halvane {

constexpr uint32_t kNoRejection = std::numeric_limits<uint32_t>::max();

// Where a walk starts: the state the depth-first search has when it calls
// the visit of point `first`, below the collapses chosen above it.
struct WalkStart {
  uint32_t seed = 0;   // position in the level's seed list
  uint32_t first = 0;  // the point whose visit starts the walk
  int32_t run = 0;     // runLights
  int32_t lights = 0;  // points 1..lastIndex with decision > 0
  FreeSet free{};
  std::vector<CollapseCode> centres;  // collapses chosen on the path
};

// A leaf whose running count may be within the light limit when the leaf
// rules meet it, with what happened since the previous recorded leaf.
struct LeafEvent {
  uint64_t skipped = 0;                // cut visits and rejected leaves before it
  uint32_t skippedMin = kNoRejection;  // smallest running count of those rejected leaves
  int32_t run = 0;
  int32_t lights = 0;
  uint32_t centreBegin = 0, centreEnd = 0;  // its collapses in WalkRecord::centres
};

// What a walk found, in depth-first order, for the sequential replay of the
// leaf rules.
struct WalkRecord {
  std::vector<LeafEvent> events;
  std::vector<CollapseCode> centres;
  uint64_t tailSkipped = 0;  // after the last event
  uint32_t tailMin = kNoRejection;
  uint64_t visits = 0;

  void Clear();
};

// A part of a level in depth-first order: either a finished record, or a
// subtree still to be walked from `start`.
struct SearchPiece {
  bool pending = false;
  WalkStart start;
  WalkRecord record;
};

// What the walks of one level share with the thread that replays them.
struct WalkShared {
  // An upper bound of lightLimit at any leaf still to be replayed: a leaf
  // above it is rejected whatever comes before it.
  std::atomic<uint32_t> limitBound{0};
  std::atomic<bool> stop{false};
  // Workers waiting for a subtree: a long walk then hands over what it has
  // not walked yet.
  std::atomic<int> hungry{0};
  // When set, walks split after this many steps whether or not a worker is
  // hungry.
  uint32_t forcedSplitSteps = 0;

  void LowerBound(uint32_t limit);
};

// The entry state of one subtree, published once every subtree before it is
// replayed: its walk then decides its leaves exactly and records only the
// accepted ones.
struct EntryState {
  std::atomic<bool> known{false};
  uint32_t lightLimit = 0;  // written before `known`
  uint32_t minLights = 0;
};

enum class WalkOutcome { kFinished, kStopped, kSplit };

// The depth-first search of one subtree without recursion: an explicit stack
// of decision frames, free points as a bit set. Visits, cuts and leaves are
// those of the literal search; leaves that cannot be accepted are only
// counted. One walker per thread; no allocation per visit.
class SubtreeWalker {
 public:
  explicit SubtreeWalker(const LevelTables& tables);

  // Walks the whole subtree into `out`. `levels` are the seed's working
  // levels. Stops early when `shared.stop` is set. Once `entry` is known the
  // walk decides its leaves exactly. A walk that has run a while when
  // another worker is hungry splits instead: what it recorded so far and the
  // untried options of its open decisions are appended to `rest` as pieces in
  // depth-first order, and `out` is left empty.
  WalkOutcome Walk(const WalkStart& start, const uint8_t* levels, WalkShared& shared,
                   EntryState& entry, WalkRecord& out, std::vector<SearchPiece>& rest);

  // Walks only the first decision of the subtree: the parts between its
  // options' next free points are appended as finished pieces, each next
  // free point as a pending piece, in depth-first order.
  void Expand(const WalkStart& start, const uint8_t* levels, WalkShared& shared,
              std::vector<SearchPiece>& pieces);

 private:
  // Walking its subtree (Walk), handing over the rest after a split, or
  // walking only the first decision (Expand).
  enum class Phase { kWalking, kHandingOver, kExpanding };

  struct Frame {
    uint32_t j;
    int8_t fit;      // largest collapse level whose members are all free; 1 if none
    int8_t current;  // option being explored: 0 none yet, 1 the single light, else a collapse
    int32_t passed;  // free points without a collapse passed just before it
  };
  static_assert(kLargestCollapse <= std::numeric_limits<int8_t>::max());

  void Load(const WalkStart& start, const uint8_t* levels, WalkRecord& out);
  bool Run(std::size_t splitDepth);
  void Enter(uint32_t j);
  uint32_t NextFree(uint32_t j) const;
  int LargestFit(uint32_t j) const;
  void Collapse(uint32_t j, int s);
  void FreeRing(uint32_t j, int s);
  void Leaf();
  void Cut();
  void Record();
  bool Poll();
  bool SplitNow();
  uint32_t PollInterval() const;
  void BeginSplit();
  void BecomeExact();
  void EmitChild(uint32_t j);
  void CloseSegment();

  const LevelTables& t_;
  Phase phase_ = Phase::kWalking;
  const uint8_t* levels_ = nullptr;
  WalkShared* shared_ = nullptr;
  EntryState* entry_ = nullptr;  // read while walking only
  WalkRecord* out_ = nullptr;
  std::vector<SearchPiece>* pieces_ = nullptr;  // where handed-over or expanded pieces go
  uint32_t polls_ = 0;
  uint32_t seed_ = 0;
  uint32_t first_ = 0;
  uint64_t visits_ = 0;

  FreeSet free_{};
  int32_t run_ = 0;
  int32_t lights_ = 0;
  std::vector<Frame> frames_;
  std::size_t depth_ = 0;
  std::size_t splitDepth_ = 0;
  std::vector<CollapseCode> centres_;
  std::size_t centreCount_ = 0;

  uint64_t skipped_ = 0;
  uint32_t skippedMin_ = kNoRejection;
  uint32_t bound_ = 0;
  bool exact_ = false;
  uint32_t exactLimit_ = 0, exactMin_ = 0;
  uint32_t untilPoll_ = 0;
};

}  // namespace halvane
