// One run of Datora, from the command line to the exit code.
#pragma once

#include "base/exit_code.h"
#include "platform/platform.h"

// Reads the command line, compares the two moments it names and returns
// ExitTrue or ExitFalse; on any error writes one message (or the usage
// text) to standard error and returns ExitError. Writes the /debug report
// to standard output only when the comparison is reached.
ExitCode RunDatora(Platform& platform);
