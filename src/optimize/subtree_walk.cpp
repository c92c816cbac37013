#include "optimize/subtree_walk.h"

#include <algorithm>
#include <bit>

#include "optimize/popcount_clones.h"

namespace halvane {
namespace {

constexpr uint32_t kPollEvery = 1u << 12;  // frame steps between looks at the shared state
// Looks at the shared state before a walk may split for a hungry worker:
// short walks are not worth handing over.
constexpr uint32_t kPollsBeforeSplit = 8;
// Looks after which a walk hands over its rest whether or not a worker
// waits: no single walk grows to a large share of a level, so the last
// walks of a level end close together on every core.
constexpr uint32_t kPollsPerWalk = 64;
// The walk's steps are inlined into its loop: they are small and run billions of times.
#define HALVANE_HOT [[gnu::always_inline]] inline

constexpr std::size_t kNoSplit = ~std::size_t{0};

}  // namespace

void WalkRecord::Clear() {
  events.clear();
  centres.clear();
  tailSkipped = 0;
  tailMin = kNoRejection;
  visits = 0;
  walked = 0;
}

void WalkShared::LowerBound(uint32_t limit) {
  uint32_t seen = limitBound.load(std::memory_order_relaxed);
  while (limit < seen &&
         !limitBound.compare_exchange_weak(seen, limit, std::memory_order_relaxed)) {
  }
}

SubtreeWalker::SubtreeWalker(const LevelTables& tables, SubtreeMemo* memo)
    : t_(tables),
      frames_(kPointCapacity + 2),
      centres_(kPointCapacity + 2),
      memo_(memo),
      recordings_(memo != nullptr ? kPointCapacity + 2 : 0) {
  const uint32_t last = std::min<uint32_t>(tables.last, kPointCapacity);
  lastWord_ = last >> 6;
  lastBits_ = ~uint64_t{0} >> (63 - (last & 63));
  // A frame keeps the words from its point's up to the last point's.
  savedBlocked_.resize((kPointCapacity + 2) * (lastWord_ + 1));
}

void SubtreeWalker::Load(const WalkStart& start, const uint8_t* levels, WalkRecord& out) {
  if (levels != levels_) {
    levels_ = levels;
    collapsible_ = {};
    for (uint32_t j = 1; j <= t_.last; ++j)
      if (levels_[j] >= t_.minimum) collapsible_[j >> 6] |= uint64_t{1} << (j & 63);
  }
  seed_ = start.seed;
  free_ = start.free;
  run_ = start.run;
  lights_ = start.lights;
  std::copy(start.centres.begin(), start.centres.end(), centres_.begin());
  centreCount_ = start.centres.size();
  first_ = start.first;
  depth_ = 0;
  visits_ = 0;
  out_ = &out;
  skipped_ = 0;
  skippedMin_ = kNoRejection;
  exact_ = false;
  bound_ = shared_->limitBound.load(std::memory_order_relaxed);
  untilPoll_ = PollInterval();
  replayed_ = 0;
  savedTop_ = 0;
  BlockStart();
  StartMemo();
}

// The points from the walk's first on whose smallest collapse does not fit.
void SubtreeWalker::BlockStart() {
  blocked_ = {};
  for (uint32_t c = first_; c <= t_.last; ++c) {
    if (!IsFree(collapsible_, c)) continue;
    for (const MaskWord* w = t_.MinimumBegin(c); w != t_.MinimumEnd(c); ++w)
      if ((free_[w->word] & w->bits) != w->bits) {
        blocked_[c >> 6] |= uint64_t{1} << (c & 63);
        break;
      }
  }
}

// The memo serves the walks of a seed's subtrees that it has a class for.
void SubtreeWalker::StartMemo() {
  recordingCount_ = 0;
  const MemoLayout* layout = memo_ != nullptr ? &memo_->layout() : nullptr;
  memoOn_ = layout != nullptr && layout->use != MemoUse::kOff && phase_ == Phase::kWalking &&
            seed_ < layout->seedClass.size();
  if (!memoOn_) return;
  classId_ = layout->seedClass[seed_];
  class_ = &layout->classes[classId_];
}

WalkOutcome SubtreeWalker::Walk(const WalkStart& start, const uint8_t* levels, WalkShared& shared,
                                EntryState& entry, WalkRecord& out,
                                std::vector<SearchPiece>& rest) {
  phase_ = Phase::kWalking;
  shared_ = &shared;
  entry_ = &entry;
  pieces_ = &rest;
  polls_ = 0;
  Load(start, levels, out);
  walked_ = 0;
  if (entry.known.load(std::memory_order_acquire)) BecomeExact();
  const bool finished = Run(kNoSplit);
  if (!finished) DropRecordings();
  if (phase_ == Phase::kHandingOver) {
    CloseSegment();
    return WalkOutcome::kSplit;
  }
  walked_ += visits_ - replayed_;
  out.visits = visits_;
  out.walked = visits_ - replayed_;
  out.tailSkipped = skipped_;
  out.tailMin = skippedMin_;
  return finished ? WalkOutcome::kFinished : WalkOutcome::kStopped;
}

void SubtreeWalker::Expand(const WalkStart& start, const uint8_t* levels, WalkShared& shared,
                           std::vector<SearchPiece>& pieces) {
  phase_ = Phase::kExpanding;
  shared_ = &shared;
  entry_ = nullptr;
  pieces_ = &pieces;
  SearchPiece segment;
  Load(start, levels, segment.record);
  Run(1);
  CloseSegment();
}

// Each frame is a free point deciding, in the literal order, the largest
// collapse whose members are all free, each smaller one down to the level's
// minimum, then the single light; it also undoes the lights of the free
// points passed on the way to it. The collapses that fit are found once when
// the frame is pushed: a smaller level's members are a subset of a larger
// one's, and every option starts from the same free points. The steps are
// inlined; the walk is compiled with and without the population count
// instruction (popcount_clones.h).
HALVANE_POPCOUNT_CLONES bool SubtreeWalker::Run(std::size_t splitDepth) {
  splitDepth_ = splitDepth;
  const int minimum = t_.minimum;
  Enter(first_);
  while (depth_ > 0) {
    if (--untilPoll_ == 0 && !Poll()) return false;
    Frame& f = frames_[depth_ - 1];
    const uint32_t j = f.j;
    if (f.current == 0) {
      f.current = f.fit;
      Collapse(j, t_.Step(j, f.current));
      centres_[centreCount_++] = EncodeCollapse(j, f.current);
    } else if (f.current == 1) {
      if (f.recorded) CloseRecording();
      run_ -= 1 + f.passed;
      savedTop_ = f.saved;
      --depth_;
      continue;
    } else if (f.current > minimum) {
      FreeRing(t_.Step(j, f.current));
      --f.current;
      centres_[centreCount_ - 1] = EncodeCollapse(j, f.current);
      RestoreBlocked(f);
      Block(t_.Step(j, f.current));
    } else {
      Release(j, t_.Step(j, f.current));
      --centreCount_;
      f.current = 1;
      RestoreBlocked(f);
    }
    if (j == t_.last) {
      Leaf();
    } else {
      Enter(j + 1);
    }
  }
  return true;
}

// The visit of point j and of the points after it, up to a free point with
// a collapse to try (which gets a frame), a cut or a leaf. Decided points
// are skipped word by word, and a free point without a collapse that fits
// only adds its light and passes on: its frame would have the single light
// as its one option. Only the first visit of a stretch of decided points can
// be cut: the bounds never tighten with the index while runLights stays.
HALVANE_HOT void SubtreeWalker::Enter(uint32_t j) {
  int32_t passed = 0;
  for (;;) {
    if (j >= t_.steadyCutFrom && depth_ < splitDepth_) {
      if (EnterSteady(j, passed)) return;
      break;
    }
    if (run_ > t_.cutAbove[j]) {
      ++visits_;
      Cut();
      break;
    }
    const uint32_t f = NextFree(j);
    if (f > t_.last) {
      visits_ += t_.last - j + 1;
      Leaf();
      break;
    }
    visits_ += f - j + 1;
    if (depth_ >= splitDepth_) {
      EmitChild(f);
      break;
    }
    ++run_;
    const int fit = LargestFit(f);
    if (fit >= t_.minimum) {
      const MemoStep memo = Memoised(f) ? LookUp(f) : MemoStep::kSkip;
      if (memo == MemoStep::kHit) {
        --run_;  // as when its frame is done
        break;
      }
      Push(f, fit, memo == MemoStep::kRecord, passed);
      return;
    }
    ++passed;
    if (f == t_.last) {
      Leaf();
      break;
    }
    j = f + 1;
  }
  run_ -= passed;
}

// Enter where the cut bound no longer changes. Every free point that is
// neither blocked nor without collapses has one to try; the free points
// before the next such point only add their lights, a word at a time.
// Passing k of them raises the running count by k, and the visit after each
// is where a cut may come: the first whose count is above the bound.
// Returns true when a frame was pushed.
HALVANE_HOT bool SubtreeWalker::EnterSteady(uint32_t j, int32_t& passed) {
  const int64_t cut = t_.cutAbove[j];
  const uint32_t last = t_.last;
  if (run_ > cut) {
    ++visits_;
    Cut();
    return false;
  }
  const int64_t room = cut - run_;  // singles that pass before a cut
  int64_t singles = 0;
  uint32_t w = j >> 6;
  uint64_t from = ~uint64_t{0} << (j & 63);
  uint32_t c = last + 1;  // the next free point with a collapse to try
  for (;;) {
    uint64_t free = free_[w] & from;
    if (w == lastWord_) free &= lastBits_;
    const uint64_t candidates = free & collapsible_[w] & ~blocked_[w];
    uint64_t passing = free & ~candidates;
    if (candidates != 0) passing &= (candidates & (0 - candidates)) - 1;
    const int count = std::popcount(passing);
    if (singles + count > room) {
      const uint32_t s = (w << 6) + NthBit(passing, static_cast<int>(room - singles));
      run_ += static_cast<int32_t>(room + 1);
      passed += static_cast<int32_t>(room + 1);
      if (s == last) {  // the last single completes a leaf: no visit after it
        visits_ += last - j + 1;
        Leaf();
      } else {
        visits_ += s - j + 2;
        Cut();
      }
      return false;
    }
    singles += count;
    if (candidates != 0) {
      c = (w << 6) + static_cast<uint32_t>(std::countr_zero(candidates));
      break;
    }
    if (w == lastWord_) break;
    ++w;
    from = ~uint64_t{0};
  }
  run_ += static_cast<int32_t>(singles);
  passed += static_cast<int32_t>(singles);
  if (c > last) {
    visits_ += last - j + 1;
    Leaf();
    return false;
  }
  visits_ += c - j + 1;
  ++run_;
  const int fit = LargestFitAboveMinimum(c);
  const MemoStep memo = Memoised(c) ? LookUp(c) : MemoStep::kSkip;
  if (memo == MemoStep::kHit) {
    --run_;  // as when its frame is done
    return false;
  }
  Push(c, fit, memo == MemoStep::kRecord, passed);
  return true;
}

// The position of the set bit of `bits` that has n set bits below it:
// halves, quarters and eighths of the word by their counts, then bit by bit.
HALVANE_HOT uint32_t SubtreeWalker::NthBit(uint64_t bits, int n) {
  uint32_t at = 0;
  for (const uint32_t width : {32u, 16u, 8u}) {
    const int low = std::popcount(bits & ((uint64_t{1} << width) - 1));
    if (n >= low) {
      n -= low;
      bits >>= width;
      at += width;
    }
  }
  for (; n > 0; --n) bits &= bits - 1;
  return at + static_cast<uint32_t>(std::countr_zero(bits));
}

// Whether the decision of free point f (its light counted) is looked up in
// the memo.
HALVANE_HOT bool SubtreeWalker::Memoised(uint32_t f) {
  return memoOn_ && class_->keyWordCount[f] != 0 && memo_->Worth(f);
}

HALVANE_HOT uint32_t SubtreeWalker::NextFree(uint32_t j) const {
  std::size_t w = j >> 6;
  uint64_t bits = free_[w] & (~uint64_t{0} << (j & 63));
  while (bits == 0) {
    if (++w >= kFreeWords || (w << 6) > t_.last) return kPointCapacity + 1;
    bits = free_[w];
  }
  return static_cast<uint32_t>(w << 6) + static_cast<uint32_t>(std::countr_zero(bits));
}

// The largest collapse level of free point j, whose smallest collapse tried
// fits (it is not blocked).
HALVANE_HOT int SubtreeWalker::LargestFitAboveMinimum(uint32_t j) const {
  const int top = levels_[j];
  for (int s = t_.minimum + 1; s <= top; ++s)
    if (!RingFree(t_.Step(j, s))) return s - 1;
  return top;
}

HALVANE_HOT bool SubtreeWalker::RingFree(const CollapseStep& step) const {
  const MaskWord* w = t_.Words(step.ring);
  uint64_t missing = 0;
  for (uint32_t k = 0; k < step.ringWords; ++k) missing |= w[k].bits & ~free_[w[k].word];
  return missing == 0;
}

// A frame for free point j, keeping its words of blocked_ from j on: its
// options block more points, and each next option starts from these.
HALVANE_HOT void SubtreeWalker::Push(uint32_t j, int fit, bool recorded, int32_t passed) {
  const uint32_t saved = savedTop_;
  for (uint32_t w = j >> 6; w <= lastWord_; ++w) savedBlocked_[savedTop_++] = blocked_[w];
  frames_[depth_++] = {j, static_cast<int8_t>(fit), 0, recorded, passed, saved};
}

HALVANE_HOT void SubtreeWalker::RestoreBlocked(const Frame& f) {
  uint32_t at = f.saved;
  for (uint32_t w = f.j >> 6; w <= lastWord_; ++w) blocked_[w] = savedBlocked_[at++];
}

HALVANE_HOT void SubtreeWalker::Block(const CollapseStep& step) {
  const MaskWord* w = t_.Words(step.block);
  for (uint32_t k = 0; k < step.blockWords; ++k) blocked_[w[k].word] |= w[k].bits;
}

// The largest collapse level of free point j, up to its working level, whose
// rings are all free; 1 when even the smallest collapse tried does not fit.
HALVANE_HOT int SubtreeWalker::LargestFit(uint32_t j) const {
  const int top = levels_[j];
  if (top < t_.minimum) return 1;
  for (const MaskWord* w = t_.MinimumBegin(j); w != t_.MinimumEnd(j); ++w)
    if ((free_[w->word] & w->bits) != w->bits) return 1;  // below the minimum: no frame
  for (int s = t_.minimum + 1; s <= top; ++s)
    if (!RingFree(t_.Step(j, s))) return s - 1;
  return top;
}

// The memo key of the decision of free point f: the free points from f on
// in its window, and the members of every collapse of a point from f on
// that reaches back before f and is live (its largest one that fits).
void SubtreeWalker::KeyOf(uint32_t f, uint64_t* key) const {
  const MemoClass& c = *class_;
  const uint32_t first = c.keyFirstWord[f], words = c.keyWordCount[f];
  const uint64_t* forward = c.forwardMasks.data() + std::size_t{f} * kMemoKeyWords;
  for (uint32_t w = 0; w < words; ++w) key[w] = free_[first + w] & forward[w];
  std::fill(key + words, key + kMemoKeyWords, 0);
  const MaskWord* reachers = c.reacherWords.data() + c.reacherBegin[f];
  const MaskWord* end = c.reacherWords.data() + c.reacherBegin[f + 1];
  for (; reachers != end; ++reachers) {
    uint64_t live = reachers->bits & free_[reachers->word] & ~blocked_[reachers->word];
    for (; live != 0; live &= live - 1) {
      const uint32_t k = (reachers->word << 6) + static_cast<uint32_t>(std::countr_zero(live));
      const CollapseStep& step = t_.Step(k, LargestFitAboveMinimum(k));
      const MaskWord* w = t_.Words(step.all);
      for (uint32_t m = 0; m < step.allWords; ++m) {
        const uint32_t at = w[m].word - first;  // wraps for words before the window
        if (at < words) key[at] |= w[m].bits;
      }
    }
  }
}

// Takes collapse (j, s): its centre and members are no longer free, the
// members before j no longer lights, and the points it blocks are blocked.
HALVANE_HOT void SubtreeWalker::Collapse(uint32_t j, const CollapseStep& step) {
  const MaskWord* w = t_.Words(step.all);
  for (uint32_t k = 0; k < step.allWords; ++k) free_[w[k].word] &= ~w[k].bits;
  free_[j >> 6] &= ~(uint64_t{1} << (j & 63));
  run_ -= step.allBefore;
  lights_ -= step.allInRange;
  Block(step);
}

// Gives back the outer ring of a collapse: it shrinks by one level.
HALVANE_HOT void SubtreeWalker::FreeRing(const CollapseStep& step) {
  const MaskWord* w = t_.Words(step.ring);
  for (uint32_t k = 0; k < step.ringWords; ++k) free_[w[k].word] |= w[k].bits;
  run_ += step.ringBefore;
  lights_ += step.ringInRange;
}

// Gives back a whole collapse and its centre.
HALVANE_HOT void SubtreeWalker::Release(uint32_t j, const CollapseStep& step) {
  const MaskWord* w = t_.Words(step.all);
  for (uint32_t k = 0; k < step.allWords; ++k) free_[w[k].word] |= w[k].bits;
  free_[j >> 6] |= uint64_t{1} << (j & 63);
  run_ += step.allBefore;
  lights_ += step.allInRange;
}

HALVANE_HOT void SubtreeWalker::Cut() {
  ++skipped_;
}

HALVANE_HOT void SubtreeWalker::Leaf() {
  if (static_cast<int64_t>(run_) <= bound_) {
    Record(run_, lights_, nullptr, 0);
    return;
  }
  ++skipped_;
  const auto run = static_cast<uint32_t>(run_);
  skippedMin_ = std::min(skippedMin_, run);
  if (exact_) exactMin_ = std::min(exactMin_, run);
}

// Cut visits and rejected leaves that are only counted.
void SubtreeWalker::Gap(uint64_t skipped, uint32_t skippedMin) {
  skipped_ += skipped;
  skippedMin_ = std::min(skippedMin_, skippedMin);
  if (exact_) exactMin_ = std::min(exactMin_, skippedMin);
}

// A leaf within the bound, on the path of the open decisions followed by
// `inner` (the collapses of a replayed subtree).
void SubtreeWalker::Record(int32_t run, int32_t lights, const CollapseCode* inner,
                           uint32_t innerCount) {
  WalkRecord& out = *out_;
  LeafEvent e;
  e.skipped = skipped_;
  e.skippedMin = skippedMin_;
  e.run = run;
  e.lights = lights;
  e.centreBegin = static_cast<uint32_t>(out.centres.size());
  out.centres.insert(out.centres.end(), centres_.begin(),
                     centres_.begin() + static_cast<std::ptrdiff_t>(centreCount_));
  out.centres.insert(out.centres.end(), inner, inner + innerCount);
  e.centreEnd = static_cast<uint32_t>(out.centres.size());
  out.events.push_back(e);
  skipped_ = 0;
  skippedMin_ = kNoRejection;
  // Exact: the leaf is accepted, and a new minimum lowers the limit.
  if (exact_ && static_cast<uint32_t>(lights) < exactMin_) {
    if (exactLimit_ > exactMin_ + 5) exactLimit_ = exactMin_ + 5;
    exactMin_ = static_cast<uint32_t>(lights);
    bound_ = exactLimit_;
    shared_->LowerBound(exactLimit_);
  }
}

uint32_t SubtreeWalker::PollInterval() const {
  const uint32_t forced = phase_ == Phase::kWalking ? shared_->forcedSplitSteps : 0;
  return forced > 0 ? forced : kPollEvery;
}

bool SubtreeWalker::Poll() {
  untilPoll_ = PollInterval();
  if (shared_->stop.load(std::memory_order_relaxed)) return false;
  if (phase_ == Phase::kWalking && SplitNow()) {
    BeginSplit();
    return true;
  }
  if (exact_) return true;
  if (phase_ == Phase::kWalking && entry_->known.load(std::memory_order_acquire)) {
    BecomeExact();
  } else {
    bound_ = std::min(bound_, shared_->limitBound.load(std::memory_order_relaxed));
  }
  return true;
}

bool SubtreeWalker::SplitNow() {
  if (shared_->forcedSplitSteps > 0) return true;
  ++polls_;
  return polls_ >= kPollsPerWalk ||
         (polls_ >= kPollsBeforeSplit && shared_->hungry.load(std::memory_order_relaxed) > 0);
}

// From here on the walk only finishes the options it is in and hands over
// the rest: each visit that reaches a free point becomes a pending piece, the
// leaves and cuts on the way are recorded between them. The frames then
// unwind without growing, so this takes as long as the open options are
// many. The leaves met now lie after pieces nobody has walked yet, so the
// walk is no longer exact; its bound still holds, the limit only falls.
void SubtreeWalker::BeginSplit() {
  DropRecordings();
  phase_ = Phase::kHandingOver;
  splitDepth_ = 0;
  exact_ = false;
  untilPoll_ = ~uint32_t{0};
}

// Every subtree before this one is replayed: from its entry state, the leaf
// rules over the leaves recorded so far give the exact limit and minimum.
void SubtreeWalker::BecomeExact() {
  uint32_t limit = entry_->lightLimit;
  uint32_t least = entry_->minLights;
  std::size_t open = 0;  // the open recordings whose gap goes before an event
  for (std::size_t k = 0; k < out_->events.size(); ++k) {
    const LeafEvent& e = out_->events[k];
    least = std::min({least, e.skippedMin, OpenRecordingMin(open, k)});
    const auto run = static_cast<uint32_t>(e.run);
    const auto lights = static_cast<uint32_t>(e.lights);
    if (run > limit) {
      least = std::min(least, run);
    } else if (lights < least) {
      if (limit > least + 5) limit = least + 5;
      least = lights;
    }
  }
  exactLimit_ = limit;
  exactMin_ = std::min({least, skippedMin_, OpenRecordingMin(open, out_->events.size())});
  exact_ = true;
  bound_ = exactLimit_;
  shared_->LowerBound(exactLimit_);
}

void SubtreeWalker::CloseSegment() {
  WalkRecord& out = *out_;
  if (skipped_ == 0 && out.events.empty() && visits_ == 0) return;
  out.tailSkipped = skipped_;
  out.tailMin = skippedMin_;
  out.visits = visits_;
  out.walked = visits_ - replayed_;
  walked_ += out.walked;
  visits_ = 0;
  replayed_ = 0;
  SearchPiece finished;
  finished.start.seed = seed_;
  finished.record = std::move(out);
  pieces_->push_back(std::move(finished));
  out.Clear();
  skipped_ = 0;
  skippedMin_ = kNoRejection;
}

// The visit of j is the child's first: counted there, not here.
void SubtreeWalker::EmitChild(uint32_t j) {
  --visits_;
  CloseSegment();
  SearchPiece child;
  child.pending = true;
  child.start.seed = seed_;
  child.start.first = j;
  child.start.run = run_;
  child.start.lights = lights_;
  child.start.free = free_;
  child.start.centres.assign(centres_.begin(),
                             centres_.begin() + static_cast<std::ptrdiff_t>(centreCount_));
  pieces_->push_back(std::move(child));
}

}  // namespace halvane
