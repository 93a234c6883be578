#include "base/time_value.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

constexpr int64_t Max = std::numeric_limits<int64_t>::max();
constexpr int64_t Min = std::numeric_limits<int64_t>::min();
constexpr TimeValue Epoch1970 = 116'444'736'000'000'000;
// The last second whose start the tick scale can hold.
constexpr int64_t LastSecond = Max / TicksPerSecond - UnixEpochSeconds;

struct UnixTimeCase {
  int64_t seconds;
  int64_t nanoseconds;
  TimeValue ticks;
};

const UnixTimeCase UnixTimeCases[] = {
    {0, 0, Epoch1970},
    {1, 0, Epoch1970 + TicksPerSecond},
    {-1, 0, Epoch1970 - TicksPerSecond},
    {-1, 500'000'000, Epoch1970 - TicksPerSecond / 2},
    {0, 99, Epoch1970},
    {0, 150, Epoch1970 + 1},
    {0, 999'999'999, Epoch1970 + 9'999'999},
    {1'500'000'000, 987'654'321, (1'500'000'000 + UnixEpochSeconds) * TicksPerSecond + 9'876'543},
    {-UnixEpochSeconds, 100, 1},
    {-UnixEpochSeconds - 1, 999'999'999, 0},
    {Min, 0, 0},
    {LastSecond, 477'580'799, Max},
    {LastSecond, 477'580'800, 0},
    {LastSecond + 1, 0, 0},
    {Max, 0, 0},
};

TEST(TicksFromUnixTime, ConvertsExactlyAndGivesZeroOffTheScale) {
  for (const UnixTimeCase& c : UnixTimeCases) {
    EXPECT_EQ(TicksFromUnixTime(c.seconds, c.nanoseconds), c.ticks)
        << c.seconds << " s " << c.nanoseconds << " ns";
  }
}

TEST(TicksFromFileTime, KeepsTheSignedRangeAndGivesZeroBeyondIt) {
  const struct {
    uint64_t count;
    TimeValue ticks;
  } cases[] = {
      {0, 0}, {1, 1}, {Max, Max}, {uint64_t{1} << 63, 0}, {~uint64_t{0}, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(TicksFromFileTime(c.count), c.ticks) << c.count;
}

TEST(AddTicksSaturated, AddsOrHoldsAtTheRangeEnds) {
  const struct {
    TimeValue a;
    int64_t b;
    TimeValue sum;
  } cases[] = {
      {1, 2, 3},      {-5, 3, -2},    {Max, 1, Max}, {Max - 1, 1, Max},
      {Min, -1, Min}, {Max, Min, -1}, {1, Max, Max}, {-2, Min + 1, Min},
  };
  for (const auto& c : cases) EXPECT_EQ(AddTicksSaturated(c.a, c.b), c.sum) << c.a << " + " << c.b;
}

}  // namespace
