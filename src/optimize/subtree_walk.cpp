#include "optimize/subtree_walk.h"

#include <algorithm>
#include <bit>

namespace halvane {
namespace {

constexpr uint32_t kPollEvery = 1u << 12;  // frame steps between looks at the shared state
// Looks at the shared state before a walk may split for a hungry worker:
// short walks are not worth handing over.
constexpr uint32_t kPollsBeforeSplit = 8;
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
}

void WalkShared::LowerBound(uint32_t limit) {
  uint32_t seen = limitBound.load(std::memory_order_relaxed);
  while (limit < seen &&
         !limitBound.compare_exchange_weak(seen, limit, std::memory_order_relaxed)) {
  }
}

SubtreeWalker::SubtreeWalker(const LevelTables& tables)
    : t_(tables), frames_(kPointCapacity + 2), centres_(kPointCapacity + 2) {}

void SubtreeWalker::Load(const WalkStart& start, const uint8_t* levels, WalkRecord& out) {
  levels_ = levels;
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
  if (entry.known.load(std::memory_order_acquire)) BecomeExact();
  const bool finished = Run(kNoSplit);
  if (phase_ == Phase::kHandingOver) {
    CloseSegment();
    return WalkOutcome::kSplit;
  }
  out.visits = visits_;
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
// one's, and every option starts from the same free points.
bool SubtreeWalker::Run(std::size_t splitDepth) {
  splitDepth_ = splitDepth;
  const int minimum = t_.minimum;
  Enter(first_);
  while (depth_ > 0) {
    if (--untilPoll_ == 0 && !Poll()) return false;
    Frame& f = frames_[depth_ - 1];
    const uint32_t j = f.j;
    if (f.current == 0) {
      Collapse(j, f.fit);
      f.current = f.fit;
    } else if (f.current == 1) {
      run_ -= 1 + f.passed;
      --depth_;
      continue;
    } else if (f.current > minimum) {
      FreeRing(j, f.current);
      --f.current;
      centres_[centreCount_ - 1] = EncodeCollapse(j, f.current);
    } else {
      for (int s = f.current; s >= 2; --s) FreeRing(j, s);
      free_[j >> 6] |= uint64_t{1} << (j & 63);
      --centreCount_;
      f.current = 1;
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
      frames_[depth_++] = {f, static_cast<int8_t>(fit), 0, passed};
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

HALVANE_HOT uint32_t SubtreeWalker::NextFree(uint32_t j) const {
  std::size_t w = j >> 6;
  uint64_t bits = free_[w] & (~uint64_t{0} << (j & 63));
  while (bits == 0) {
    if (++w >= kFreeWords || (w << 6) > t_.last) return kPointCapacity + 1;
    bits = free_[w];
  }
  return static_cast<uint32_t>(w << 6) + static_cast<uint32_t>(std::countr_zero(bits));
}

// The largest collapse level of free point j, up to its working level, whose
// rings are all free; 1 when even the smallest collapse tried does not fit.
HALVANE_HOT int SubtreeWalker::LargestFit(uint32_t j) const {
  const int top = levels_[j];
  if (top < t_.minimum) return 1;
  for (const MaskWord* w = t_.MinimumBegin(j); w != t_.MinimumEnd(j); ++w)
    if ((free_[w->word] & w->bits) != w->bits) return 1;  // below the minimum: no frame
  for (int s = t_.minimum + 1; s <= top; ++s)
    for (const MaskWord* w = t_.masks->RingBegin(j, s); w != t_.masks->RingEnd(j, s); ++w)
      if ((free_[w->word] & w->bits) != w->bits) return s - 1;
  return top;
}

HALVANE_HOT void SubtreeWalker::Collapse(uint32_t j, int s) {
  for (int level = 2; level <= s; ++level) {
    for (const MaskWord* w = t_.masks->RingBegin(j, level); w != t_.masks->RingEnd(j, level); ++w)
      free_[w->word] &= ~w->bits;
    run_ -= t_.masks->RingBefore(j, level);
    lights_ -= t_.RingInRange(j, level);
  }
  free_[j >> 6] &= ~(uint64_t{1} << (j & 63));
  centres_[centreCount_++] = EncodeCollapse(j, s);
}

HALVANE_HOT void SubtreeWalker::FreeRing(uint32_t j, int s) {
  for (const MaskWord* w = t_.masks->RingBegin(j, s); w != t_.masks->RingEnd(j, s); ++w)
    free_[w->word] |= w->bits;
  run_ += t_.masks->RingBefore(j, s);
  lights_ += t_.RingInRange(j, s);
}

HALVANE_HOT void SubtreeWalker::Cut() {
  ++skipped_;
}

HALVANE_HOT void SubtreeWalker::Leaf() {
  if (static_cast<int64_t>(run_) <= bound_) {
    Record();
    return;
  }
  ++skipped_;
  const auto run = static_cast<uint32_t>(run_);
  skippedMin_ = std::min(skippedMin_, run);
  if (exact_) exactMin_ = std::min(exactMin_, run);
}

void SubtreeWalker::Record() {
  WalkRecord& out = *out_;
  LeafEvent e;
  e.skipped = skipped_;
  e.skippedMin = skippedMin_;
  e.run = run_;
  e.lights = lights_;
  e.centreBegin = static_cast<uint32_t>(out.centres.size());
  out.centres.insert(out.centres.end(), centres_.begin(),
                     centres_.begin() + static_cast<std::ptrdiff_t>(centreCount_));
  e.centreEnd = static_cast<uint32_t>(out.centres.size());
  out.events.push_back(e);
  skipped_ = 0;
  skippedMin_ = kNoRejection;
  // Exact: the leaf is accepted, and a new minimum lowers the limit.
  if (exact_ && static_cast<uint32_t>(lights_) < exactMin_) {
    if (exactLimit_ > exactMin_ + 5) exactLimit_ = exactMin_ + 5;
    exactMin_ = static_cast<uint32_t>(lights_);
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
  return ++polls_ >= kPollsBeforeSplit && shared_->hungry.load(std::memory_order_relaxed) > 0;
}

// From here on the walk only finishes the options it is in and hands over
// the rest: each visit that reaches a free point becomes a pending piece, the
// leaves and cuts on the way are recorded between them. The frames then
// unwind without growing, so this takes as long as the open options are
// many. The leaves met now lie after pieces nobody has walked yet, so the
// walk is no longer exact; its bound still holds, the limit only falls.
void SubtreeWalker::BeginSplit() {
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
  for (const LeafEvent& e : out_->events) {
    least = std::min(least, e.skippedMin);
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
  exactMin_ = std::min(least, skippedMin_);
  exact_ = true;
  bound_ = exactLimit_;
  shared_->LowerBound(exactLimit_);
}

void SubtreeWalker::CloseSegment() {
  WalkRecord& out = *out_;
  if (skipped_ == 0 && out.events.empty()) return;
  out.tailSkipped = skipped_;
  out.tailMin = skippedMin_;
  out.visits = visits_;
  visits_ = 0;
  SearchPiece finished;
  finished.start.seed = seed_;
  finished.record = std::move(out);
  pieces_->push_back(std::move(finished));
  out.Clear();
  skipped_ = 0;
  skippedMin_ = kNoRejection;
}

void SubtreeWalker::EmitChild(uint32_t j) {
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
