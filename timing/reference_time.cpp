#include "timing/reference_time.h"

#include <string_view>

#include "timing/fixed_moment.h"

namespace {

constexpr std::u16string_view InvalidExpressionPrefix = u"Invalid date/time expression: ";
constexpr size_t DatePrefixLength = 5;  // "date:"

// `now` less `count` units, held at 0 when that lies before the scale's
// start. The digits are read exactly: once the count passes the largest
// that keeps the moment on the scale, the rest only confirm it is too large.
TimeValue SubtractUnits(TimeValue now, std::u16string_view digits, TimeValue ticksPerUnit) {
  const uint64_t largestCount = now > 0 ? static_cast<uint64_t>(now / ticksPerUnit) : 0;
  uint64_t count = 0;
  for (char16_t digit : digits) {
    count = count * 10 + static_cast<uint64_t>(digit - u'0');
    if (count > largestCount) return 0;
  }
  return now - static_cast<TimeValue>(count) * ticksPerUnit;
}

// The text after the word and its minus sign; the empty text for the bare
// word. False when the character after the word is no minus sign.
bool CountText(const Text& operand, size_t wordLength, std::u16string_view& count) {
  count = std::u16string_view(operand).substr(wordLength);
  if (count.empty()) return true;
  if (count.front() != u'-') return false;
  count.remove_prefix(1);
  return true;
}

// The step that a unit letter of NOW names; 0 for any other character.
TimeValue TicksPerUnit(Platform& platform, char16_t letter) {
  Text lowered(1, letter);
  platform.LowerCase(lowered);
  switch (lowered[0]) {
    case u's': return TicksPerSecond;
    case u'm': return TicksPerMinute;
    case u'h': return TicksPerHour;
    case u'd': return TicksPerDay;
    default: return 0;
  }
}

bool EvaluateToday(const Text& operand, TimeValue now, DateMode& dateMode, TimeValue& time2) {
  if (dateMode == DateMode::Exact) dateMode = DateMode::Local;
  std::u16string_view count;
  if (!CountText(operand, 5, count) || !IsAllDigits(count)) return false;
  time2 = SubtractUnits(now, count, TicksPerDay);
  return true;
}

bool EvaluateNow(Platform& platform, const Text& operand, TimeValue now, DateMode& dateMode,
                 TimeValue& time2) {
  dateMode = DateMode::Exact;
  std::u16string_view count;
  if (!CountText(operand, 3, count)) return false;
  TimeValue step = TicksPerMinute;
  const bool unitGiven = !count.empty() && (count.back() < u'0' || count.back() > u'9');
  if (unitGiven) {
    step = TicksPerUnit(platform, count.back());
    count.remove_suffix(1);
  }
  if (step == 0 || !IsAllDigits(count)) return false;
  time2 = SubtractUnits(now, count, step);
  return true;
}

// A calendar day in local mode: the date mode converts every value with the
// offset in force now, whatever its date, so the day's start less that
// offset is what the conversion turns into the day's start.
TimeValue LocalDayValue(Platform& platform, TimeValue dayStart, TimeValue now) {
  const TimeValue value = dayStart - (platform.ToLocalTime(now) - now);
  return value > 0 ? value : 0;
}

bool EvaluateFixedMoment(Platform& platform, const Text& operand, TimeValue now, DateMode& dateMode,
                         TimeValue& time2) {
  WrittenMoment moment;
  if (!ParseWrittenMoment(std::u16string_view(operand).substr(DatePrefixLength), moment)) {
    return false;
  }
  if (!moment.hasTimeOfDay) {
    if (dateMode == DateMode::Exact) dateMode = DateMode::Local;
    time2 = dateMode == DateMode::Local ? LocalDayValue(platform, moment.clockTime, now)
                                        : moment.clockTime;
    return true;
  }
  TimeValue utc = moment.clockTime - moment.zoneOffset;
  if (!moment.hasZone && !UtcFromLocalTime(platform, moment.clockTime, utc)) return false;
  if (utc < 0) return false;
  dateMode = DateMode::Exact;
  time2 = utc;
  return true;
}

}  // namespace

ReferenceKind RecognizeReferenceTime(Platform& platform, const Text& operand) {
  // One lower-cased head serves all three prefixes.
  Text head = operand.substr(0, DatePrefixLength);
  platform.LowerCase(head);
  if (head == u"today") return ReferenceKind::Today;
  if (head.starts_with(u"now")) return ReferenceKind::Now;
  if (head == u"date:") return ReferenceKind::Date;
  return ReferenceKind::None;
}

bool IsAllDigits(std::u16string_view text) {
  for (char16_t c : text) {
    if (c < u'0' || c > u'9') return false;
  }
  return true;
}

void EvaluateReferenceTime(Platform& platform, ReferenceKind kind, const Text& operand,
                           TimeValue now, DateMode& dateMode, TimeValue& time2, Text& message) {
  bool valid = false;
  if (kind == ReferenceKind::Today) valid = EvaluateToday(operand, now, dateMode, time2);
  if (kind == ReferenceKind::Now) valid = EvaluateNow(platform, operand, now, dateMode, time2);
  if (kind == ReferenceKind::Date) {
    valid = EvaluateFixedMoment(platform, operand, now, dateMode, time2);
  }
  if (valid) return;
  message.assign(InvalidExpressionPrefix);
  message += operand;
}
