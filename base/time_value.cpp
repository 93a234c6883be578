#include "base/time_value.h"

#include <limits>

TimeValue TicksFromFileTime(uint64_t count) {
  return count > static_cast<uint64_t>(std::numeric_limits<TimeValue>::max())
             ? 0
             : static_cast<TimeValue>(count);
}

TimeValue TicksFromUnixTime(int64_t seconds, int64_t nanoseconds) {
  // The count since 1601 in unsigned arithmetic: a time before 1601 gives a
  // negative count, which the builtins report as not fitting, and so does
  // one past 2^64 ticks. The scale's end is TicksFromFileTime's.
  uint64_t count = 0;
  if (__builtin_add_overflow(seconds, UnixEpochSeconds, &count) ||
      __builtin_mul_overflow(count, static_cast<uint64_t>(TicksPerSecond), &count) ||
      __builtin_add_overflow(count, static_cast<uint64_t>(nanoseconds / 100), &count)) {
    return 0;
  }
  return TicksFromFileTime(count);
}

uint64_t TimeDistance(TimeValue a, TimeValue b) {
  // The subtraction wraps modulo 2^64 into the right magnitude.
  return a >= b ? static_cast<uint64_t>(a) - static_cast<uint64_t>(b)
                : static_cast<uint64_t>(b) - static_cast<uint64_t>(a);
}

TimeValue AddTicksSaturated(TimeValue a, int64_t b) {
  TimeValue sum = 0;
  if (__builtin_add_overflow(a, b, &sum)) {
    return b > 0 ? std::numeric_limits<TimeValue>::max() : std::numeric_limits<TimeValue>::min();
  }
  return sum;
}

TimeValue StampOf(const EntryStamps& stamps, StampKind kind) {
  switch (kind) {
    case StampKind::Created: return stamps.created;
    case StampKind::Accessed: return stamps.accessed;
    case StampKind::Modified: return stamps.modified;
    case StampKind::Changed: return stamps.changed;
  }
  return 0;
}
