#include "timing/fixed_moment.h"

namespace {

constexpr int MonthDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// Exactly `count` ASCII digits at `at`; moves past them.
bool ReadDigits(std::u16string_view text, size_t& at, size_t count, int& value) {
  if (text.size() - at < count) return false;
  value = 0;
  for (const size_t end = at + count; at < end; ++at) {
    if (!IsDigit(text[at])) return false;
    value = value * 10 + (text[at] - u'0');
  }
  return true;
}

// Moves past `expected` when it stands at `at`.
bool ReadChar(std::u16string_view text, size_t& at, char16_t expected) {
  if (at >= text.size() || text[at] != expected) return false;
  ++at;
  return true;
}

// Two digits at most `largest`, a colon, two digits at most 59: ticks.
bool ReadHoursAndMinutes(std::u16string_view text, size_t& at, int largest, TimeValue& ticks) {
  int hours = 0;
  int minutes = 0;
  if (!ReadDigits(text, at, 2, hours) || hours > largest || !ReadChar(text, at, u':') ||
      !ReadDigits(text, at, 2, minutes) || minutes > 59) {
    return false;
  }
  ticks = (hours * 60 + minutes) * TicksPerMinute;
  return true;
}

bool ReadDate(std::u16string_view text, size_t& at, int64_t& days) {
  int year = 0;
  int month = 0;
  int day = 0;
  if (!ReadDigits(text, at, 4, year) || !ReadChar(text, at, u'-') ||
      !ReadDigits(text, at, 2, month) || !ReadChar(text, at, u'-') ||
      !ReadDigits(text, at, 2, day) || year < 1601 || !IsCalendarDate(year, month, day)) {
    return false;
  }
  days = DaysSince1601(year, month, day);
  return true;
}

// The digits after the decimal point, 1 to 7 of them (100 ns is a tick).
bool ReadFraction(std::u16string_view text, size_t& at, TimeValue& ticks) {
  TimeValue scale = TicksPerSecond;
  size_t digits = 0;
  for (; at < text.size() && IsDigit(text[at]); ++at) {
    if (++digits > 7) return false;
    scale /= 10;
    ticks += (text[at] - u'0') * scale;
  }
  return digits > 0;
}

// hh:mm, then optionally :ss and .f: ticks since the day's start.
bool ReadTimeOfDay(std::u16string_view text, size_t& at, TimeValue& ticks) {
  int seconds = 0;
  if (!ReadHoursAndMinutes(text, at, 23, ticks)) return false;
  if (!ReadChar(text, at, u':')) return true;
  if (!ReadDigits(text, at, 2, seconds) || seconds > 59) return false;
  ticks += seconds * TicksPerSecond;
  return !ReadChar(text, at, u'.') || ReadFraction(text, at, ticks);
}

// "Z", +hh:mm, -hh:mm, or nothing at the text's end.
bool ReadZone(std::u16string_view text, size_t& at, WrittenMoment& moment) {
  if (at == text.size()) return true;
  moment.hasZone = true;
  if (ReadChar(text, at, u'Z')) return true;
  const bool east = ReadChar(text, at, u'+');
  if (!east && !ReadChar(text, at, u'-')) return false;
  if (!ReadHoursAndMinutes(text, at, 23, moment.zoneOffset)) return false;
  if (!east) moment.zoneOffset = -moment.zoneOffset;
  return true;
}

}  // namespace

bool ParseWrittenMoment(std::u16string_view text, WrittenMoment& moment) {
  size_t at = 0;
  int64_t days = 0;
  if (!ReadDate(text, at, days)) return false;
  moment = WrittenMoment{};
  moment.clockTime = days * TicksPerDay;
  if (at == text.size()) return true;
  if (text[at] != u'T' && text[at] != u't' && text[at] != u' ') return false;
  ++at;
  TimeValue timeOfDay = 0;
  if (!ReadTimeOfDay(text, at, timeOfDay) || !ReadZone(text, at, moment) || at != text.size()) {
    return false;
  }
  moment.clockTime += timeOfDay;
  moment.hasTimeOfDay = true;
  return true;
}

bool IsCalendarDate(int year, int month, int day) {
  if (month < 1 || month > 12 || day < 1) return false;
  const bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
  return day <= MonthDays[month - 1] + (month == 2 && leap ? 1 : 0);
}

int64_t DaysSince1601(int year, int month, int day) {
  // Counted in years that begin on 1 March, so that a leap day ends its
  // year; 1600-03-01 begins a 400-year cycle of 146,097 days, and
  // 1601-01-01 is day 306 of it.
  const int marchYear = year - (month <= 2 ? 1 : 0) - 1600;
  const int cycle = marchYear / 400;
  const int yearOfCycle = marchYear - cycle * 400;
  const int dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  const int dayOfCycle = yearOfCycle * 365 + yearOfCycle / 4 - yearOfCycle / 100 + dayOfYear;
  return int64_t{cycle} * 146'097 + dayOfCycle - 306;
}

bool UtcFromLocalTime(Platform& platform, TimeValue clockTime, TimeValue& utc) {
  // Offsets stay under a day, so every moment at which the clock can show
  // clockTime lies within a day of it, and zones change their offset at
  // most once in such a window: the offsets in force at its two ends are
  // the only candidates. A candidate holds when it is the offset in force
  // at the moment it gives. The clock never runs before 1601, where the
  // platform has no rules.
  const TimeValue windowStart = clockTime > TicksPerDay ? clockTime - TicksPerDay : 0;
  const int64_t candidates[2] = {platform.UtcOffsetAt(windowStart),
                                 platform.UtcOffsetAt(clockTime + TicksPerDay)};
  bool found = false;
  for (int i = 0; i < (candidates[0] == candidates[1] ? 1 : 2); ++i) {
    const TimeValue moment = clockTime - candidates[i];
    if (platform.UtcOffsetAt(moment > 0 ? moment : 0) != candidates[i]) continue;
    if (!found || moment < utc) utc = moment;
    found = true;
  }
  return found;
}
