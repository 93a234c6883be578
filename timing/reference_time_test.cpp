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
  FakePlatform platform(FakeSystem::Windows);
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

constexpr OperandForm Moment = OperandForm::Moment;
constexpr OperandForm Day = OperandForm::DayOfMoment;
constexpr OperandForm WrittenDay = OperandForm::WrittenDay;
constexpr DateEffect Local = DateEffect::LocalUnlessGiven;
constexpr DateEffect Exact = DateEffect::Exact;

struct EvaluateCase {
  Text operand;
  OperandForm form;
  DateEffect effect;
  TimeValue time;
  bool valid;
};

const EvaluateCase EvaluateCases[] = {
    {u"today", Day, Local, Now, true},
    {u"TODAY", Day, Local, Now, true},
    {u"Today-3", Day, Local, Now - 3 * TicksPerDay, true},
    {u"today-", Day, Local, Now, true},
    {u"today-007", Day, Local, Now - 7 * TicksPerDay, true},
    {u"today-200000", Day, Local, 12'345, true},
    {u"today-200001", Day, Local, 0, true},
    {u"today-99999999999", Day, Local, 0, true},
    {u"today-" + Text(40, u'9'), Day, Local, 0, true},
    {u"today-" + Text(30, u'0') + u"2", Day, Local, Now - 2 * TicksPerDay, true},
    {u"now", Moment, Exact, Now, true},
    {u"NOW-90", Moment, Exact, Now - 90 * TicksPerMinute, true},
    {u"now-", Moment, Exact, Now, true},
    {u"now-288000000", Moment, Exact, 12'345, true},
    {u"now-288000001", Moment, Exact, 0, true},
    {u"now-1" + Text(39, u'0'), Moment, Exact, 0, true},
    {u"today+1", Day, Local, Untouched, false},
    {u"today-1.5", Day, Local, Untouched, false},
    {u"today-x", Day, Local, Untouched, false},
    {u"today 8", Day, Local, Untouched, false},
    {u"today8", Day, Local, Untouched, false},
    {u"todays.txt", Day, Local, Untouched, false},
    {u"today--1", Day, Local, Untouched, false},
    {u"now-x", Moment, Exact, Untouched, false},
    {u"now+5", Moment, Exact, Untouched, false},
    {u"nowhere.txt", Moment, Exact, Untouched, false},
    {u"now-90s", Moment, Exact, Now - 90 * TicksPerSecond, true},
    {u"NOW-2H", Moment, Exact, Now - 2 * H, true},
    {u"now-7d", Moment, Exact, Now - 7 * TicksPerDay, true},
    {u"now-h", Moment, Exact, Now, true},
    {u"now-9999999999999999d", Moment, Exact, 0, true},
    {u"now-2x", Moment, Exact, Untouched, false},
    {u"now-2hs", Moment, Exact, Untouched, false},
    {u"today-2d", Day, Local, Untouched, false},
    // In a zone of +1 h all year. A day stays the day it names.
    {u"date:2026-06-15", WrittenDay, Local, June15, true},
    {u"DATE:2026-06-15", WrittenDay, Local, June15, true},
    {u"date:1601-01-01", WrittenDay, Local, 0, true},
    {u"date:2026-06-15T12:00", Moment, Exact, June15 + 11 * H, true},
    {u"date:2026-06-15T12:00+02:00", Moment, Exact, June15 + 10 * H, true},
    {u"date:1601-01-01T00:00-01:00", Moment, Exact, H, true},
    {u"date:1601-01-01T00:30", Moment, Exact, Untouched, false},
    {u"date:2026-02-29", WrittenDay, Local, Untouched, false},
};

TEST(EvaluateReferenceTime, GivesTheValueItsFormAndDateEffectOrTheMessage) {
  for (const EvaluateCase& c : EvaluateCases) {
    SCOPED_TRACE(testing::PrintToString(c.operand));
    FakePlatform platform(FakeSystem::Windows);
    platform.utcOffsetTicks = H;
    const ReferenceKind kind = RecognizeReferenceTime(platform, c.operand);
    ASSERT_NE(kind, ReferenceKind::None);
    const OperandValue value = EvaluateReferenceTime(platform, kind, c.operand, Now);
    if (c.valid) {
      EXPECT_EQ(value.message, u"");
      EXPECT_EQ(value.time, c.time);
      EXPECT_EQ(value.form, c.form);
      EXPECT_EQ(value.dateEffect, c.effect);
    } else {
      EXPECT_EQ(value.message, u"Invalid date/time expression: " + c.operand);
    }
  }
}

}  // namespace
