// A platform for unit tests: a settable command line, clock, UTC offset,
// table of the zone's offsets and directory, with a record of what the code
// asked of it and wrote. A test says which system it stands for: that
// system's way of passing parameters and its name rule apply. Both
// lower-case ASCII only, as the Linux build does; the Windows mapping
// agrees with it on every letter of the keywords.
#pragma once

#include <map>
#include <vector>

#include "platform/command_line.h"
#include "platform/platform.h"

using FakeEntry = EntryStamps;

// One entry of a fake directory listing.
struct FakeListed {
  Text name;
  bool isDirectory = false;
  ListedEntry::Stamps status = ListedEntry::Stamps::Read;
  EntryStamps stamps;
};

struct FakeDirectory {
  ListingEnd end = ListingEnd::Listed;  // Unreadable: lists nothing
  std::vector<FakeListed> entries;      // in the order the listing gives them
};

enum class FakeSystem {
  // One command-line text, split as datora.exe splits it; a name is looked
  // up as the Windows search would take it (WindowsSearchName).
  Windows,
  // The parameters one by one, as argv holds them; a name is looked up
  // exactly as given.
  Linux,
};

class FakePlatform final : public Platform {
 public:
  explicit FakePlatform(FakeSystem system) : system(system) {}

  // Windows: the whole command line, program path first; read from the
  // start by the first NextParameter call.
  Text commandLine;
  // Linux: the parameters after the program's own name.
  std::vector<Text> arguments;
  TimeValue now = 0;
  int64_t utcOffsetTicks = 0;  // the offset in force now, for ToLocalTime
  // The zone's rules for UtcOffsetAt: from each UTC moment on, an offset;
  // before the first moment, and with no entry at all, utcOffsetTicks.
  std::map<TimeValue, int64_t> offsetChanges;
  std::map<Text, FakeEntry> entries;
  // Directories for set operands, by their path: the set path as typed, or
  // its member prefix and the components below joined by the separator.
  std::map<Text, FakeDirectory> directories;
  std::vector<Text> directoriesListed;  // the keys, in the order listed

  std::vector<Text> namesLookedUp;  // as the system would search them
  Text output;                      // what reached standard output, each line ended by LF
  Text error;                       // what reached standard error, each line ended by LF

  Text NextParameter() override;
  TimeValue CurrentTime() override { return now; }
  TimeValue ToLocalTime(TimeValue utc) override;
  int64_t UtcOffsetAt(TimeValue utc) override;
  bool FindEntryStamps(const Text& name, StampKind kind, EntryStamps& stamps) override;
  PathKind ProbeSetPath(const Text& path) override;
  ListingEnd ListDirectory(const Text& root, std::span<const Text> below, StampKind kind,
                           ListingVisitor& visitor) override;
  char16_t PathSeparator() override { return system == FakeSystem::Windows ? u'\\' : u'/'; }
  Text MemberPathPrefix(const Text& path) override;
  void LowerCase(Text& text) override;
  void WriteLine(const Text& text) override;
  void WriteErrorText(std::span<const std::u16string_view> lines) override;

 private:
  FakeSystem system;
  CommandLine scan;
  bool scanOpened = false;
  size_t nextArgument = 0;
};
