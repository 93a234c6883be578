// Fixed moments as ISO 8601 text (2026-12-01, 2026-12-01T08:30Z), the
// calendar arithmetic behind them and the rule that places a local clock
// time on the UTC scale.
#pragma once

#include <string_view>

#include "base/time_value.h"
#include "platform/platform.h"

// A moment as written: a calendar day, or a day and a time of day, with or
// without the zone it was written in.
struct WrittenMoment {
  // The date and time of day as ticks since 1601-01-01 00:00 of the clock
  // they were read from (UTC, the given zone, or local time).
  TimeValue clockTime = 0;
  bool hasTimeOfDay = false;
  bool hasZone = false;
  int64_t zoneOffset = 0;  // ticks the given zone's clock runs ahead of UTC
};

// Reads YYYY-MM-DD, or YYYY-MM-DDThh:mm[:ss[.f]][zone] where the T may also
// be "t" or one space, f is 1 to 7 digits and zone is "Z", +hh:mm or
// -hh:mm. The year lies in 1601-9999, the day exists in the Gregorian
// calendar, hours in 00-23, minutes and seconds in 00-59, zone hours in
// 00-23. False, leaving `moment` unspecified, for anything else.
bool ParseWrittenMoment(std::u16string_view text, WrittenMoment& moment);

// True for a real day of the Gregorian calendar (29 February only in leap
// years); `year` from 1601 on.
bool IsCalendarDate(int year, int month, int day);

// Days from 1601-01-01 to a date that IsCalendarDate accepts.
int64_t DaysSince1601(int year, int month, int day);

// The UTC moment at which the local clock shows `clockTime`, by the zone's
// rules at that moment (daylight saving included), as
// platform.UtcOffsetAt gives them. Of two such moments (the hour that
// repeats when daylight saving ends) the earlier. False, leaving `utc`
// alone, when the clock never shows it (the hour skipped when daylight
// saving begins). The moment may lie before 0 for a time in the zone's
// first hours of 1601.
bool UtcFromLocalTime(Platform& platform, TimeValue clockTime, TimeValue& utc);
