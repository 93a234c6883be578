// Date-only normalisation, comparison and the verdict.
#pragma once

#include "platform/exit_code.h"
#include "platform/platform.h"
#include "timing/time_value.h"

// v truncated to the start of its day (signed division toward zero).
TimeValue TruncateToDay(TimeValue value);

// Local mode: converts both values to local time, then keeps their days.
// Utc mode: keeps their UTC days. Exact mode: leaves both unchanged.
void NormalizeToDate(Platform& platform, TimeValue& time1, TimeValue& time2, DateMode mode);

// SameTime when equal, Before when time1 < time2, else After.
Relation CompareTimes(TimeValue time1, TimeValue time2);

// True when the two values count as the same time although they may
// differ: they lie at most `tolerance` ticks apart (0 asks for equality),
// or, with `hourShift`, their distance lies at most `tolerance` from exactly
// one hour, in either order. The tolerance is never negative.
bool WithinTolerance(TimeValue time1, TimeValue time2, TimeValue tolerance, bool hourShift);

// ExitTrue when `relation` is one of the accepted relations, else ExitFalse.
ExitCode Verdict(Relation relation, int acceptMask);
