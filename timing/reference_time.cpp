#include "timing/reference_time.h"

#include <string_view>

#include "base/messages.h"
#include "timing/fixed_moment.h"

namespace {

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

OperandValue EvaluateToday(const Text& operand, TimeValue now) {
  std::u16string_view count;
  if (!CountText(operand, 5, count) || !IsAllDigits(count)) {
    return FailedOperand(InvalidExpressionPrefix, operand);
  }
  return ValueOf(SubtractUnits(now, count, TicksPerDay), OperandForm::DayOfMoment,
                 DateEffect::LocalUnlessGiven);
}

OperandValue EvaluateNow(Platform& platform, const Text& operand, TimeValue now) {
  std::u16string_view count;
  if (!CountText(operand, 3, count)) return FailedOperand(InvalidExpressionPrefix, operand);
  TimeValue step = TicksPerMinute;
  const bool unitGiven = !count.empty() && (count.back() < u'0' || count.back() > u'9');
  if (unitGiven) {
    step = TicksPerUnit(platform, count.back());
    count.remove_suffix(1);
  }
  if (step == 0 || !IsAllDigits(count)) return FailedOperand(InvalidExpressionPrefix, operand);
  return ValueOf(SubtractUnits(now, count, step), OperandForm::Moment, DateEffect::Exact);
}

OperandValue EvaluateFixedMoment(Platform& platform, const Text& operand) {
  WrittenMoment moment;
  if (!ParseWrittenMoment(std::u16string_view(operand).substr(DatePrefixLength), moment)) {
    return FailedOperand(InvalidExpressionPrefix, operand);
  }
  if (!moment.hasTimeOfDay) {
    return ValueOf(moment.clockTime, OperandForm::WrittenDay, DateEffect::LocalUnlessGiven);
  }
  TimeValue utc = moment.clockTime - moment.zoneOffset;
  if ((!moment.hasZone && !UtcFromLocalTime(platform, moment.clockTime, utc)) || utc < 0) {
    return FailedOperand(InvalidExpressionPrefix, operand);
  }
  return ValueOf(utc, OperandForm::Moment, DateEffect::Exact);
}

OperandValue EvaluateReferenceTime(Platform& platform, ReferenceKind kind, const Text& operand,
                                   TimeValue now) {
  switch (kind) {
    case ReferenceKind::Today: return EvaluateToday(operand, now);
    case ReferenceKind::Now: return EvaluateNow(platform, operand, now);
    case ReferenceKind::Date: return EvaluateFixedMoment(platform, operand);
    case ReferenceKind::None: break;
  }
  return FailedOperand(InvalidExpressionPrefix, operand);
}
