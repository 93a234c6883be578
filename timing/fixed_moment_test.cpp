#include "timing/fixed_moment.h"

#include <gtest/gtest.h>

#include "platform/fake_platform.h"

namespace {

constexpr TimeValue H = TicksPerHour;
constexpr TimeValue S = TicksPerSecond;
constexpr TimeValue June15 = 155'393 * TicksPerDay;  // 2026-06-15, counted independently
constexpr TimeValue March29 = 155'315 * TicksPerDay;
constexpr TimeValue October25 = 155'525 * TicksPerDay;

struct MomentCase {
  const char16_t* text;
  TimeValue clockTime;
  bool hasZone = false;
  int64_t zoneOffset = 0;
};

const MomentCase MomentCases[] = {
    {u"2026-06-15", June15},
    {u"1601-01-01", 0},
    {u"2024-02-29", 154'556 * TicksPerDay},
    {u"2000-02-29", 145'790 * TicksPerDay},
    {u"9999-12-31T23:59:59.9999999", 3'067'671 * TicksPerDay - 1},
    {u"2026-06-15t10:00:30", June15 + 10 * H + 30 * S},
    {u"2026-06-15 10:00:00.5", June15 + 10 * H + S / 2},
    {u"2026-06-15T10:00Z", June15 + 10 * H, true},
    {u"2026-06-15T10:00:00.0000001Z", June15 + 10 * H + 1, true},
    {u"2026-06-15T12:00+02:00", June15 + 12 * H, true, 2 * H},
    {u"2026-06-15T00:00-23:59", June15, true, -(24 * H - 60 * S)},
};

TEST(ParseWrittenMoment, ReadsEachValidForm) {
  for (const MomentCase& c : MomentCases) {
    SCOPED_TRACE(testing::PrintToString(Text(c.text)));
    WrittenMoment moment;
    ASSERT_TRUE(ParseWrittenMoment(c.text, moment));
    EXPECT_EQ(moment.clockTime, c.clockTime);
    EXPECT_EQ(moment.hasTimeOfDay, Text(c.text).size() > 10);
    EXPECT_EQ(moment.hasZone, c.hasZone);
    EXPECT_EQ(moment.zoneOffset, c.zoneOffset);
  }
}

const char16_t* const MalformedDays[] = {
    u"",           u"2026-6-15",  u"26-06-15",       u"1600-12-31", u"10000-01-01",
    u"2026-02-29", u"1900-02-29", u"2026-04-31",     u"2026-13-01", u"2026-00-10",
    u"2026-06-00", u"2026/06/15", u"\uFF12026-06-15"};
// Each after 2026-06-15.
const char16_t* const MalformedTimes[] = {
    u" ",           u"T",           u"X10:00",      u"  10:00",           u"T10",
    u"T1:00",       u"T24:00",      u"T10:60",      u"T10:00:60",         u"T10:00:00.",
    u"T10:00.5",    u"T10:00z",     u"T10:00Z ",    u"T10:00+24:00",      u"T10:00+02:60",
    u"T10:00+0200", u"T10:00+2:00", u"T10:00:00,5", u"T10:00:00.12345678"};

TEST(ParseWrittenMoment, RefusesEveryOtherText) {
  WrittenMoment moment;
  for (const char16_t* text : MalformedDays) {
    EXPECT_FALSE(ParseWrittenMoment(text, moment)) << testing::PrintToString(Text(text));
  }
  for (const char16_t* time : MalformedTimes) {
    const Text text = u"2026-06-15" + Text(time);
    EXPECT_FALSE(ParseWrittenMoment(text, moment)) << testing::PrintToString(text);
  }
}

constexpr TimeValue Skipped = -1;

// Local clock times in a zone of +1 h that runs at +2 h from 29 March
// 01:00 UTC (02:00 local jumps to 03:00) to 25 October 01:00 UTC (03:00
// local falls back to 02:00), and the UTC moments they name.
const struct {
  TimeValue clockTime;
  TimeValue utc;
} LocalCases[] = {
    {June15 + 12 * H, June15 + 10 * H},     {March29 + H / 2, March29 - H / 2},
    {March29 + 2 * H - 1, March29 + H - 1}, {March29 + 2 * H, Skipped},
    {March29 + 5 * H / 2, Skipped},         {March29 + 3 * H, March29 + H},
    {October25 + 2 * H, October25},         {October25 + 5 * H / 2, October25 + H / 2},
    {October25 + 3 * H, October25 + 2 * H}, {H / 2, -H / 2},
};

TEST(UtcFromLocalTime, SkippedTimesFailAndRepeatedOnesGiveTheEarlierMoment) {
  FakePlatform platform(FakeSystem::Windows);
  platform.utcOffsetTicks = H;
  platform.offsetChanges = {{March29 + H, 2 * H}, {October25 + H, H}};
  for (const auto& c : LocalCases) {
    SCOPED_TRACE(testing::Message() << "case #" << (&c - LocalCases));
    TimeValue utc = Skipped;
    EXPECT_EQ(UtcFromLocalTime(platform, c.clockTime, utc), c.utc != Skipped);
    EXPECT_EQ(utc, c.utc);
  }
}

}  // namespace
