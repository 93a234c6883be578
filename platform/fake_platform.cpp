#include "platform/fake_platform.h"

#include <iterator>

#include "platform/ascii_case.h"

Text FakePlatform::NextParameter() {
  if (!scanOpened) {
    scan = OpenCommandLine(commandLine);
    scanOpened = true;
  }
  return ::NextParameter(scan);
}

TimeValue FakePlatform::ToLocalTime(TimeValue utc) {
  return AddTicksSaturated(utc, utcOffsetTicks);
}

int64_t FakePlatform::UtcOffsetAt(TimeValue utc) {
  const auto next = offsetChanges.upper_bound(utc);
  return next == offsetChanges.begin() ? utcOffsetTicks : std::prev(next)->second;
}

bool FakePlatform::FindEntryStamps(const Text& name, TimeValue stamps[3]) {
  namesLookedUp.push_back(name);
  const auto found = entries.find(name);
  if (found == entries.end()) return false;
  stamps[0] = found->second.created;
  stamps[1] = found->second.accessed;
  stamps[2] = found->second.modified;
  return true;
}

void FakePlatform::LowerCase(Text& text) { LowerCaseAscii(text); }

void FakePlatform::WriteLine(const Text& text) {
  output += text;
  output += u'\n';
}

void FakePlatform::WriteErrorText(std::span<const std::u16string_view> lines) {
  for (std::u16string_view line : lines) {
    error += line;
    error += u'\n';
  }
}
