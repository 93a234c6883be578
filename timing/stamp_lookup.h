// A file or directory name as an operand: one stamp of its directory entry.
#pragma once

#include "base/time_value.h"
#include "platform/platform.h"
#include "timing/operand_value.h"

// The stamp `kind` of the entry called `name`, in UTC ticks, as the
// platform's directory lookup finds it: a Moment with no date effect. An
// empty name, a name the platform refuses, a missing entry and a stamp the
// file system records as zero fail with "Not found or invalid: " + `name`.
OperandValue EvaluateFileOperand(Platform& platform, const Text& name, StampKind kind);
