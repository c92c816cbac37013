#include "optimize/parallel_search.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <set>
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
// The level whose walks use the memo: the others are short.
constexpr int kMemoLevel = 2;

}  // namespace

int32_t LightsUpTo(const SearchResult& record, uint32_t last) {
  int32_t lights = 0;
  for (uint32_t j = 1; j <= last; ++j) lights += record.decision[j] > 0;
  return lights;
}

std::vector<uint8_t> WorkingLevels(const Dome& dome) {
  std::vector<uint8_t> levels(kPointCapacity + 1, 0);
  for (uint32_t j = 1; j <= dome.pointCount; ++j)
    levels[j] = static_cast<uint8_t>(std::clamp(dome.points[j].level, 0, kLargestCollapse));
  return levels;
}

// One level: its subtrees, the worker threads and the replay.
//
// The subtrees form a tree in depth-first order: a walk that hands over its
// rest to a hungry worker becomes a node whose children are what it recorded
// and the pieces it did not walk. Workers take the earliest queued piece;
// the replay walks the tree in order and stops at the first piece not
// finished.
class ParallelSearch::Level {
 public:
  Level(ParallelSearch& owner, int level, const std::vector<SearchSeed>& seeds)
      : o_(owner),
        seeds_(seeds),
        tables_(MakeLevelTables(*owner.masks_, owner.run_, owner.dome_.pointCount, level)),
        level_(level),
        replay_(owner.results_, owner.run_, *owner.masks_, seeds) {
    shared_.limitBound.store(owner.run_.lightLimit);
    shared_.forcedSplitSteps = owner.forcedSplitSteps_;
  }

  void Run(uint32_t first) {
    if (level_ == kMemoLevel) memo_ = MakeMemoLayout(tables_, first, seeds_, o_.memo_);
    std::vector<SearchPiece> pieces = MakePieces(first);
    Split(pieces);
    roots_ = MakeNodes(std::move(pieces), {});
    WalkAndReplay();
    replay_.Finish();
    ShowBest();
    if (!seeds_.empty()) o_.run_.seedLabel = SeedLabel(static_cast<uint32_t>(seeds_.size() - 1));
    o_.run_.seedIndex = static_cast<uint32_t>(seeds_.size());
    o_.run_.progressIndex = 0;
  }

  LevelCounts counts;

 private:
  enum : int { kQueued = 0, kFinished = 1, kStopped = 2, kSplit = 3 };

  struct Node {
    SearchPiece piece;
    std::vector<uint32_t> key;  // child positions from the top: the depth-first order
    std::atomic<int> state{kQueued};
    EntryState entry;
    std::vector<std::unique_ptr<Node>> children;  // written before `state` becomes kSplit
  };
  using Nodes = std::vector<std::unique_ptr<Node>>;

  struct EarlierFirst {
    bool operator()(const Node* a, const Node* b) const { return a->key < b->key; }
  };

  // Where the replay is: a position in each list from the top down.
  struct Cursor {
    const Nodes* list;
    std::size_t index;
  };

