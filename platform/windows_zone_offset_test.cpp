#include "platform/windows_zone_offset.h"

#include <gtest/gtest.h>

namespace {

// A zone two hours ahead until the transition, one hour after it; like
// SYSTEMTIME, the stub loses every digit below the millisecond.
constexpr TimeValue Transition = 134'000'000'000'000'000;
constexpr TimeValue TicksPerMillisecond = TicksPerSecond / 1000;

bool ShownLikeSystemTime(TimeValue utc, TimeValue& local) {
  const TimeValue whole = utc - utc % TicksPerMillisecond;
  local = whole + (whole < Transition ? 2 : 1) * TicksPerHour;
  return true;
}

bool Unconvertible(TimeValue, TimeValue&) { return false; }

TEST(ZoneOffsetFromConversion, IsExactWhateverTheRemainderBelowTheMillisecond) {
  struct {
    TimeValue utc;
    int64_t offset;
  } const cases[] = {
      {Transition - 2 * TicksPerHour, 2 * TicksPerHour},
      {Transition - 2 * TicksPerHour + 1, 2 * TicksPerHour},
      {Transition - 2 * TicksPerHour + 9'999, 2 * TicksPerHour},
      {Transition - 1, 2 * TicksPerHour},
      {Transition, TicksPerHour},
      {Transition + 1, TicksPerHour},
      {Transition + TicksPerMillisecond - 1, TicksPerHour},
      {0, 2 * TicksPerHour},
      {1, 2 * TicksPerHour},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ZoneOffsetFromConversion(c.utc, ShownLikeSystemTime), c.offset) << c.utc;
  }
}

TEST(ZoneOffsetFromConversion, IsZeroWhereTheSystemCannotConvert) {
  EXPECT_EQ(ZoneOffsetFromConversion(Transition + 1, Unconvertible), 0);
}

}  // namespace
