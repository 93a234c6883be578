// The keyword grammar: every parameter after the first is either a keyword
// (matched after lower-casing, the whole parameter) or a piece of the second
// operand.
#pragma once

#include "cli/run_request.h"
#include "cli/split.h"
#include "platform/platform.h"

// Reads the remaining parameters of `commandLine` into `request` until the
// first empty parameter. On a non-keyword parameter while no relation is
// named, sets request.message to "Syntax error: " + the parameter and stops.
void ParseArguments(RunRequest& request, CommandLine& commandLine, Platform& platform);
