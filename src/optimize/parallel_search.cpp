#include "optimize/parallel_search.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>

#include "optimize/subtree_walk.h"

namespace halvane {
namespace {

constexpr std::size_t kMinSubtrees = 1024;
constexpr std::size_t kSubtreesPerThread = 256;
constexpr int kMaxSplitRounds = 24;
constexpr auto kEventInterval = std::chrono::milliseconds(50);

enum : int { kWaiting = 0, kFinished = 1, kStopped = 2 };

int32_t LightsUpTo(const optimization_typ& record, uint32_t last) {
  int32_t lights = 0;
  for (uint32_t j = 1; j <= last; ++j) lights += record.decision[j] > 0;
  return lights;
}

}  // namespace

std::vector<uint8_t> WorkingLevels(const Session& s) {
  std::vector<uint8_t> levels(kPointCapacity + 1, 0);
  for (uint32_t j = 1; j <= s.PointCount; ++j)
    levels[j] = static_cast<uint8_t>(std::clamp(s.Points[j].level, 0, kLargestCollapse));
  return levels;
}

// One level: its subtrees, the worker threads and the replay.
class ParallelSearch::Level {
 public:
  Level(ParallelSearch& owner, int level, const std::vector<SearchSeed>& seeds)
      : o_(owner),
        seeds_(seeds),
        tables_(MakeLevelTables(*owner.masks_, owner.v_, owner.s_.PointCount, level)),
        replay_(owner.s_, owner.v_, *owner.masks_, seeds) {
    shared_.limitBound.store(owner.v_.LightLimit);
  }

  void Run(uint32_t first) {
    MakePieces(first);
    Split();
    WalkAndReplay();
    replay_.Finish();
    ShowBest();
    if (!seeds_.empty()) o_.v_.SeedLabel = SeedLabel(static_cast<uint32_t>(seeds_.size() - 1));
    o_.v_.SeedIndex = static_cast<uint32_t>(seeds_.size());
    o_.v_.ProgressIndex = 0;
  }

  uint64_t visits = 0;
  std::size_t subtrees = 0;

 private:
  // One pending piece per seed, or its single leaf when the seed has nothing
  // left to decide.
  void MakePieces(uint32_t first) {
    for (uint32_t i = 0; i < seeds_.size(); ++i) {
      const SearchSeed& seed = seeds_[i];
      SearchPiece piece;
      piece.start.seed = i;
      piece.start.run = seed.run;
      piece.start.lights = LightsUpTo(seed.record, tables_.last);
      if (first > tables_.last) {
        LeafEvent leaf;
        leaf.run = piece.start.run;
        leaf.lights = piece.start.lights;
        piece.record.events.push_back(leaf);
      } else {
        piece.pending = true;
        piece.start.first = first;
        piece.start.free = FreePointsOf(seed.record);
      }
      pieces_.push_back(std::move(piece));
    }
  }

  // Splits the pending subtrees one decision deeper until there are enough
  // to keep every thread busy to the end.
  void Split() {
    const std::size_t target =
        std::max(kMinSubtrees, kSubtreesPerThread * static_cast<std::size_t>(o_.threads_));
    SubtreeWalker walker(tables_);
    for (int round = 0; round < kMaxSplitRounds; ++round) {
      const auto pending = static_cast<std::size_t>(std::count_if(
          pieces_.begin(), pieces_.end(), [](const SearchPiece& p) { return p.pending; }));
      if (pending == 0 || pending >= target) break;
      std::vector<SearchPiece> next;
      next.reserve(pieces_.size() * 2);
      for (SearchPiece& p : pieces_) {
        if (p.pending) {
          walker.Expand(p.start, Levels(p), shared_, next);
        } else {
          next.push_back(std::move(p));
        }
      }
      pieces_.swap(next);
    }
  }

  const uint8_t* Levels(const SearchPiece& p) const { return seeds_[p.start.seed].levels.data(); }

  void WalkAndReplay() {
    for (std::size_t i = 0; i < pieces_.size(); ++i)
      if (pieces_[i].pending) order_.push_back(i);
    subtrees = order_.size();
    status_ = std::make_unique<std::atomic<int>[]>(pieces_.size());
    entries_ = std::make_unique<EntryState[]>(pieces_.size());
    const std::size_t workers =
        std::min(order_.size(), static_cast<std::size_t>(std::max(1, o_.threads_)));
    std::vector<std::thread> threads;
    try {
      for (std::size_t k = 0; k < workers; ++k) threads.emplace_back([this] { Work(); });
    } catch (const std::system_error&) {
      // Fewer threads than asked for: those that started do the work, or
      // this thread alone when none did.
    }
    if (threads.empty() && workers > 0) Work();
    try {
      Wait();
    } catch (...) {
      shared_.stop.store(true);
      for (std::thread& t : threads) t.join();
      throw;
    }
    for (std::thread& t : threads) t.join();
    if (failure_) std::rethrow_exception(failure_);
    ReplayFinished();  // what finished before a stop, up to the first unfinished subtree
  }

