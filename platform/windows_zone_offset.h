// The UTC offset of a moment from a conversion that keeps whole
// milliseconds only, as the Windows SYSTEMTIME round trip does. Pure code,
// linked into the Windows build and the unit tests.
#pragma once

#include <cstdint>

#include "base/time_value.h"

// The local clock time the zone shows at the UTC moment `utc`, for a
// moment of whole milliseconds; false where the system cannot convert it.
// Whatever the conversion does below the millisecond is never asked.
using MillisecondZoneConversion = bool (*)(TimeValue utc, TimeValue& local);

// The offset in ticks (local minus UTC) in force at `utc` (0 or later),
// exactly: the conversion is asked about `utc` truncated to its
// millisecond, which lies in the same span between two of the zone's
// transitions, since transitions fall on whole seconds. 0 where the
// conversion fails.
int64_t ZoneOffsetFromConversion(TimeValue utc, MillisecondZoneConversion convert);
