#include "platform/fake_platform.h"

#include <iterator>

#include "platform/ascii_case.h"
#include "platform/windows_names.h"

Text FakePlatform::NextParameter() {
  if (system == FakeSystem::Linux) {
    return nextArgument < arguments.size() ? arguments[nextArgument++] : Text();
  }
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

bool FakePlatform::FindEntryStamps(const Text& name, EntryStamps& stamps) {
  Text searched = name;
  if (system == FakeSystem::Windows && !WindowsSearchName(name, searched)) return false;
  namesLookedUp.push_back(searched);
  const auto found = entries.find(searched);
  if (found == entries.end()) return false;
  stamps = found->second;
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
