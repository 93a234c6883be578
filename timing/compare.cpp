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
