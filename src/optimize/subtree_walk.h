#pragma once

#include <atomic>
#include <cstdint>
#include <limits>
#include <vector>

#include "optimize/search_tables.h"
#include "optimize/subtree_memo.h"

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
  uint64_t walked = 0;  // the visits not replayed from the memo

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
// counted. One walker per thread; no allocation per visit. With a memo, a
// decision whose subtree was walked before from the same visible state is
// replayed from it instead.
class SubtreeWalker {
 public:
  explicit SubtreeWalker(const LevelTables& tables, SubtreeMemo* memo = nullptr);

  // Walks the whole subtree into `out`. `levels` are the seed's working
  // levels. Stops early when `shared.stop` is set. Once `entry` is known the
  // walk decides its leaves exactly. A walk that has run a while when
  // another worker is hungry, or a long while, splits instead: what it
  // recorded so far and the untried options of its open decisions are
  // appended to `rest` as pieces in depth-first order, and `out` is left
  // empty.
  WalkOutcome Walk(const WalkStart& start, const uint8_t* levels, WalkShared& shared,
                   EntryState& entry, WalkRecord& out, std::vector<SearchPiece>& rest);

  // Walks only the first decision of the subtree: the parts between its
  // options' next free points are appended as finished pieces, each next
  // free point as a pending piece, in depth-first order.
  void Expand(const WalkStart& start, const uint8_t* levels, WalkShared& shared,
              std::vector<SearchPiece>& pieces);

  // The visits the last Walk walked (not replayed from the memo).
  uint64_t Walked() const { return walked_; }

 private:
  // Walking its subtree (Walk), handing over the rest after a split, or
  // walking only the first decision (Expand).
  enum class Phase { kWalking, kHandingOver, kExpanding };

  struct Frame {
    uint32_t j;
    int8_t fit;      // largest collapse level whose members are all free; 1 if none
    int8_t current;  // option being explored: 0 none yet, 1 the single light, else a collapse
    bool recorded;   // its subtree goes into the memo when it is done
    int32_t passed;  // free points without a collapse passed just before it
    uint32_t saved;  // where its words of blocked_ are kept in savedBlocked_
  };
  static_assert(kLargestCollapse <= std::numeric_limits<int8_t>::max());

  // A decision whose subtree is being walked for the memo: its key, and the
  // walk's counts when it started. The gap of cuts and rejected leaves
  // before it is set aside, so its first event holds only its own.
  struct Recording {
    uint32_t j;
    uint32_t events;   // out_->events.size()
    uint32_t centres;  // centreCount_
    int32_t lights;
    uint64_t id, tag;
    uint64_t key[kMemoKeyWords];
    uint64_t visits, replayed;
    uint64_t savedSkipped;
    uint32_t savedMin;
  };
  enum class MemoStep { kHit, kRecord, kSkip };

  void Load(const WalkStart& start, const uint8_t* levels, WalkRecord& out);
  bool Run(std::size_t splitDepth);
  void Enter(uint32_t j);
  void Push(uint32_t j, int fit, bool recorded, int32_t passed);
  void RestoreBlocked(const Frame& f);
  void Block(const CollapseStep& step);
  void BlockStart();
  int LargestFitAboveMinimum(uint32_t j) const;
  bool EnterSteady(uint32_t j, int32_t& passed);
  static uint32_t NthBit(uint64_t bits, int n);
  uint32_t NextFree(uint32_t j) const;
  int LargestFit(uint32_t j) const;
  void Collapse(uint32_t j, const CollapseStep& step);
  void FreeRing(const CollapseStep& step);
  void Release(uint32_t j, const CollapseStep& step);
  bool RingFree(const CollapseStep& step) const;
  void Leaf();
  void Cut();
  void Record(int32_t run, int32_t lights, const CollapseCode* inner, uint32_t innerCount);
  void Gap(uint64_t skipped, uint32_t skippedMin);
  void StartMemo();
  bool Memoised(uint32_t f);
  MemoStep LookUp(uint32_t f);
  void KeyOf(uint32_t f, uint64_t* key) const;
  void ReplayEntry(const MemoEntry& entry);
  void CloseRecording();
  void StoreRecording(const Recording& r, uint64_t walked);
  void PutGapBack(const Recording& r);
  void DropRecordings();
  uint32_t OpenRecordingMin(std::size_t& next, std::size_t event) const;
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
  FreeSet collapsible_{};  // points 1..last whose working level reaches the minimum
  // Points from the walk's first on whose smallest collapse tried has a
  // member that is not free: their frames would have the single light only.
  FreeSet blocked_{};
  std::vector<uint64_t> savedBlocked_;
  uint32_t savedTop_ = 0;
  uint32_t lastWord_ = 0;  // the free set's word of point last
  uint64_t lastBits_ = 0;  // its bits of points up to last
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

  SubtreeMemo* memo_;
  bool memoOn_ = false;  // this walk looks up and records subtrees
  const MemoClass* class_ = nullptr;
  uint16_t classId_ = 0;
  uint64_t replayed_ = 0;  // visits replayed from the memo
  uint64_t walked_ = 0;
  std::vector<Recording> recordings_;
  std::size_t recordingCount_ = 0;
  std::vector<MemoEvent> storeEvents_;
  std::vector<CollapseCode> storeCentres_;
};

}  // namespace halvane
