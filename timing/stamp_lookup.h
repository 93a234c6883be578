// Reads one stamp of a named file or directory from its directory entry.
#pragma once

#include "platform/platform.h"
#include "timing/time_value.h"

// The stamp `kind` of the entry called `name`, in UTC ticks, as the
// platform's directory lookup finds it. Returns 0 for an empty name, a name
// the platform refuses, a missing entry and a stamp the file system records
// as zero.
TimeValue LookupStamp(Platform& platform, const Text& name, StampKind kind);
