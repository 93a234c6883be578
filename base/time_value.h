// The time scale and the small value types every part of Datora shares.
// A leaf: it includes nothing of the project.
#pragma once

#include <cstdint>

// 100-nanosecond ticks since 1601-01-01 00:00 UTC, the Windows file-time
// scale. A file stamp of 0 means "no usable stamp".
using TimeValue = int64_t;

inline constexpr TimeValue TicksPerSecond = 10'000'000;
inline constexpr TimeValue TicksPerMinute = 60 * TicksPerSecond;
inline constexpr TimeValue TicksPerHour = 60 * TicksPerMinute;
inline constexpr TimeValue TicksPerDay = 24 * TicksPerHour;

// Seconds between 1601-01-01 and 1970-01-01, both UTC.
inline constexpr int64_t UnixEpochSeconds = 11'644'473'600;

// Which stamp of a directory entry a comparison reads.
enum class StampKind : int { Created = 0, Accessed = 1, Modified = 2, Changed = 3 };

// The stamps of one directory entry, in UTC ticks; 0 where the file system
// records none.
struct EntryStamps {
  TimeValue created = 0;
  TimeValue accessed = 0;
  TimeValue modified = 0;
  TimeValue changed = 0;  // the last change of contents or metadata
};

// The stamp `kind` of `stamps`.
TimeValue StampOf(const EntryStamps& stamps, StampKind kind);

// Relation bits; "before" and "after" describe the first operand relative
// to the second. The grammar combines them into masks.
enum Relation : int { SameTime = 1, Before = 2, After = 4 };

enum class DateMode : int { Exact = 0, Local = 1, Utc = 2 };

// Takes an unsigned count of ticks since 1601 (a FILETIME's two halves
// joined) onto the tick scale. Returns 0 for a count the scale cannot hold
// (2^63 or more: after 30828-09-14 02:48:05.4775807 UTC), which the caller
// treats like a missing stamp.
TimeValue TicksFromFileTime(uint64_t count);

// Converts a POSIX time (seconds since 1970, plus 0..999,999,999 ns) to
// ticks, exactly, truncating the sub-tick nanoseconds. Returns 0 for a time
// the tick scale cannot hold (before 1601, or after the year 30828 by the
// rule of TicksFromFileTime), which the caller treats like a missing stamp.
TimeValue TicksFromUnixTime(int64_t seconds, int64_t nanoseconds);

// |a - b|, exact for any two values: the magnitude of a difference of two
// signed 64-bit values always fits 64 unsigned bits.
uint64_t TimeDistance(TimeValue a, TimeValue b);

// a + b, held at the ends of the signed 64-bit range instead of wrapping.
TimeValue AddTicksSaturated(TimeValue a, int64_t b);
