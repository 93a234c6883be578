#include "timing/stamp_lookup.h"

TimeValue LookupStamp(Platform& platform, const Text& name, StampKind kind) {
  if (name.empty()) return 0;
  TimeValue stamps[3] = {0, 0, 0};
  if (!platform.FindEntryStamps(name, stamps)) return 0;
  return stamps[static_cast<int>(kind)];
}
