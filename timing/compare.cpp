#include "timing/compare.h"

TimeValue TruncateToDay(TimeValue value) { return value / TicksPerDay * TicksPerDay; }

void NormalizeToDate(Platform& platform, TimeValue& time1, TimeValue& time2, DateMode mode) {
  if (mode == DateMode::Exact) return;
  if (mode == DateMode::Local) {
    time1 = platform.ToLocalTime(time1);
    time2 = platform.ToLocalTime(time2);
  }
  time1 = TruncateToDay(time1);
  time2 = TruncateToDay(time2);
}

Relation CompareTimes(TimeValue time1, TimeValue time2) {
  if (time1 == time2) return SameTime;
  return time1 < time2 ? Before : After;
}

Relation CompareWithTolerance(TimeValue time1, TimeValue time2, TimeValue tolerance) {
  if (TimeDistance(time1, time2) <= static_cast<uint64_t>(tolerance)) return SameTime;
  return CompareTimes(time1, time2);
}

ExitCode Verdict(Relation relation, int acceptMask) {
  return (relation & acceptMask) != 0 ? ExitTrue : ExitFalse;
}
