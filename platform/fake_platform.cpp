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

bool FakePlatform::FindEntryStamps(const Text& name, StampKind, EntryStamps& stamps) {
  Text searched = name;
  if (system == FakeSystem::Windows && !WindowsSearchName(name, searched)) return false;
  namesLookedUp.push_back(searched);
  const auto found = entries.find(searched);
  if (found == entries.end()) return false;
  stamps = found->second;
  return true;
}

PathKind FakePlatform::ProbeSetPath(const Text& path) {
  if (directories.contains(path)) return PathKind::Directory;
  return entries.contains(path) ? PathKind::Entry : PathKind::Missing;
}

// The stamps of a listing are those of its table; `kind` only says which
// one a real system would read.
ListingEnd FakePlatform::ListDirectory(const Text& root, std::span<const Text> below, StampKind,
                                       ListingVisitor& visitor) {
  Text key = below.empty() ? root : MemberPathPrefix(root);
  for (size_t i = 0; i < below.size(); ++i) {
    if (i > 0) key += PathSeparator();
    key += below[i];
  }
  directoriesListed.push_back(key);
  const auto found = directories.find(key);
  if (found == directories.end()) return ListingEnd::Vanished;
  if (found->second.end != ListingEnd::Listed) return found->second.end;
  for (const FakeListed& listed : found->second.entries) {
    if (!visitor.Visit({listed.name, listed.isDirectory, listed.status, listed.stamps})) break;
  }
  return ListingEnd::Listed;
}

Text FakePlatform::MemberPathPrefix(const Text& path) {
  Text prefix = path;
  if (prefix.empty() || prefix.back() != PathSeparator()) prefix += PathSeparator();
  return prefix;
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
