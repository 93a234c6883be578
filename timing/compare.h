// The date mode, the day cut, the comparison and the verdict.
#pragma once

#include "base/exit_code.h"
#include "base/time_value.h"
#include "platform/platform.h"
#include "timing/operand_value.h"

// v truncated to the start of its day (signed division toward zero).
TimeValue TruncateToDay(TimeValue value);

// The date mode of a run: what the options chose (Exact when none did),
// unless an operand asks for more. An operand that is a moment relative to
// now or a fixed moment makes it Exact; one that is a day makes it Local
// unless an option chose a date mode.
DateMode DecideDateMode(DateMode option, DateEffect first, DateEffect second);

// What a comparison in `mode` sees of a value of `form`. Exact mode: the
// value. Local mode: the first tick of the value's local day, converted
// with ToLocalTime; Utc mode: of its UTC day. A WrittenDay is already the
// day on the mode's clock and stands as it is.
TimeValue CutToDate(Platform& platform, TimeValue value, OperandForm form, DateMode mode);

// SameTime when equal, Before when time1 < time2, else After.
Relation CompareTimes(TimeValue time1, TimeValue time2);

// True when the two values count as the same time although they may
// differ: they lie at most `tolerance` ticks apart (0 asks for equality),
// or, with `hourShift`, their distance lies at most `tolerance` from exactly
// one hour, in either order. The tolerance is never negative.
bool WithinTolerance(TimeValue time1, TimeValue time2, TimeValue tolerance, bool hourShift);

// ExitTrue when `relation` is one of the accepted relations, else ExitFalse.
ExitCode Verdict(Relation relation, int acceptMask);

// What the run asks of its two values, fixed once both operands are known.
struct ComparisonRule {
  DateMode dateMode = DateMode::Exact;
  int acceptMask = 0;
  TimeValue tolerance = 0;
  bool hourShift = false;
};

struct Comparison {
  TimeValue time1 = 0;  // the values compared: cut to their days in a date mode
  TimeValue time2 = 0;
  Relation relation = SameTime;  // of the cut values, without the tolerance
  ExitCode verdict = ExitFalse;
};

// Compares two operand values. The tolerance sees the moments as read,
// before a date mode cuts them, and a day gets none: it is no moment. The
// verdict is true when the tolerance makes them the same time and that is
// accepted, or else when the relation of the cut values is.
Comparison CompareValues(Platform& platform, const OperandValue& first, const OperandValue& second,
                         const ComparisonRule& rule);
