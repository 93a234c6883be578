// The stamp lookup and the Windows name rules: a name is searched exactly
// as given (the Windows rules may drop one trailing backslash and refuse
// wildcards), and the chosen stamp comes back unchanged.
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_support.h"
#include "platform/fake_platform.h"
#include "platform/windows_names.h"
#include "timing/stamp_lookup.h"

namespace {

void CheckWindowsName(const Text& name) {
  Text searched;
  if (!WindowsSearchName(name, searched)) return;
  const bool dropped = searched.size() + 1 == name.size();
  Require(!searched.empty(), "the empty name would be searched");
  Require(name.starts_with(searched) && (dropped || searched == name),
          "searched name is neither the name nor the name less one character");
  Require(!dropped || name.back() == u'\\', "dropped a character that is not a backslash");
  const size_t start = searched.starts_with(u"\\\\?\\") ? 4 : 0;
  Require(searched.find_first_of(u"*?<>\"", start) == Text::npos, "a wildcard would be searched");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ByteReader reader{data, size};
  const uint8_t choice = reader.Byte();
  const StampKind kind = static_cast<StampKind>(choice % 3);
  FakeEntry entry{reader.Int64(), reader.Int64(), reader.Int64()};
  const Text name = reader.RestAsText();
  CheckWindowsName(name);

  FakePlatform platform(FakeSystem::Linux);
  if (choice & 0x80) platform.entries[name] = entry;
  const OperandValue value = EvaluateFileOperand(platform, name, kind);
  const TimeValue stamp = value.time;
  Require(value.Failed() == (stamp == 0), "a stamp of 0 is no value");
  if (name.empty()) {
    Require(platform.namesLookedUp.empty() && stamp == 0, "the empty name was searched");
    return 0;
  }
  Require(platform.namesLookedUp.size() == 1, "not exactly one search");
  Require(platform.namesLookedUp[0] == name, "searched name is not the name as given");
  const TimeValue expected = (choice & 0x80) ? StampOf(entry, kind) : 0;
  Require(stamp == expected, "stamp not the chosen one of the entry");
  return 0;
}
