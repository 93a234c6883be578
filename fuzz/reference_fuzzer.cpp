// Reference-time expressions and the arithmetic behind the verdict and the
// debug report, for any operand text, any current time and any UTC offset.
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_support.h"
#include "platform/fake_platform.h"
#include "report/debug_report.h"
#include "timing/compare.h"
#include "timing/reference_time.h"

namespace {

// The exact difference in whole units, for differences a double holds
// exactly (below 2^53 ticks).
bool ExactUnits(TimeValue time1, TimeValue time2, int64_t ticksPerUnit, uint64_t& units) {
  __int128 difference = static_cast<__int128>(time2) - time1;
  if (difference < 0) difference = -difference;
  if (difference >= (static_cast<__int128>(1) << 53)) return false;
  units = static_cast<uint64_t>(difference / ticksPerUnit);
  return true;
}

Text DecimalText(uint64_t value) {
  Text digits;
  do {
    digits.insert(digits.begin(), static_cast<char16_t>(u'0' + value % 10));
    value /= 10;
  } while (value != 0);
  return digits;
}

// The value of an expression operand, checked; a file's stamp
// `stampInput` for any other operand and for a malformed expression.
OperandValue CheckExpression(FakePlatform& platform, const Text& operand, TimeValue now,
                             TimeValue stampInput) {
  const ReferenceKind kind = RecognizeReferenceTime(platform, operand);
  if (kind == ReferenceKind::None)
    return ValueOf(stampInput, OperandForm::Moment, DateEffect::None);
  OperandValue value = EvaluateReferenceTime(platform, kind, operand, now);
  if (value.Failed()) {
    Require(value.message == u"Invalid date/time expression: " + operand,
            "wrong expression message");
    return ValueOf(stampInput, OperandForm::Moment, DateEffect::None);
  }
  // TODAY and a calendar day (date:YYYY-MM-DD) compare days; the rest time.
  const bool days =
      kind == ReferenceKind::Today || (kind == ReferenceKind::Date && operand.size() == 15);
  Require(value.IsDay() == days, "day or moment");
  Require(value.dateEffect == (days ? DateEffect::LocalUnlessGiven : DateEffect::Exact),
          "date effect");
  if (kind == ReferenceKind::Date) Require(value.time >= 0, "fixed moment before 1601");
  if (kind != ReferenceKind::Date && now >= 0) {
    Require(value.time >= 0 && value.time <= now, "time2 outside [0, now]");
  }
  return value;
}

void CheckDifferenceLine(Relation relation, TimeValue time1, TimeValue time2, DateMode mode) {
  const Text line = FormatDifferenceLine(relation, time1, time2, mode);
  const bool days = mode != DateMode::Exact;
  Require(line.rfind(u"Diff: ", 0) == 0, "difference line prefix");
  size_t end = 6;
  while (end < line.size() && line[end] >= u'0' && line[end] <= u'9') ++end;
  Require(end > 6 && end - 6 <= 20, "difference without digits");
  const Text number = line.substr(6, end - 6);
  Text expected = number + (days ? u" days" : u" seconds");
  if (number != u"0") expected += relation == Before ? u" before" : u" after";
  Require(line.substr(6) == expected, "difference line shape");
  uint64_t units = 0;
  if (ExactUnits(time1, time2, days ? TicksPerDay : TicksPerSecond, units)) {
    Require(number == DecimalText(units), "difference not exact below 2^53 ticks");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ByteReader reader{data, size};
  const TimeValue now = reader.Int64();
  const TimeValue time1Input = reader.Int64();
  FakePlatform platform(FakeSystem::Windows);
  platform.utcOffsetTicks = reader.Int64() % (TicksPerSecond * 3600 * 15);
  const uint8_t choice = reader.Byte();
  // A prefix that makes the operand an expression more often than chance.
  Text operand = (choice & 0x30) == 0x30 ? Text(u"date:")
                 : (choice & 0x10)       ? Text(u"today-")
                 : (choice & 0x20)       ? Text(u"now-")
                                         : Text();
  operand += reader.RestAsText();

  const DateMode option = static_cast<DateMode>(choice % 3);
  const OperandValue second = CheckExpression(platform, operand, now, reader.size % 2 ? now : 0);
  const DateMode mode = DecideDateMode(option, DateEffect::None, second.dateEffect);
  const TimeValue time1 = CutToDate(platform, time1Input, OperandForm::Moment, mode);
  const TimeValue time2 = CutToDate(platform, second.time, second.form, mode);
  if (mode == DateMode::Exact) {
    Require(time1 == time1Input && time2 == second.time, "exact mode changed a value");
  } else {
    Require(time1 % TicksPerDay == 0 && time2 % TicksPerDay == 0, "date mode left a time of day");
  }
  const Relation relation = CompareTimes(time1, time2);
  Require(relation == (time1 == time2 ? SameTime : time1 < time2 ? Before : After), "relation");
  const int acceptMask = (choice >> 2) & 7;
  Require(Verdict(relation, acceptMask) == ((relation & acceptMask) ? ExitTrue : ExitFalse),
          "verdict");
  CheckDifferenceLine(relation, time1, time2, mode);
  return 0;
}
