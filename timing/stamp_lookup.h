// Reads one stamp of a named file or directory from its directory entry.
#pragma once

#include "platform/platform.h"
#include "timing/time_value.h"

// The stamp `kind` of the entry called `name`, in UTC ticks. A name with
// "?" or "*" is never searched; one trailing backslash is dropped so that a
// directory may be written as "dir\". Returns 0 for a wildcard name, an
// empty name, a missing entry and a stamp the file system records as zero.
TimeValue LookupStamp(Platform& platform, const Text& name, StampKind kind);
