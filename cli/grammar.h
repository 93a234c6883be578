// The keyword grammar: every parameter after the first is either a keyword
// (matched after lower-casing, the whole parameter) or a piece of the second
// operand.
#pragma once

#include "cli/run_request.h"
#include "platform/platform.h"

// Reads the parameters after the first (platform.NextParameter) into
// `request` until the first empty parameter. On a non-keyword parameter while no relation is
// named, sets request.message to "Syntax error: " + the parameter and stops.
void ParseArguments(RunRequest& request, Platform& platform);
