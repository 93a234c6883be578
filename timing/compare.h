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

// SameTime when the two values lie at most `tolerance` ticks apart (a
// tolerance of 0 asks for equality), else Before or After as CompareTimes.
Relation CompareWithTolerance(TimeValue time1, TimeValue time2, TimeValue tolerance);

// ExitTrue when `relation` is one of the accepted relations, else ExitFalse.
ExitCode Verdict(Relation relation, int acceptMask);
