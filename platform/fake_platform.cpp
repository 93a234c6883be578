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

// Sets of files, as plainly as the tests need them: no name rules beyond
// the member prefix, every stamp readable.
PathKind FakePlatform::ProbeSetPath(const Text& path) {
  if (directories.count(path) != 0) return PathKind::Directory;
  return entries.count(path) != 0 ? PathKind::Entry : PathKind::Missing;
}

ListingEnd FakePlatform::ListDirectory(const Text& root, std::span<const Text> below, StampKind,
                                       ListingVisitor& visitor) {
  Text key = root;
  for (const Text& component : below) key += u'/' + component;
  const auto found = directories.find(key);
  if (found == directories.end()) return ListingEnd::Vanished;
  for (const FakeListedEntry& listed : found->second) {
    ListedEntry entry;
    entry.name = listed.name;
    entry.isDirectory = listed.isDirectory;
    entry.stamps = listed.stamps;
    if (!visitor.Visit(entry)) break;
  }
  return ListingEnd::Listed;
}

Text FakePlatform::MemberPathPrefix(const Text& path) {
  if (system == FakeSystem::Windows) return WindowsMemberPathPrefix(path);
  return !path.empty() && path.back() == u'/' ? path : path + u'/';
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
