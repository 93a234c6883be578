// The stamp-name rules: wildcard names are never searched, exactly one
// trailing backslash is dropped, and the chosen stamp comes back unchanged.
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_support.h"
#include "platform/fake_platform.h"
#include "timing/stamp_lookup.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ByteReader reader{data, size};
  const uint8_t choice = reader.Byte();
  const StampKind kind = static_cast<StampKind>(choice % 3);
  FakeEntry entry{reader.Int64(), reader.Int64(), reader.Int64()};
  const Text name = reader.RestAsText();

  Text searched = name;
  if (!searched.empty() && searched.back() == u'\\') searched.pop_back();
  const bool wildcard = name.find_first_of(u"?*") != Text::npos;

  FakePlatform platform;
  if (choice & 0x80) platform.entries[searched] = entry;
  const TimeValue stamp = LookupStamp(platform, name, kind);

  if (wildcard || searched.empty()) {
    Require(platform.namesLookedUp.empty(), "a wildcard or empty name was searched");
    Require(stamp == 0, "a wildcard or empty name gave a stamp");
    return 0;
  }
  Require(platform.namesLookedUp.size() == 1, "not exactly one search");
  Require(platform.namesLookedUp[0] == searched, "searched name is not the name less a backslash");
  const TimeValue stamps[3] = {entry.created, entry.accessed, entry.modified};
  const TimeValue expected = (choice & 0x80) ? stamps[static_cast<int>(kind)] : 0;
  Require(stamp == expected, "stamp not the chosen one of the entry");
  return 0;
}
