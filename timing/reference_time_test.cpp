#include "timing/reference_time.h"

#include <gtest/gtest.h>

#include "platform/fake_platform.h"

namespace {

TEST(RecognizeReferenceTime, LooksOnlyAtTheLowerCasedPrefix) {
  const struct {
    const char16_t* operand;
    ReferenceKind kind;
  } cases[] = {
      {u"TODAY", ReferenceKind::Today},       {u"Today-3", ReferenceKind::Today},
      {u"todays.txt", ReferenceKind::Today},  {u"today.txt", ReferenceKind::Today},
      {u"NOW-90", ReferenceKind::Now},        {u"now", ReferenceKind::Now},
      {u"nowhere.txt", ReferenceKind::Now},   {u"tod", ReferenceKind::None},
      {u"no", ReferenceKind::None},           {u"", ReferenceKind::None},
      {u".\\today.txt", ReferenceKind::None}, {u"know", ReferenceKind::None},
      {u"DATE:x", ReferenceKind::Date},       {u"dates.txt", ReferenceKind::None},
  };
  FakePlatform platform;
  for (const auto& c : cases) {
    EXPECT_EQ(RecognizeReferenceTime(platform, c.operand), c.kind)
        << testing::PrintToString(Text(c.operand));
  }
}

TEST(IsAllDigits, AcceptsOnlyAsciiDigitsAndTheEmptyText) {
  for (const char16_t* text : {u"", u"0", u"0123456789"}) EXPECT_TRUE(IsAllDigits(text));
  for (const char16_t* text : {u"12a", u"-1", u" 1", u"1.5", u"/", u":", u"\uFF11"}) {
    EXPECT_FALSE(IsAllDigits(text)) << testing::PrintToString(Text(text));
  }
}

constexpr TimeValue Now = 200'000 * TicksPerDay + 12'345;
constexpr TimeValue Untouched = -7;
constexpr TimeValue H = TicksPerHour;
constexpr TimeValue June15 = 155'393 * TicksPerDay;  // 2026-06-15

struct EvaluateCase {
  Text operand;
  DateMode modeBefore;
  DateMode modeAfter;
  TimeValue time2;
  bool valid;
};

const EvaluateCase EvaluateCases[] = {
    {u"today", DateMode::Exact, DateMode::Local, Now, true},
    {u"TODAY", DateMode::Utc, DateMode::Utc, Now, true},
    {u"Today-3", DateMode::Exact, DateMode::Local, Now - 3 * TicksPerDay, true},
    {u"today-", DateMode::Local, DateMode::Local, Now, true},
    {u"today-007", DateMode::Exact, DateMode::Local, Now - 7 * TicksPerDay, true},
    {u"today-200000", DateMode::Exact, DateMode::Local, 12'345, true},
    {u"today-200001", DateMode::Exact, DateMode::Local, 0, true},
    {u"today-99999999999", DateMode::Exact, DateMode::Local, 0, true},
    {u"today-" + Text(40, u'9'), DateMode::Exact, DateMode::Local, 0, true},
    {u"today-" + Text(30, u'0') + u"2", DateMode::Exact, DateMode::Local, Now - 2 * TicksPerDay,
     true},
    {u"now", DateMode::Local, DateMode::Exact, Now, true},
    {u"NOW-90", DateMode::Utc, DateMode::Exact, Now - 90 * TicksPerMinute, true},
    {u"now-", DateMode::Exact, DateMode::Exact, Now, true},
    {u"now-288000000", DateMode::Exact, DateMode::Exact, 12'345, true},
    {u"now-288000001", DateMode::Exact, DateMode::Exact, 0, true},
    {u"now-1" + Text(39, u'0'), DateMode::Exact, DateMode::Exact, 0, true},
    {u"today+1", DateMode::Exact, DateMode::Local, Untouched, false},
    {u"today-1.5", DateMode::Exact, DateMode::Local, Untouched, false},
    {u"today-x", DateMode::Exact, DateMode::Local, Untouched, false},
    {u"today 8", DateMode::Exact, DateMode::Local, Untouched, false},
    {u"today8", DateMode::Exact, DateMode::Local, Untouched, false},
    {u"todays.txt", DateMode::Exact, DateMode::Local, Untouched, false},
    {u"today--1", DateMode::Exact, DateMode::Local, Untouched, false},
    {u"now-x", DateMode::Exact, DateMode::Exact, Untouched, false},
    {u"now+5", DateMode::Exact, DateMode::Exact, Untouched, false},
    {u"nowhere.txt", DateMode::Exact, DateMode::Exact, Untouched, false},
    {u"now-90s", DateMode::Exact, DateMode::Exact, Now - 90 * TicksPerSecond, true},
    {u"NOW-2H", DateMode::Local, DateMode::Exact, Now - 2 * H, true},
    {u"now-7d", DateMode::Exact, DateMode::Exact, Now - 7 * TicksPerDay, true},
    {u"now-h", DateMode::Exact, DateMode::Exact, Now, true},
    {u"now-9999999999999999d", DateMode::Exact, DateMode::Exact, 0, true},
    {u"now-2x", DateMode::Exact, DateMode::Exact, Untouched, false},
    {u"now-2hs", DateMode::Exact, DateMode::Exact, Untouched, false},
    {u"today-2d", DateMode::Exact, DateMode::Local, Untouched, false},
    // In a zone of +1 h all year. A day in local mode comes less the offset
    // of now, held at 0.
    {u"date:2026-06-15", DateMode::Exact, DateMode::Local, June15 - H, true},
    {u"DATE:2026-06-15", DateMode::Utc, DateMode::Utc, June15, true},
    {u"date:1601-01-01", DateMode::Local, DateMode::Local, 0, true},
    {u"date:2026-06-15T12:00", DateMode::Local, DateMode::Exact, June15 + 11 * H, true},
    {u"date:2026-06-15T12:00+02:00", DateMode::Utc, DateMode::Exact, June15 + 10 * H, true},
    {u"date:1601-01-01T00:00-01:00", DateMode::Exact, DateMode::Exact, H, true},
    {u"date:1601-01-01T00:30", DateMode::Exact, DateMode::Exact, Untouched, false},
    {u"date:2026-02-29", DateMode::Exact, DateMode::Local, Untouched, false},
};

TEST(EvaluateReferenceTime, GivesTime2AndTheDateModeOrTheMessage) {
  for (const EvaluateCase& c : EvaluateCases) {
    SCOPED_TRACE(testing::PrintToString(c.operand));
    FakePlatform platform;
    platform.utcOffsetTicks = H;
    const ReferenceKind kind = RecognizeReferenceTime(platform, c.operand);
    ASSERT_NE(kind, ReferenceKind::None);
    DateMode mode = c.modeBefore;
    TimeValue time2 = Untouched;
    Text message;
    EvaluateReferenceTime(platform, kind, c.operand, Now, mode, time2, message);
    EXPECT_EQ(time2, c.time2);
    if (c.valid) {
      EXPECT_EQ(message, u"");
      EXPECT_EQ(mode, c.modeAfter);
    } else {
      EXPECT_EQ(message, u"Invalid date/time expression: " + c.operand);
    }
  }
}

}  // namespace
