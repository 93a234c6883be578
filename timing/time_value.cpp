#include "timing/time_value.h"

#include <limits>

TimeValue TicksFromUnixTime(int64_t seconds, int64_t nanoseconds) {
  // Seconds since 1601 must stay within [0, max / TicksPerSecond], and the
  // sub-second part must fit on top of the last whole second.
  constexpr int64_t maxTicks = std::numeric_limits<int64_t>::max();
  constexpr int64_t maxSeconds = maxTicks / TicksPerSecond;
  if (seconds < -UnixEpochSeconds || seconds > maxSeconds - UnixEpochSeconds) return 0;
  const int64_t secondsSince1601 = seconds + UnixEpochSeconds;
  const int64_t subTicks = nanoseconds / 100;
  const int64_t wholeTicks = secondsSince1601 * TicksPerSecond;
  if (subTicks > maxTicks - wholeTicks) return 0;
  return wholeTicks + subTicks;
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
