// The level-2 memo's table: what it finds is always the outcome stored
// under the same key, whatever the hashes do; and what gives way when a
// slot or an arena is full.
#include <gtest/gtest.h>

#include "optimize/subtree_memo.h"
#include "optimize/subtree_walk.h"

namespace halvane {
namespace {

class MemoTable : public ::testing::Test {
 protected:
  // An entry of point 300 with `run`, keyed by two words, that saved
  // `walked` visits.
  static MemoEntry Entry(int32_t run, uint64_t a, uint64_t b, uint64_t walked) {
    MemoEntry e;
    e.id = SubtreeMemo::Id(300, run, 0);
    e.key[0] = a;
    e.key[1] = b;
    e.visits = walked + 7;
    e.walked = walked;
    return e;
  }
  const MemoEntry* Find(uint64_t tag, const MemoEntry& like) const {
    return memo.Find(tag, like.id, like.key, 2);
  }

  const MemoLayout layout = [] {
    MemoLayout l;
    l.use = MemoUse::kEverywhere;
    return l;
  }();
  SubtreeMemo memo{layout, 10};
  std::vector<MemoEvent> noEvents;
  std::vector<CollapseCode> noCentres;
};

// Whatever tags the keys get, a lookup finds only its own key, point,
// running count and class.
TEST_F(MemoTable, SharedTagsNeverFindAnotherKeysOutcome) {
  const uint64_t tag = 0x1234567;  // every entry below in one slot
  const MemoEntry a = Entry(150, 1, 2, 500), b = Entry(150, 1, 3, 900);
  memo.Store(tag, a, noEvents, noCentres);
  memo.Store(tag, b, noEvents, noCentres);
  ASSERT_NE(Find(tag, a), nullptr);
  EXPECT_EQ(Find(tag, a)->visits, 507u);
  ASSERT_NE(Find(tag, b), nullptr);
  EXPECT_EQ(Find(tag, b)->visits, 907u);
  EXPECT_EQ(Find(tag, Entry(151, 1, 2, 0)), nullptr) << "another running count";
  MemoEntry otherClass = a;
  otherClass.id = SubtreeMemo::Id(300, 150, 1);
  EXPECT_EQ(Find(tag, otherClass), nullptr);
  EXPECT_EQ(Find(tag ^ 2, a), nullptr) << "another slot";

  // A third key in the full slot takes the place of the one that saved less.
  const MemoEntry c = Entry(150, 4, 4, 700);
  memo.Store(tag, c, noEvents, noCentres);
  EXPECT_EQ(Find(tag, a), nullptr);
  EXPECT_NE(Find(tag, b), nullptr);
  EXPECT_NE(Find(tag, c), nullptr);
  // The same key again replaces its entry: one stored under a lower bound.
  MemoEntry lower = c;
  lower.boundEnd = 99;
  memo.Store(tag, lower, noEvents, noCentres);
  ASSERT_NE(Find(tag, c), nullptr);
  EXPECT_EQ(Find(tag, c)->boundEnd, 99u);
  EXPECT_NE(Find(tag, b), nullptr);
}

// Leaf candidates are kept with their paths; when their arena is full every
// entry is dropped at once, never one whose events were overwritten.
TEST_F(MemoTable, EventsStayWithTheirEntryUntilTheArenaIsFull) {
  // skipped, skippedMin, run, lightsAdded, centreBegin, centreCount
  const std::vector<MemoEvent> events = {{3, 170, 120, -4, 0, 2}, {0, kNoRejection, 125, -2, 2, 1}};
  const std::vector<CollapseCode> centres = {EncodeCollapse(310, 3), EncodeCollapse(330, 4),
                                             EncodeCollapse(340, 3)};
  const MemoEntry a = Entry(150, 1, 2, 500);
  memo.Store(11, a, events, centres);
  const MemoEntry* found = Find(11, a);
  ASSERT_NE(found, nullptr);
  ASSERT_EQ(found->eventCount, 2u);
  const MemoEvent& second = memo.Events(*found)[1];
  EXPECT_EQ(second.run, 125);
  ASSERT_EQ(second.centreCount, 1u);
  EXPECT_EQ(memo.Centres(second)[0], EncodeCollapse(340, 3));

  // 2^16 events fill the arena: the next store starts a new one.
  const std::vector<MemoEvent> many(1 << 15, events[1]);
  const std::vector<CollapseCode> manyCentres(1 << 15, centres[0]);
  memo.Store(12, Entry(150, 5, 5, 10), many, manyCentres);
  EXPECT_NE(Find(11, a), nullptr);
  memo.Store(13, Entry(150, 6, 6, 10), many, manyCentres);
  EXPECT_EQ(Find(11, a), nullptr) << "dropped with its arena";
  EXPECT_NE(Find(13, Entry(150, 6, 6, 10)), nullptr);
}

}  // namespace
}  // namespace halvane
