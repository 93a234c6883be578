#include "timing/compare.h"

#include <gtest/gtest.h>

#include "platform/fake_platform.h"

namespace {

constexpr TimeValue D = 154'000 * TicksPerDay;
constexpr TimeValue Hour = 60 * TicksPerMinute;
constexpr TimeValue TwoSeconds = 2 * TicksPerSecond;

TEST(TruncateToDay, KeepsTheStartOfTheDayTowardZero) {
  const struct {
    TimeValue value;
    TimeValue day;
  } cases[] = {
      {0, 0},  {TicksPerDay - 1, 0},         {TicksPerDay, TicksPerDay},       {D + 23 * Hour, D},
      {-1, 0}, {-TicksPerDay, -TicksPerDay}, {-TicksPerDay - 1, -TicksPerDay},
  };
  for (const auto& c : cases) EXPECT_EQ(TruncateToDay(c.value), c.day) << c.value;
}

struct CutCase {
  TimeValue time1, time2;
  DateMode mode;
  Relation relation;
};

// The local offset is -1 h: 23:59 and 00:01 UTC on consecutive days are
// 22:59 and 23:01 on one local day.
const CutCase CutCases[] = {
    {D + 5, D + 6, DateMode::Exact, Before},
    {D + 6, D + 5, DateMode::Exact, After},
    {D + 5, D + 6, DateMode::Utc, SameTime},
    {D + 5, D + 6, DateMode::Local, SameTime},
    {D - TicksPerMinute, D + TicksPerMinute, DateMode::Exact, Before},
    {D - TicksPerMinute, D + TicksPerMinute, DateMode::Utc, Before},
    {D - TicksPerMinute, D + TicksPerMinute, DateMode::Local, SameTime},
    {D + 30 * TicksPerMinute, D + 2 * Hour, DateMode::Utc, SameTime},
    {D + 30 * TicksPerMinute, D + 2 * Hour, DateMode::Local, Before},
};

TEST(CutToDate, DateModesCompareLocalOrUtcDays) {
  for (const CutCase& c : CutCases) {
    SCOPED_TRACE(testing::Message() << "case #" << (&c - CutCases));
    FakePlatform platform(FakeSystem::Windows);
    platform.utcOffsetTicks = -Hour;
    const TimeValue time1 = CutToDate(platform, c.time1, OperandForm::Moment, c.mode);
    const TimeValue time2 = CutToDate(platform, c.time2, OperandForm::DayOfMoment, c.mode);
    if (c.mode == DateMode::Exact) {
      EXPECT_EQ(time1, c.time1);
      EXPECT_EQ(time2, c.time2);
    } else {
      EXPECT_EQ(time1 % TicksPerDay, 0);
      EXPECT_EQ(time2 % TicksPerDay, 0);
    }
    EXPECT_EQ(CompareTimes(time1, time2), c.relation);
  }
}

TEST(CutToDate, LeavesAWrittenDayAsItStands) {
  FakePlatform platform(FakeSystem::Windows);
  platform.utcOffsetTicks = -Hour;
  for (const DateMode mode : {DateMode::Local, DateMode::Utc}) {
    EXPECT_EQ(CutToDate(platform, D, OperandForm::WrittenDay, mode), D);
  }
}

constexpr DateEffect File = DateEffect::None;
constexpr DateEffect Day = DateEffect::LocalUnlessGiven;  // today, a date: day
constexpr DateEffect Moment = DateEffect::Exact;          // now, a date: moment

TEST(DecideDateMode, TheOperandsOverrideOrDefaultTheOptions) {
  using enum DateMode;
  const struct {
    DateEffect second;
    DateMode none, datelocal, dateutc;  // the mode without an option, with each
  } cases[] = {
      {File, Exact, Local, Utc},
      {Day, Local, Local, Utc},
      {Moment, Exact, Exact, Exact},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DecideDateMode(Exact, File, c.second), c.none);
    EXPECT_EQ(DecideDateMode(Local, File, c.second), c.datelocal);
    EXPECT_EQ(DecideDateMode(Utc, File, c.second), c.dateutc);
  }
}

TEST(Verdict, IsTrueExactlyWhenTheRelationIsAccepted) {
  for (const Relation relation : {SameTime, Before, After}) {
    EXPECT_EQ(Verdict(relation, 7), ExitTrue);
    EXPECT_EQ(Verdict(relation, 0), ExitFalse);
    EXPECT_EQ(Verdict(relation, relation), ExitTrue);
    EXPECT_EQ(Verdict(relation, 7 ^ relation), ExitFalse);
  }
}

TEST(WithinTolerance, SameTimeUpToTheToleranceAndAroundOneHourWithDst) {
  const struct {
    TimeValue time1, time2, tolerance;
    bool hourShift, same;
  } cases[] = {
      {D, D, 0, false, true},
      {D, D + 1, 0, false, false},
      {D, D + TwoSeconds, TwoSeconds, false, true},
      {D + TwoSeconds + 1, D, TwoSeconds, false, false},
      {INT64_MIN, INT64_MAX, INT64_MAX, false, false},
      {INT64_MIN, INT64_MAX, INT64_MAX, true, false},
      // One hour apart, either way, with the window around it.
      {D + Hour, D, 0, false, false},
      {D + Hour, D, 0, true, true},
      {D, D + Hour, 0, true, true},
      {D, D + Hour + 1, 0, true, false},
      {D, D + Hour + TwoSeconds, TwoSeconds, true, true},
      {D + Hour + TwoSeconds + 1, D, TwoSeconds, true, false},
      {D, D + Hour - TwoSeconds, TwoSeconds, true, true},
      {D, D + Hour - TwoSeconds - 1, TwoSeconds, true, false},
      {D, D + 2 * Hour, TwoSeconds, true, false},
      // A window wider than the hour reaches down to the same moment.
      {D, D + 1, Hour + 1, true, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(WithinTolerance(c.time1, c.time2, c.tolerance, c.hourShift), c.same)
        << c.time1 << " " << c.time2 << " " << c.tolerance << " " << c.hourShift;
  }
}

TEST(CompareTimes, ComparesAsSignedValues) {
  EXPECT_EQ(CompareTimes(-1, 0), Before);
  EXPECT_EQ(CompareTimes(0, -1), After);
  EXPECT_EQ(CompareTimes(INT64_MIN, INT64_MAX), Before);
  EXPECT_EQ(CompareTimes(42, 42), SameTime);
}

}  // namespace
