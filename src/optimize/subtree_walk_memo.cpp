// The walker's use of its memo (subtree_memo.h): looking up a decision,
// replaying a stored subtree, recording a walked one.
#include <algorithm>

#include "optimize/subtree_walk.h"

namespace halvane {
namespace {

// More accepted-leaf candidates than this in one subtree are not stored.
constexpr std::size_t kMaxStoredEvents = 4096;

}  // namespace

// At the decision of free point f (its light counted): replays the stored
// subtree when there is one for this state and bound, otherwise opens a
// recording of the subtree about to be walked.
SubtreeWalker::MemoStep SubtreeWalker::LookUp(uint32_t f) {
  if (run_ < 0 || run_ > 0xFFFF) return MemoStep::kSkip;
  Recording& r = recordings_[recordingCount_];  // kept only when the subtree is walked
  const uint32_t words = class_->keyWordCount[f];
  KeyOf(f, r.key);
  r.id = SubtreeMemo::Id(f, run_, classId_);
  r.tag = SubtreeMemo::Tag(r.id, r.key, words);
  const MemoEntry* entry = memo_->Find(r.tag, r.id, r.key, words);
  // An entry recorded every leaf up to its bound: it serves a walk whose
  // bound is not above that.
  if (entry != nullptr && bound_ <= entry->boundEnd) {
    memo_->NoteLookup(f, true, entry->walked);
    ReplayEntry(*entry);
    return MemoStep::kHit;
  }
  memo_->NoteLookup(f, false, 0);
  ++recordingCount_;
  r.j = f;
  r.events = static_cast<uint32_t>(out_->events.size());
  r.centres = static_cast<uint32_t>(centreCount_);
  r.lights = lights_;
  r.visits = visits_;
  r.replayed = replayed_;
  r.savedSkipped = skipped_;
  r.savedMin = skippedMin_;
  skipped_ = 0;
  skippedMin_ = kNoRejection;
  return MemoStep::kRecord;
}

// What the walk of the stored subtree would do, in its order: its gaps,
// its leaves through the current bound (which the accepted ones may
// lower), its visits.
void SubtreeWalker::ReplayEntry(const MemoEntry& entry) {
  const MemoEvent* events = memo_->Events(entry);
  for (uint32_t k = 0; k < entry.eventCount; ++k) {
    const MemoEvent& e = events[k];
    Gap(e.skipped, e.skippedMin);
    if (static_cast<int64_t>(e.run) <= bound_) {
      Record(e.run, lights_ + e.lightsAdded, memo_->Centres(e), e.centreCount);
    } else {
      Gap(1, static_cast<uint32_t>(e.run));
    }
  }
  Gap(entry.tailSkipped, entry.tailMin);
  visits_ += entry.visits;
  replayed_ += entry.visits;
}

// The decision of the innermost recording is done, the state back as it
// was when it opened: stores the subtree and puts the gap set aside back in
// front of it.
void SubtreeWalker::CloseRecording() {
  const Recording& r = recordings_[--recordingCount_];
  const uint64_t walked = (visits_ - r.visits) - (replayed_ - r.replayed);
  if (SubtreeMemo::WorthStoring(walked) || memo_->layout().use == MemoUse::kEverywhere)
    StoreRecording(r, walked);
  PutGapBack(r);
}

void SubtreeWalker::PutGapBack(const Recording& r) {
  std::vector<LeafEvent>& events = out_->events;
  if (events.size() > r.events) {
    LeafEvent& first = events[r.events];
    first.skipped += r.savedSkipped;
    first.skippedMin = std::min(first.skippedMin, r.savedMin);
  } else {
    skipped_ += r.savedSkipped;
    skippedMin_ = std::min(skippedMin_, r.savedMin);
  }
}

void SubtreeWalker::StoreRecording(const Recording& r, uint64_t walked) {
  const std::vector<LeafEvent>& events = out_->events;
  if (events.size() - r.events > kMaxStoredEvents) return;
  MemoEntry entry;
  entry.id = r.id;
  entry.visits = visits_ - r.visits;
  entry.walked = walked;
  entry.tailSkipped = skipped_;
  entry.tailMin = skippedMin_;
  entry.boundEnd = bound_;
  std::copy(r.key, r.key + kMemoKeyWords, entry.key);
  storeEvents_.clear();
  storeCentres_.clear();
  for (std::size_t k = r.events; k < events.size(); ++k) {
    const LeafEvent& e = events[k];
    MemoEvent m;
    m.skipped = e.skipped;
    m.skippedMin = e.skippedMin;
    m.run = e.run;
    m.lightsAdded = e.lights - r.lights;
    m.centreBegin = static_cast<uint32_t>(storeCentres_.size());
    m.centreCount = e.centreEnd - e.centreBegin - r.centres;
    storeCentres_.insert(storeCentres_.end(), out_->centres.begin() + e.centreBegin + r.centres,
                         out_->centres.begin() + e.centreEnd);
    storeEvents_.push_back(m);
  }
  memo_->Store(r.tag, entry, storeEvents_, storeCentres_);
}

// A split or a stop ends the recordings unstored, each gap put back.
void SubtreeWalker::DropRecordings() {
  while (recordingCount_ > 0) PutGapBack(recordings_[--recordingCount_]);
  for (std::size_t d = 0; d < depth_; ++d) frames_[d].recorded = false;
  memoOn_ = false;
}

// The smallest running count of the gaps set aside by open recordings whose
// first event is `event` (or that have none yet, for the events' count);
// `next` walks the recordings, which open in event order.
uint32_t SubtreeWalker::OpenRecordingMin(std::size_t& next, std::size_t event) const {
  uint32_t least = kNoRejection;
  while (next < recordingCount_ && recordings_[next].events <= event)
    least = std::min(least, recordings_[next++].savedMin);
  return least;
}

}  // namespace halvane
