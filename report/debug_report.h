// The two-line /debug report: the verdict and how far apart the moments are.
#pragma once

#include <array>
#include <cstdint>

#include "base/exit_code.h"
#include "base/text.h"
#include "base/time_value.h"

// |time2 - time1| in ticks: the exact difference rounded once to double
// precision, as a whole number. Exact below 2^53 ticks; a difference too
// large for 64 bits is held at the largest value.
uint64_t DebugDifference(TimeValue time1, TimeValue time2);

// "Resp: true" or "Resp: false".
Text FormatResponseLine(ExitCode verdict);

// "Diff: " + the difference in whole days (date modes) or seconds (exact),
// then " before"/" after" unless it is 0.
Text FormatDifferenceLine(Relation relation, TimeValue time1, TimeValue time2, DateMode mode);

// The two lines of the report, without line ends: the response line, then
// the difference line.
std::array<Text, 2> DebugReportLines(ExitCode verdict, Relation relation, TimeValue time1,
                                     TimeValue time2, DateMode mode);
