// Date-only normalisation, comparison and the verdict.
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
