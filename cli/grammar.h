// The keyword grammar: every parameter after the first is either a keyword
// (matched after lower-casing, the whole parameter) or a piece of the second
// operand.
#pragma once

#include "cli/run_request.h"
#include "platform/platform.h"

// Reads the parameters after the first (platform.NextParameter) into
// `request` until the first empty parameter. On a non-keyword parameter while no relation is
// named, sets request.message to "Syntax error: " + the parameter and stops.
// "/tolerance:S" is the one option with a value; a malformed value is a
// syntax error like any other, at the same place in the order of errors.
void ParseArguments(RunRequest& request, Platform& platform);

// Reads S of "/tolerance:S", a number of seconds: one or more ASCII digits,
// optionally "." and one to seven more (the tick is 100 ns). Returns false,
// leaving `ticks` alone, for anything else and for a value whose ticks do
// not fit a signed 64-bit integer.
bool ReadToleranceTicks(std::u16string_view seconds, TimeValue& ticks);
