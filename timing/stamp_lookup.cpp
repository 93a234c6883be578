#include "timing/stamp_lookup.h"

TimeValue LookupStamp(Platform& platform, const Text& name, StampKind kind) {
  if (name.find_first_of(u"?*") != Text::npos) return 0;
  Text searched = name;
  if (!searched.empty() && searched.back() == u'\\') searched.pop_back();
  if (searched.empty()) return 0;
  TimeValue stamps[3] = {0, 0, 0};
  if (!platform.FindEntryStamps(searched, stamps)) return 0;
  return stamps[static_cast<int>(kind)];
}
