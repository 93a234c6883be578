// TODAY[-n days] and NOW[-n minutes] as the second operand.
#pragma once

#include "platform/platform.h"
#include "timing/time_value.h"

enum class ReferenceKind { None, Today, Now };

// Today when the first five characters, lower-cased, are "today"; else Now
// when the first three are "now"; else None (the operand is a file name).
ReferenceKind RecognizeReferenceTime(Platform& platform, const Text& operand);

// True when every character is a decimal digit; true for the empty text.
bool IsAllDigits(std::u16string_view text);

// Evaluates a recognised expression against `now`. Today turns an exact
// date mode into local; Now forces exact. A moment before the start of the
// tick scale is held at 0. On a malformed expression, sets `message` to
// "Invalid date/time expression: " + the operand and leaves `time2` alone.
void EvaluateReferenceTime(ReferenceKind kind, const Text& operand, TimeValue now,
                           DateMode& dateMode, TimeValue& time2, Text& message);
