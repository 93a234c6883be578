#include "timing/reference_time.h"

#include <string_view>

namespace {

constexpr std::u16string_view InvalidExpressionPrefix = u"Invalid date/time expression: ";

bool StartsWithLowered(Platform& platform, const Text& operand, std::u16string_view word) {
  Text head = operand.substr(0, word.size());
  platform.LowerCase(head);
  return head == word;
}

// `now` less `count` units, held at 0 when that lies before the scale's
// start. The digits are read exactly: once the count passes the largest
// that keeps the moment on the scale, the rest only confirm it is too large.
TimeValue SubtractUnits(TimeValue now, const Text& digits, TimeValue ticksPerUnit) {
  const uint64_t largestCount = now > 0 ? static_cast<uint64_t>(now / ticksPerUnit) : 0;
  uint64_t count = 0;
  for (char16_t digit : digits) {
    count = count * 10 + static_cast<uint64_t>(digit - u'0');
    if (count > largestCount) return 0;
  }
  return now - static_cast<TimeValue>(count) * ticksPerUnit;
}

}  // namespace

ReferenceKind RecognizeReferenceTime(Platform& platform, const Text& operand) {
  if (StartsWithLowered(platform, operand, u"today")) return ReferenceKind::Today;
  if (StartsWithLowered(platform, operand, u"now")) return ReferenceKind::Now;
  return ReferenceKind::None;
}

bool IsAllDigits(std::u16string_view text) {
  for (char16_t c : text) {
    if (c < u'0' || c > u'9') return false;
  }
  return true;
}

void EvaluateReferenceTime(ReferenceKind kind, const Text& operand, TimeValue now,
                           DateMode& dateMode, TimeValue& time2, Text& message) {
  const bool today = kind == ReferenceKind::Today;
  const size_t wordLength = today ? 5 : 3;
  if (today) {
    if (dateMode == DateMode::Exact) dateMode = DateMode::Local;
  } else {
    dateMode = DateMode::Exact;
  }
  if (operand.size() == wordLength) {
    time2 = now;
    return;
  }
  const Text digits = operand.substr(wordLength + 1);
  if (operand[wordLength] != u'-' || !IsAllDigits(digits)) {
    message.assign(InvalidExpressionPrefix);
    message += operand;
    return;
  }
  time2 = SubtractUnits(now, digits, today ? TicksPerDay : TicksPerMinute);
}
