#include "platform/windows_zone_offset.h"

namespace {

constexpr TimeValue TicksPerMillisecond = TicksPerSecond / 1000;

}  // namespace

int64_t ZoneOffsetFromConversion(TimeValue utc, MillisecondZoneConversion convert) {
  const TimeValue whole = utc - utc % TicksPerMillisecond;
  TimeValue local = 0;
  if (!convert(whole, local)) return 0;
  return local - whole;
}
