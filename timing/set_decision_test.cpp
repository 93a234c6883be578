#include "timing/set_decision.h"

#include <gtest/gtest.h>

#include <limits>

#include "platform/fake_platform.h"

namespace {

constexpr TimeValue M = TicksPerMinute;
constexpr TimeValue X = 154'000 * TicksPerDay + 10 * TicksPerHour;  // the other operand
constexpr TimeValue Window = 2 * TicksPerDay;

// Every edge the rule can have lies on the minute grid (the offset is
// -90 min, the tolerance whole minutes), so the verdict is constant
// between grid points and a scan of the grid around X, with the scale's
// end beyond every edge, sees every value the verdict takes.
bool DecidedByScan(const VerdictProbe& probe, SetEnd end, TimeValue extreme) {
  const ExitCode verdict = VerdictAt(probe, extreme);
  const TimeValue far = end == SetEnd::Newest ? std::numeric_limits<TimeValue>::max() : 1;
  if (VerdictAt(probe, far) != verdict) return false;
  for (TimeValue x = X - Window; x <= X + Window; x += M) {
    const bool inRange = end == SetEnd::Newest ? x >= extreme : x <= extreme;
    if (inRange && VerdictAt(probe, x) != verdict) return false;
  }
  return true;
}

TEST(IsDecided, AgreesWithAScanOfEveryValueTheSetCanTake) {
  FakePlatform platform(FakeSystem::Linux);
  platform.utcOffsetTicks = -90 * M;
  const TimeValue extremes[] = {X - TicksPerDay, X - 61 * M,
                                X - 60 * M,      X - 58 * M,
                                X - 3 * M,       X - 2 * M,
                                X - M,           X,
                                X + M,           X + 2 * M,
                                X + 3 * M,       X + 60 * M,
                                X + 62 * M,      X + 15 * TicksPerHour};
  int decided = 0;
  int open = 0;
  for (const DateMode mode : {DateMode::Exact, DateMode::Local, DateMode::Utc}) {
    for (const OperandForm form : {OperandForm::Moment, OperandForm::WrittenDay}) {
      if (form == OperandForm::WrittenDay && mode == DateMode::Exact) continue;
      OperandValue other;
      other.time = form == OperandForm::WrittenDay ? TruncateToDay(X) : X;
      other.form = form;
      for (const TimeValue tolerance : {TimeValue{0}, 2 * M}) {
        for (const bool hourShift : {false, true}) {
          for (const int accept : {1, 2, 4, 2 | 4, 2 | 1}) {
            for (const bool setIsFirst : {true, false}) {
              const ComparisonRule rule{mode, accept, tolerance, hourShift};
              const VerdictProbe probe = MakeVerdictProbe(platform, other, setIsFirst, rule);
              for (const SetEnd end : {SetEnd::Newest, SetEnd::Oldest}) {
                for (const TimeValue extreme : extremes) {
                  const bool expected = DecidedByScan(probe, end, extreme);
                  ASSERT_EQ(IsDecided(probe, end, extreme), expected)
                      << "mode " << static_cast<int>(mode) << " tolerance " << tolerance << " dst "
                      << hourShift << " accept " << accept << " first " << setIsFirst << " newest "
                      << (end == SetEnd::Newest) << " extreme " << extreme - X;
                  ++(expected ? decided : open);
                }
              }
            }
          }
        }
      }
    }
  }
  EXPECT_GT(decided, 100);
  EXPECT_GT(open, 100);
}

}  // namespace
