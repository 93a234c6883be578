#include "report/debug_report.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

constexpr TimeValue Max = std::numeric_limits<TimeValue>::max();
constexpr TimeValue Min = std::numeric_limits<TimeValue>::min();
constexpr TimeValue D = 154'000 * TicksPerDay;
constexpr TimeValue Two53 = TimeValue{1} << 53;

TEST(FormatResponseLine, NamesTheVerdict) {
  EXPECT_EQ(FormatResponseLine(ExitTrue), u"Resp: true");
  EXPECT_EQ(FormatResponseLine(ExitFalse), u"Resp: false");
}

struct DifferenceCase {
  Relation relation;
  TimeValue time1, time2;
  DateMode mode;
  const char16_t* line;
};

const DifferenceCase DifferenceCases[] = {
    {SameTime, D, D, DateMode::Exact, u"Diff: 0 seconds"},
    {SameTime, D, D, DateMode::Local, u"Diff: 0 days"},
    {Before, D, D + TicksPerSecond - 1, DateMode::Exact, u"Diff: 0 seconds"},
    {After, D + TicksPerSecond - 1, D, DateMode::Exact, u"Diff: 0 seconds"},
    {Before, D, D + TicksPerSecond, DateMode::Exact, u"Diff: 1 seconds before"},
    {After, D + 90 * TicksPerSecond + 5, D, DateMode::Exact, u"Diff: 90 seconds after"},
    {Before, D, D + TicksPerDay, DateMode::Local, u"Diff: 1 days before"},
    {After, D + TicksPerDay, D, DateMode::Utc, u"Diff: 1 days after"},
    {Before, D, D + TicksPerDay, DateMode::Exact, u"Diff: 86400 seconds before"},
    {Before, -TicksPerDay, TicksPerDay, DateMode::Utc, u"Diff: 2 days before"},
    {Before, 0, Max, DateMode::Exact, u"Diff: 922337203685 seconds before"},
    {Before, Min, Max, DateMode::Exact, u"Diff: 1844674407370 seconds before"},
    {After, Max, Min, DateMode::Local, u"Diff: 21350398 days after"},
};

TEST(FormatDifferenceLine, GivesWholeUnitsAndADirectionUnlessZero) {
  for (const DifferenceCase& c : DifferenceCases) {
    EXPECT_EQ(FormatDifferenceLine(c.relation, c.time1, c.time2, c.mode), c.line)
        << c.time1 << " " << c.time2;
  }
}

TEST(DebugDifference, IsExactBelowTwoToThe53AndRoundsOnceAbove) {
  const struct {
    TimeValue time1, time2;
    uint64_t difference;
  } cases[] = {
      {0, 0, 0},
      {5, 0, 5},
      {0, Two53 - 1, Two53 - 1},
      {Two53 - 1, 0, Two53 - 1},
      {-Two53 / 2, Two53 / 2, Two53},
      {0, 4 * Two53 + 1, 4 * Two53},
      {0, 4 * Two53 + 5, 4 * Two53 + 8},
      {Min, Max, std::numeric_limits<uint64_t>::max()},
      {Max, Min, std::numeric_limits<uint64_t>::max()},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DebugDifference(c.time1, c.time2), c.difference) << c.time1 << " " << c.time2;
  }
}

TEST(DebugReportLines, GivesTheResponseThenTheDifference) {
  const std::array<Text, 2> lines =
      DebugReportLines(ExitFalse, After, D + TicksPerDay, D, DateMode::Local);
  EXPECT_EQ(lines[0], u"Resp: false");
  EXPECT_EQ(lines[1], u"Diff: 1 days after");
}

}  // namespace
