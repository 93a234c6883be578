#include "timing/compare.h"

TimeValue TruncateToDay(TimeValue value) { return value / TicksPerDay * TicksPerDay; }

DateMode DecideDateMode(DateMode option, DateEffect first, DateEffect second) {
  if (first == DateEffect::Exact || second == DateEffect::Exact) return DateMode::Exact;
  const bool dayNamed =
      first == DateEffect::LocalUnlessGiven || second == DateEffect::LocalUnlessGiven;
  return dayNamed && option == DateMode::Exact ? DateMode::Local : option;
}

TimeValue CutToDate(Platform& platform, TimeValue value, OperandForm form, DateMode mode) {
  if (mode == DateMode::Exact || form == OperandForm::WrittenDay) return value;
  if (mode == DateMode::Local) value = platform.ToLocalTime(value);
  return TruncateToDay(value);
}

Relation CompareTimes(TimeValue time1, TimeValue time2) {
  if (time1 == time2) return SameTime;
  return time1 < time2 ? Before : After;
}

namespace {

// FAT keeps local time, so after a change of daylight saving every
// unchanged copy reads exactly one hour off.
constexpr uint64_t OneHour = 60 * TicksPerMinute;

}  // namespace

bool WithinTolerance(TimeValue time1, TimeValue time2, TimeValue tolerance, bool hourShift) {
  const uint64_t window = static_cast<uint64_t>(tolerance);
  const uint64_t distance = TimeDistance(time1, time2);
  if (distance <= window) return true;
  if (!hourShift) return false;
  const uint64_t fromAnHour = distance >= OneHour ? distance - OneHour : OneHour - distance;
  return fromAnHour <= window;
}

ExitCode Verdict(Relation relation, int acceptMask) {
  return (relation & acceptMask) != 0 ? ExitTrue : ExitFalse;
}

Comparison CompareValues(Platform& platform, const OperandValue& first, const OperandValue& second,
                         const ComparisonRule& rule) {
  const bool tolerated = !first.IsDay() && !second.IsDay() &&
                         WithinTolerance(first.time, second.time, rule.tolerance, rule.hourShift);
  Comparison result;
  result.time1 = CutToDate(platform, first.time, first.form, rule.dateMode);
  result.time2 = CutToDate(platform, second.time, second.form, rule.dateMode);
  result.relation = CompareTimes(result.time1, result.time2);
  result.verdict = Verdict(tolerated ? SameTime : result.relation, rule.acceptMask);
  return result;
}
