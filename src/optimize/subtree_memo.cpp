#include "optimize/subtree_memo.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "optimize/leaf_replay.h"

namespace halvane {
namespace {

// Slots of two entries per walker: at most 2^14 (4.5 MB), fewer when many
// walkers share kMemoBytes, at least 2^8.
constexpr std::size_t kMostSetBits = 14, kFewestSetBits = 8;
constexpr std::size_t kMemoBytes = std::size_t{64} << 20;
constexpr std::size_t kMaxEvents = std::size_t{1} << 16;
constexpr std::size_t kMaxCentres = std::size_t{1} << 20;

// The policy of where to look up. A lookup with the store after a miss
// costs about as much as walking kLookupVisits visits (measured); smaller
// subtrees are not stored. A point is judged every kJudgeLookups lookups
// and tried again after kRetryAfter decisions off.
constexpr uint64_t kLookupVisits = 160;
constexpr uint32_t kJudgeLookups = 64;
constexpr uint32_t kRetryAfter = 1u << 16;

uint64_t Mix(uint64_t v) {
  v = (v ^ (v >> 31)) * 0x7FB5D329728EA185ULL;
  v = (v ^ (v >> 27)) * 0x81DADEF4BC2DD44DULL;
  return v ^ (v >> 33);
}

bool SameLevels(const SearchSeed& a, const SearchSeed& b, uint32_t from, uint32_t last) {
  return std::equal(a.levels.begin() + from, a.levels.begin() + last + 1, b.levels.begin() + from);
}

// The members of point k's largest collapse the walk can try, if any.
const std::vector<uint16_t>* Reach(const LevelTables& t, const uint8_t* levels, uint32_t k) {
  if (levels[k] < t.minimum) return nullptr;
  return &t.masks->Members(k, std::min<int>(levels[k], kLargestCollapse));
}

// The largest point at or after `from` whose starting decision differs
// among the class's seeds (0: none): the key holds it until the walk has
// decided it.
uint32_t LastSeedDifference(const std::vector<SearchSeed>& seeds,
                            const std::vector<uint16_t>& seedClass, uint16_t cls, uint32_t from) {
  const SearchSeed* first = nullptr;
  uint32_t last = 0;
  for (std::size_t i = 0; i < seeds.size(); ++i) {
    if (seedClass[i] != cls) continue;
    if (first == nullptr) {
      first = &seeds[i];
      continue;
    }
    for (uint32_t p = from; p <= kPointCapacity; ++p)
      if ((seeds[i].record.decision[p] == 1) != (first->record.decision[p] == 1))
        last = std::max(last, p);
  }
  return last;
}

// Per point f: the points from f on whose collapses reach before f, and the
// key window, from the first member they reach to the last point an earlier
// decision (or the seeds) may have changed; the points after that hold
// their seed's starting decision, the same for the whole class.
void SetKeys(const LevelTables& t, const uint8_t* levels, uint32_t from, uint32_t varying,
             MemoClass& c) {
  const std::size_t points = kPointCapacity + 1;
  c.keyFirstWord.assign(points, 0);
  c.keyWordCount.assign(points, 0);
  c.forwardMasks.assign(points * kMemoKeyWords, 0);
  c.reacherBegin.assign(points + 1, 0);
  std::vector<uint32_t> least(points, kPointCapacity + 1);  // a collapse's first member
  for (uint32_t k = from; k <= t.last; ++k) {
    const std::vector<uint16_t>* members = Reach(t, levels, k);
    if (members != nullptr && !members->empty())
      least[k] = *std::min_element(members->begin(), members->end());
  }
  uint32_t reached = std::max(from, varying);
  for (uint32_t f = 0; f <= kPointCapacity; ++f) {
    c.reacherBegin[f] = static_cast<uint32_t>(c.reacherWords.size());
    if (f < from || f > t.last) continue;
    uint32_t lo = f;
    FreeSet reachers{};
    for (uint32_t k = f; k <= t.last; ++k)
      if (least[k] < f) {
        reachers[k >> 6] |= uint64_t{1} << (k & 63);
        lo = std::min(lo, least[k]);
      }
    for (uint32_t w = 0; w < kFreeWords; ++w)
      if (reachers[w] != 0) c.reacherWords.push_back({w, reachers[w]});
    const uint32_t hi = std::min<uint32_t>(std::max(reached, f), kPointCapacity);
    if (const std::vector<uint16_t>* members = Reach(t, levels, f))
      for (uint16_t m : *members) reached = std::max<uint32_t>(reached, m);
    const uint32_t firstWord = lo >> 6, words = (hi >> 6) - firstWord + 1;
    if (words > kMemoKeyWords) continue;
    c.keyFirstWord[f] = static_cast<uint16_t>(firstWord);
    c.keyWordCount[f] = static_cast<uint8_t>(words);
    for (uint32_t p = f; p <= kPointCapacity && (p >> 6) < firstWord + words; ++p)
      c.forwardMasks[f * kMemoKeyWords + (p >> 6) - firstWord] |= uint64_t{1} << (p & 63);
  }
  c.reacherBegin[points] = static_cast<uint32_t>(c.reacherWords.size());
}

}  // namespace

MemoLayout MakeMemoLayout(const LevelTables& tables, uint32_t from,
                          const std::vector<SearchSeed>& seeds, MemoUse use) {
  MemoLayout m;
  m.use = use;
  if (use == MemoUse::kOff || from == 0 || from > tables.last || tables.last > kPointCapacity)
    return m;
  std::vector<std::size_t> representative;
  for (std::size_t i = 0; i < seeds.size(); ++i) {
    if (seeds[i].levels.size() != kPointCapacity + 1) throw IndexError(i, seeds.size());
    std::size_t cls = 0;
    while (cls < representative.size() &&
           !SameLevels(seeds[representative[cls]], seeds[i], from, tables.last))
      ++cls;
    if (cls == representative.size()) representative.push_back(i);
    m.seedClass.push_back(static_cast<uint16_t>(cls));
  }
  m.classes.resize(representative.size());
  for (std::size_t cls = 0; cls < representative.size(); ++cls) {
    const uint32_t varying =
        LastSeedDifference(seeds, m.seedClass, static_cast<uint16_t>(cls), from);
    SetKeys(tables, seeds[representative[cls]].levels.data(), from, varying, m.classes[cls]);
  }
  return m;
}

std::size_t SubtreeMemo::SetBits(int walkers) {
  const std::size_t setBytes = 2 * (sizeof(MemoEntry) + sizeof(SlotTag));
  const std::size_t sets = kMemoBytes / setBytes / static_cast<std::size_t>(std::max(1, walkers));
  std::size_t bits = kFewestSetBits;
  while (bits < kMostSetBits && (std::size_t{2} << bits) <= sets) ++bits;
  return bits;
}

SubtreeMemo::SubtreeMemo(const MemoLayout& layout, std::size_t setBits)
    : layout_(layout),
      tags_(std::size_t{2} << setBits),
      entries_(std::size_t{2} << setBits),
      setMask_((std::size_t{1} << setBits) - 1),
      policy_(kPointCapacity + 1) {}

// The id and the key words, each with its own odd factor, mixed once; never
// 0, which marks an empty slot.
uint64_t SubtreeMemo::Tag(uint64_t id, const uint64_t* key, uint32_t words) {
  static constexpr uint64_t kFactors[kMemoKeyWords] = {
      0x9E3779B97F4A7C15ULL, 0xC2B2AE3D27D4EB4FULL, 0x165667B19E3779F9ULL, 0xD6E8FEB86659FD93ULL,
      0xFF51AFD7ED558CCDULL, 0xC4CEB9FE1A85EC53ULL, 0x87C37B91114253D5ULL, 0x4CF5AD432745937FULL};
  uint64_t sum = Mix(id);
  for (uint32_t k = 0; k < words; ++k) sum += (key[k] ^ (key[k] >> 29)) * kFactors[k];
  return Mix(sum) | 1;
}

const MemoEntry* SubtreeMemo::Find(uint64_t tag, uint64_t id, const uint64_t* key,
                                   uint32_t words) const {
  const std::size_t set = SetOf(tag);
  id |= uint64_t{epoch_} << 48;
  for (std::size_t k = set; k < set + 2; ++k) {
    if (tags_[k].tag != tag || tags_[k].epoch != epoch_) continue;
    const MemoEntry& e = entries_[k];
    if (e.id == id && std::memcmp(e.key, key, words * sizeof(uint64_t)) == 0) return &e;
  }
  return nullptr;
}

void SubtreeMemo::NewEpoch() {
  events_.clear();
  centres_.clear();
  if (++epoch_ == 0) {
    std::fill(tags_.begin(), tags_.end(), SlotTag{});
    epoch_ = 1;
  }
}

bool SubtreeMemo::WorthStoring(uint64_t walked) {
  return walked >= kLookupVisits;
}

void SubtreeMemo::Store(uint64_t tag, const MemoEntry& stored, const std::vector<MemoEvent>& events,
                        const std::vector<CollapseCode>& centres) {
  if (events.size() > kMaxEvents || centres.size() > kMaxCentres) return;
  if (events_.size() + events.size() > kMaxEvents || centres_.size() + centres.size() > kMaxCentres)
    NewEpoch();
  MemoEntry entry = stored;
  entry.id |= uint64_t{epoch_} << 48;
  entry.eventBegin = static_cast<uint32_t>(events_.size());
  entry.eventCount = static_cast<uint32_t>(events.size());
  const auto centreBase = static_cast<uint32_t>(centres_.size());
  for (MemoEvent e : events) {
    e.centreBegin += centreBase;
    events_.push_back(e);
  }
  centres_.insert(centres_.end(), centres.begin(), centres.end());
  // Gives way: an empty entry, one of an earlier epoch or of the same key
  // (stored under a higher bound before), or the one that saved less
  // walking.
  const std::size_t set = SetOf(tag);
  std::size_t victim = set;
  for (std::size_t k = set; k < set + 2; ++k) {
    const SlotTag& seen = tags_[k];
    if (seen.tag == 0 || seen.epoch != epoch_ ||
        (seen.tag == tag && entries_[k].id == entry.id &&
         std::memcmp(entries_[k].key, entry.key, sizeof entry.key) == 0)) {
      victim = k;
      break;
    }
    if (seen.walked < tags_[victim].walked) victim = k;
  }
  tags_[victim] = {tag, static_cast<uint32_t>(std::min<uint64_t>(entry.walked, UINT32_MAX)),
                   epoch_};
  entries_[victim] = entry;
}

bool SubtreeMemo::Worth(uint32_t f) {
  PointPolicy& p = policy_[f];
  if (p.on || layout_.use == MemoUse::kEverywhere) return true;
  if (++p.skipped < kRetryAfter) return false;
  p = PointPolicy{};
  return true;
}

void SubtreeMemo::NoteLookup(uint32_t f, bool hit, uint64_t saved) {
  ++lookups;
  hits += hit;
  PointPolicy& p = policy_[f];
  p.saved += saved;
  if (++p.lookups < kJudgeLookups) return;
  p.on = p.saved >= p.lookups * kLookupVisits;
  p.lookups = 0;
  p.saved = 0;
}

}  // namespace halvane