  // One pending piece per seed, or its single leaf when the seed has nothing
  // left to decide.
  std::vector<SearchPiece> MakePieces(uint32_t first) const {
    std::vector<SearchPiece> pieces;
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
      pieces.push_back(std::move(piece));
    }
    return pieces;
  }

  // Splits the pending subtrees one decision deeper until there are enough
  // to show progress and to start every thread; walks that turn out long
  // are split further while they run.
  void Split(std::vector<SearchPiece>& pieces) {
    const std::size_t target =
        std::max(kMinSubtrees, kSubtreesPerThread * static_cast<std::size_t>(o_.threads_));
    SubtreeWalker walker(tables_);
    for (int round = 0; round < kMaxSplitRounds; ++round) {
      const auto pending = static_cast<std::size_t>(std::count_if(
          pieces.begin(), pieces.end(), [](const SearchPiece& p) { return p.pending; }));
      if (pending == 0 || pending >= target) break;
      std::vector<SearchPiece> next;
      next.reserve(pieces.size() * 2);
      for (SearchPiece& p : pieces) {
        if (p.pending) {
          walker.Expand(p.start, Levels(p), shared_, next);
        } else {
          next.push_back(std::move(p));
        }
      }
      pieces.swap(next);
    }
  }

  // Nodes for `pieces` below the position `parent`; the finished ones are
  // finished nodes.
  static Nodes MakeNodes(std::vector<SearchPiece> pieces, const std::vector<uint32_t>& parent) {
    Nodes nodes;
    nodes.reserve(pieces.size());
    for (std::size_t k = 0; k < pieces.size(); ++k) {
      auto node = std::make_unique<Node>();
      node->key = parent;
      node->key.push_back(static_cast<uint32_t>(k));
      if (!pieces[k].pending) node->state.store(kFinished, std::memory_order_relaxed);
      node->piece = std::move(pieces[k]);
      nodes.push_back(std::move(node));
    }
    return nodes;
  }

  const uint8_t* Levels(const SearchPiece& p) const { return seeds_[p.start.seed].levels.data(); }

  void WalkAndReplay() {
    std::size_t pending = 0;
    for (const auto& node : roots_) {
      if (node->piece.pending) {
        queue_.insert(node.get());
        ++pending;
      }
    }
    cursor_.push_back({&roots_, 0});
    // Every thread, even with fewer pieces: a long walk splits for an idle one.
    const std::size_t workers =
        pending > 0 ? static_cast<std::size_t>(std::max(1, o_.threads_)) : 0;
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
      Stop();
      for (std::thread& t : threads) t.join();
      throw;
    }
    for (std::thread& t : threads) t.join();
    if (failure_) std::rethrow_exception(failure_);
    ReplayFinished();  // what finished before a stop, up to the first unfinished piece
  }

  void Stop() {
    std::lock_guard<std::mutex> lock(mutex_);
    shared_.stop.store(true);
    work_.notify_all();
  }

  // The calling thread: replays finished pieces in order and reports to the
  // observer while the workers walk.
  void Wait() {
    using Clock = std::chrono::steady_clock;
    auto lastEvents = Clock::now();
    std::size_t seen = 0;
    for (;;) {
      ReplayFinished();
      if (Head() == nullptr) return;
      if (Clock::now() - lastEvents >= kEventInterval) {
        lastEvents = Clock::now();
        ShowProgress();
        ShowBest();
        o_.observer_.LetEventsRun();
        if (o_.observer_.Cancelled()) {
          Stop();
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
      std::unique_ptr<SubtreeMemo> memo;
      if (memo_.use != MemoUse::kOff && !memo_.classes.empty())
        memo = std::make_unique<SubtreeMemo>(memo_, SubtreeMemo::SetBits(o_.threads_));
      SubtreeWalker walker(tables_, memo.get());
      std::vector<SearchPiece> rest;
      uint64_t largest = 0;
      while (Node* node = Take()) {
        rest.clear();
        SearchPiece& p = node->piece;
        const WalkOutcome outcome =
            walker.Walk(p.start, Levels(p), shared_, node->entry, p.record, rest);
        largest = std::max(largest, walker.Walked());
        Done(*node, outcome, rest);
      }
      std::lock_guard<std::mutex> lock(mutex_);
      counts.largestTask = std::max(counts.largestTask, largest);
      if (memo) {
        counts.memoLookups += memo->lookups;
        counts.memoHits += memo->hits;
      }
    } catch (...) {
      std::lock_guard<std::mutex> lock(mutex_);
      shared_.stop.store(true);
      failure_ = std::current_exception();
      work_.notify_all();
      wake_.notify_one();
    }
  }

  // The earliest queued piece; waits while the queue is empty and a walk
  // that may still hand over its rest is running.
  Node* Take() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
      if (shared_.stop.load()) return nullptr;
      if (!queue_.empty()) {
        Node* node = *queue_.begin();
        queue_.erase(queue_.begin());
        ++walking_;
        ++counts.subtrees;
        return node;
      }
      if (walking_ == 0) return nullptr;
      shared_.hungry.fetch_add(1);
      work_.wait(lock);
      shared_.hungry.fetch_sub(1);
    }
  }

  void Done(Node& node, WalkOutcome outcome, std::vector<SearchPiece>& rest) {
    if (outcome == WalkOutcome::kSplit) node.children = MakeNodes(std::move(rest), node.key);
    std::lock_guard<std::mutex> lock(mutex_);
    if (outcome == WalkOutcome::kSplit) {
      ++counts.splits;
      for (const auto& child : node.children)
        if (child->piece.pending) queue_.insert(child.get());
    }
    node.state.store(outcome == WalkOutcome::kFinished ? kFinished
                     : outcome == WalkOutcome::kSplit  ? kSplit
                                                       : kStopped,
                     std::memory_order_release);
    --walking_;
    ++finished_;
    work_.notify_all();
    wake_.notify_one();
  }

  // The first node not replayed yet, below the split nodes; none when the
  // level is replayed to its end.
  Node* Head() {
    for (;;) {
      while (!cursor_.empty() && cursor_.back().index == cursor_.back().list->size()) {
        cursor_.pop_back();
        if (!cursor_.empty()) ++cursor_.back().index;
      }
      if (cursor_.empty()) return nullptr;
      Node* node = (*cursor_.back().list)[cursor_.back().index].get();
      if (node->state.load(std::memory_order_acquire) != kSplit) return node;
      cursor_.push_back({&node->children, 0});
    }
  }

  void ReplayFinished() {
    Node* head = Head();
    while (head != nullptr && head->state.load(std::memory_order_acquire) == kFinished) {
      SearchPiece& p = head->piece;
      replay_.Replay(p.start.seed, p.record);
      counts.visits += p.record.visits;
      counts.walked += p.record.walked;
      p.record = WalkRecord{};
      p.start.centres = {};
      ++cursor_.back().index;
      head = Head();
    }
    shared_.LowerBound(o_.run_.lightLimit);
    if (head != nullptr && head != published_) {
      head->entry.lightLimit = o_.run_.lightLimit;
      head->entry.minLights = o_.run_.minLights;
      head->entry.known.store(true, std::memory_order_release);
      published_ = head;
    }
  }

  std::string SeedLabel(uint32_t seed) const {
    return std::to_string(seed + 1) + "/" + std::to_string(seeds_.size()) + "  ";
  }

  // The status text of the literal search for the first unfinished piece;
  // the gauge shows the share of the tree replayed.
  void ShowProgress() {
    const Node* head = Head();
    if (head == nullptr) return;
    SearchRun& run = o_.run_;
    run.seedIndex = head->piece.start.seed + 1;
    run.seedLabel = SeedLabel(head->piece.start.seed);
    run.progressIndex = head->piece.pending ? head->piece.start.first : 0;
    ReportSearchProgress(run, o_.results_, o_.observer_);
    long double share = 0, width = 1;
    for (const Cursor& c : cursor_) {
      width /= static_cast<long double>(c.list->size());
      share += width * static_cast<long double>(c.index);
    }
    o_.observer_.Gauge(static_cast<long long>(std::nearbyint(100.0L * share)));
  }

  void ShowBest() {
    if (replay_.TakeNewBest(best_)) PreviewSearchResult(o_.dome_, o_.run_, best_, o_.observer_);
  }

  ParallelSearch& o_;
  const std::vector<SearchSeed>& seeds_;
  LevelTables tables_;
  int level_;
  MemoLayout memo_;
  LeafReplay replay_;
  WalkShared shared_;
  Nodes roots_;
  std::vector<Cursor> cursor_;
  const Node* published_ = nullptr;
  std::set<Node*, EarlierFirst> queue_;
  std::size_t walking_ = 0;
  std::mutex mutex_;
  std::condition_variable work_;  // workers: a piece queued, or nothing left to wait for
  std::condition_variable wake_;  // the calling thread: a walk ended
  std::size_t finished_ = 0;
  std::exception_ptr failure_;
  SearchResult best_{};
};

ParallelSearch::ParallelSearch(Dome& dome, SearchResults& results, SearchRun& run,
                               const SearchObserver& observer, int threads,
                               uint32_t forcedSplitSteps, MemoUse memo)
    : dome_(dome),
      results_(results),
      run_(run),
      observer_(observer),
      threads_(threads),
      forcedSplitSteps_(forcedSplitSteps),
      memo_(memo) {}

ParallelSearch::~ParallelSearch() = default;

void ParallelSearch::PrepareRun() {
  masks_ = std::make_unique<CollapseMasks>(dome_);
}

void ParallelSearch::RunLevel(int level, uint32_t first, const std::vector<SearchSeed>& seeds) {
  if (!masks_) PrepareRun();
  if (run_.lastIndex > kPointCapacity) throw IndexError(run_.lastIndex, kPointCapacity + 1);
  Level run(*this, level, seeds);
  run.Run(first);
  counts_ = run.counts;
}

}  // namespace halvane
