#include "timing/set_operand.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/fake_platform.h"

namespace {

constexpr TimeValue Ref = 154'000 * TicksPerDay;
constexpr TimeValue M = TicksPerMinute;

FakeListed File(const char16_t* name, TimeValue modified) {
  return {name, false, {}, {1, 1, modified}};
}
FakeListed Dir(const char16_t* name) { return {name, true, {}, {}}; }

// src: a (Ref - 5 min), b (Ref - 1 min), "hidden" .h (Ref - 2 min), a file
// whose stamp vanished, lib/ (c at Ref + 10 min, and deep/ with d at
// Ref - 1 min, the same as b), locked/ (unreadable) and gone/ (vanished).
FakePlatform MakeTree(bool reversed, bool locked) {
  FakePlatform platform(FakeSystem::Linux);
  platform.directories[u"src"].entries = {File(u"a", Ref - 5 * M),
                                          File(u"b", Ref - M),
                                          File(u".h", Ref - 2 * M),
                                          Dir(u"lib"),
                                          Dir(u"gone"),
                                          {u"v", false, ListedEntry::Stamps::Vanished, {}}};
  if (locked) platform.directories[u"src"].entries.push_back(Dir(u"locked"));
  platform.directories[u"src/lib"].entries = {File(u"c", Ref + 10 * M), Dir(u"deep")};
  platform.directories[u"src/lib/deep"].entries = {File(u"d", Ref - M)};
  platform.directories[u"src/locked"].end = ListingEnd::Unreadable;
  if (reversed) {
    for (auto& [key, directory] : platform.directories) {
      std::reverse(directory.entries.begin(), directory.entries.end());
    }
  }
  return platform;
}

struct WalkCase {
  const char16_t* operand;
  bool subfolders;
  bool locked;
  int accept;  // 0: nothing to decide against
  bool hourShift;
  TimeValue time;          // the value, when the walk gives one
  const char16_t* member;  // or the message
  bool partlyRead;
};

const WalkCase WalkCases[] = {
    {u"newest:src", false, false, 0, false, Ref - M, u"src/b", false},
    {u"oldest:src", false, false, 0, false, Ref - 5 * M, u"src/a", false},
    {u"newest:src", true, false, 0, false, Ref + 10 * M, u"src/lib/c", false},
    {u"oldest:src", true, false, 0, false, Ref - 5 * M, u"src/a", false},
    // An unreadable part is the answer's error unless the answer is decided.
    {u"newest:src", true, true, 0, false, 0, u"Cannot read: src/locked", false},
    // c decides "before" (false) and "after" (true); with /dst a member an
    // hour after Ref would be the same time, so "after" is open.
    {u"newest:src", true, true, Before, false, Ref + 10 * M, u"src/lib/c", true},
    {u"newest:src", true, true, After, false, Ref + 10 * M, u"src/lib/c", true},
    {u"newest:src", true, true, After, true, 0, u"Cannot read: src/locked", false},
    {u"newest:empty", true, false, 0, false, 0, u"No files in: newest:empty", false},
};

TEST(WalkSet, GivesTheExtremeAndItsMemberWhateverTheListingOrder) {
  for (const WalkCase& c : WalkCases) {
    for (const bool reversed : {false, true}) {
      SCOPED_TRACE(testing::Message() << "case #" << (&c - WalkCases) << " reversed " << reversed);
      FakePlatform platform = MakeTree(reversed, c.locked);
      platform.directories[u"empty"].entries = {Dir(u"sub")};
      platform.directories[u"empty/sub"] = {};
      OperandValue ref;
      ref.time = Ref;
      const ComparisonRule rule{DateMode::Exact, c.accept, 0, c.hourShift};
      const VerdictProbe probe = MakeVerdictProbe(platform, ref, true, rule);
      SetWalk walk{c.operand,    RecognizeSetOperand(platform, c.operand), StampKind::Modified,
                   c.subfolders, c.accept == 0 ? nullptr : &probe,         false};
      const OperandValue value = WalkSet(platform, walk);
      if (c.time == 0) {
        EXPECT_EQ(value.message, c.member);
        continue;
      }
      EXPECT_EQ(value.message, u"");
      EXPECT_EQ(value.time, c.time);
      EXPECT_EQ(value.member, c.member);
      EXPECT_EQ(value.partlyRead, c.partlyRead);
    }
  }
}

// b, bb and lib/deep/d have the same value: the smaller path below src
// names it, a name that is a prefix of another being the smaller.
TEST(WalkSet, NamesTheSmallestPathAmongEqualValues) {
  for (const bool reversed : {false, true}) {
    FakePlatform platform = MakeTree(reversed, false);
    platform.directories[u"src/lib"].entries = {Dir(u"deep")};
    platform.directories[u"src"].entries.push_back(File(u"z", Ref - M));
    platform.directories[u"src"].entries.insert(
        platform.directories[u"src"].entries.begin() + (reversed ? 0 : 6), File(u"bb", Ref - M));
    SetWalk walk{u"newest:src",
                 RecognizeSetOperand(platform, u"newest:src"),
                 StampKind::Modified,
                 true,
                 nullptr,
                 false};
    EXPECT_EQ(WalkSet(platform, walk).member, u"src/b") << reversed;
  }
}

// "Is anything newer than Ref" is decided by c; with /dst a member an hour
// after Ref would be the same time, so the walk reads on.
TEST(WalkSet, StopsOnceDecidedButNotWhereAnHourShiftCouldStillMatch) {
  for (const bool hourShift : {false, true}) {
    FakePlatform platform = MakeTree(false, false);
    std::swap(platform.directories[u"src"].entries[0], platform.directories[u"src"].entries[3]);
    OperandValue ref;
    ref.time = Ref;
    const VerdictProbe probe =
        MakeVerdictProbe(platform, ref, true, {DateMode::Exact, After, 0, hourShift});
    SetWalk walk{u"newest:src",
                 RecognizeSetOperand(platform, u"newest:src"),
                 StampKind::Modified,
                 true,
                 &probe,
                 true};
    EXPECT_EQ(WalkSet(platform, walk).time, Ref + 10 * M);
    const bool deepListed = std::count(platform.directoriesListed.begin(),
                                       platform.directoriesListed.end(), u"src/lib/deep") == 1;
    EXPECT_EQ(deepListed, hourShift);
  }
}

TEST(WalkSet, ReportsAMemberWithoutTheStamp) {
  FakePlatform platform = MakeTree(false, false);
  SetWalk walk{u"newest:src",
               RecognizeSetOperand(platform, u"newest:src"),
               StampKind::Created,
               false,
               nullptr,
               false};
  platform.directories[u"src"].entries[1].stamps.created = 0;
  EXPECT_EQ(WalkSet(platform, walk).message, u"Not found or invalid: src/b");
}

}  // namespace