  // The calling thread: replays finished subtrees in order and lets the
  // window's events run while the workers walk.
  void Wait() {
    using Clock = std::chrono::steady_clock;
    auto lastEvents = Clock::now();
    std::size_t seen = 0;
    for (;;) {
      ReplayFinished();
      if (replayed_ == pieces_.size()) return;
      if (Clock::now() - lastEvents >= kEventInterval) {
        lastEvents = Clock::now();
        ShowProgress();
        ShowBest();
        o_.host_.ProcessEvents();
        if (o_.s_.AbortRequested) {
          shared_.stop.store(true);
          return;
        }
      }
      std::unique_lock<std::mutex> lock(mutex_);
      if (failure_) return;
      wake_.wait_for(lock, kEventInterval, [&] { return finished_ != seen; });
      seen = finished_;
    }
  }

  void Work() {
    try {
      SubtreeWalker walker(tables_);
      for (;;) {
        if (shared_.stop.load(std::memory_order_relaxed)) return;
        const std::size_t k = next_.fetch_add(1);
        if (k >= order_.size()) return;
        const std::size_t i = order_[k];
        SearchPiece& p = pieces_[i];
        const bool done = walker.Walk(p.start, Levels(p), shared_, &entries_[i], p.record);
        status_[i].store(done ? kFinished : kStopped, std::memory_order_release);
        std::lock_guard<std::mutex> lock(mutex_);
        ++finished_;
        wake_.notify_one();
      }
    } catch (...) {
      shared_.stop.store(true);
      std::lock_guard<std::mutex> lock(mutex_);
      failure_ = std::current_exception();
      wake_.notify_one();
    }
  }

  void ReplayFinished() {
    while (replayed_ < pieces_.size()) {
      SearchPiece& p = pieces_[replayed_];
      if (p.pending && status_[replayed_].load(std::memory_order_acquire) != kFinished) break;
      replay_.Replay(p.start.seed, p.record);
      visits += p.record.visits;
      p.record = WalkRecord{};
      p.start.centres = {};
      ++replayed_;
    }
    shared_.LowerBound(o_.v_.LightLimit);
    if (replayed_ < pieces_.size() && pieces_[replayed_].pending && published_ != replayed_ + 1) {
      EntryState& entry = entries_[replayed_];
      entry.lightLimit = o_.v_.LightLimit;
      entry.minLights = o_.v_.MinLights;
      entry.known.store(true, std::memory_order_release);
      published_ = replayed_ + 1;
    }
  }

  std::string SeedLabel(uint32_t seed) const {
    return std::to_string(seed + 1) + "/" + std::to_string(seeds_.size()) + "  ";
  }

  // The status text of the literal search for the first unfinished subtree;
  // the gauge shows the share of subtrees replayed.
  void ShowProgress() {
    if (replayed_ >= pieces_.size()) return;
    const SearchPiece& head = pieces_[replayed_];
    LevelSearch& v = o_.v_;
    v.SeedIndex = head.start.seed + 1;
    v.SeedLabel = SeedLabel(head.start.seed);
    v.ProgressIndex = head.pending ? head.start.first : 0;
    v.RefreshProgress();
    o_.form_.GaugeOpt2.SetProgress(static_cast<long long>(
        std::nearbyint(100.0L * static_cast<long double>(replayed_) / pieces_.size())));
  }

  void ShowBest() {
    if (replay_.TakeNewBest(best_)) {
      const optimization_typ kept = o_.v_.Current;
      o_.v_.Current = best_;
      o_.v_.ShowCurrent();
      o_.v_.Current = kept;
    }
  }

  ParallelSearch& o_;
  const std::vector<SearchSeed>& seeds_;
  LevelTables tables_;
  LeafReplay replay_;
  WalkShared shared_;
  std::vector<SearchPiece> pieces_;
  std::vector<std::size_t> order_;
  std::unique_ptr<std::atomic<int>[]> status_;
  std::unique_ptr<EntryState[]> entries_;
  std::atomic<std::size_t> next_{0};
  std::mutex mutex_;
  std::condition_variable wake_;
  std::size_t finished_ = 0;
  std::exception_ptr failure_;
  std::size_t replayed_ = 0;
  std::size_t published_ = 0;
  optimization_typ best_{};
};

ParallelSearch::ParallelSearch(Session& s, Form& form, Host& host, LevelSearch& values, int threads)
    : s_(s), form_(form), host_(host), v_(values), threads_(threads) {}

ParallelSearch::~ParallelSearch() = default;

void ParallelSearch::PrepareRun() {
  masks_ = std::make_unique<CollapseMasks>(s_);
}

void ParallelSearch::RunLevel(int level, uint32_t first, const std::vector<SearchSeed>& seeds) {
  if (!masks_) PrepareRun();
  if (v_.LastIndex > kPointCapacity) throw IndexError(v_.LastIndex, kPointCapacity + 1);
  Level run(*this, level, seeds);
  run.Run(first);
  visits_ = run.visits;
  subtrees_ = run.subtrees;
}

}  // namespace halvane
