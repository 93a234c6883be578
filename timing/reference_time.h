// TODAY[-n days], NOW[-n[unit]] and fixed moments (date:...) as the second
// operand.
#pragma once

#include "base/time_value.h"
#include "platform/platform.h"
#include "timing/operand_value.h"

enum class ReferenceKind { None, Today, Now, Date };

// Today when the first five characters, lower-cased, are "today"; else Now
// when the first three are "now"; else Date when the first five are
// "date:"; else None (the operand is a file name).
ReferenceKind RecognizeReferenceTime(Platform& platform, const Text& operand);

// True when every character is a decimal digit; true for the empty text.
bool IsAllDigits(std::u16string_view text);

// Each of the three fails with "Invalid date/time expression: " + the
// operand when it is malformed. A moment before the start of the tick
// scale is held at 0.

// TODAY[-n]: the day of `now` less n days, local unless a date option is
// given.
OperandValue EvaluateToday(const Text& operand, TimeValue now);

// NOW[-n[unit]]: `now` less n minutes, or n of the step that a last letter
// names after lower-casing (s, m, h, or d for days of 24 hours); compared
// exactly whatever the options say.
OperandValue EvaluateNow(Platform& platform, const Text& operand, TimeValue now);

// date:YYYY-MM-DD: that calendar day as written, local unless a date
// option is given. date: with a time of day: that moment, in the zone
// given, or else in local time by the zone's rules on that date (see
// UtcFromLocalTime), compared exactly; a local time that the clock skips
// and a moment before 1601 fail.
OperandValue EvaluateFixedMoment(Platform& platform, const Text& operand);

// The one of the three that `kind` (not None) names.
OperandValue EvaluateReferenceTime(Platform& platform, ReferenceKind kind, const Text& operand,
                                   TimeValue now);
