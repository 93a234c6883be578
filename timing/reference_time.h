// TODAY[-n days], NOW[-n[unit]] and fixed moments (date:...) as the second
// operand.
#pragma once

#include "platform/platform.h"
#include "timing/time_value.h"

enum class ReferenceKind { None, Today, Now, Date };

// Today when the first five characters, lower-cased, are "today"; else Now
// when the first three are "now"; else Date when the first five are
// "date:"; else None (the operand is a file name).
ReferenceKind RecognizeReferenceTime(Platform& platform, const Text& operand);

// True when every character is a decimal digit; true for the empty text.
bool IsAllDigits(std::u16string_view text);

// Evaluates a recognised expression against `now`:
// - Today: now less n days; an exact date mode becomes local.
// - Now: now less n minutes, or n of the step that a last letter names
//   after lower-casing (s, m, h, or d for days of 24 hours); forces exact.
// - Date, a calendar day (date:YYYY-MM-DD): the date mode as for Today;
//   the start of that day in UTC mode, and in local mode that start less
//   the offset the local conversion applies, so that the conversion brings
//   it back to the day (held at 0).
// - Date with a time of day: that moment, in the zone given, or else in
//   local time by the zone's rules on that date (see UtcFromLocalTime);
//   forces exact.
// A moment before the start of the tick scale is held at 0. On a malformed
// expression, a local time that the clock skips or a fixed moment before
// 1601, sets `message` to "Invalid date/time expression: " + the operand
// and leaves `time2` alone.
void EvaluateReferenceTime(Platform& platform, ReferenceKind kind, const Text& operand,
                           TimeValue now, DateMode& dateMode, TimeValue& time2, Text& message);
