// A platform for unit tests: a settable command line, clock, UTC offset,
// table of the zone's offsets and directory, with a record of what the code
// asked of it and wrote. It splits its command line with the Windows
// splitter, looks names up exactly as given and lower-cases like the Linux
// build.
#pragma once

#include <map>
#include <vector>

#include "platform/command_line.h"
#include "platform/platform.h"

struct FakeEntry {
  TimeValue created = 0;
  TimeValue accessed = 0;
  TimeValue modified = 0;
};

class FakePlatform final : public Platform {
 public:
  // The whole command line, program path first; read from the start by
  // the first NextParameter call.
  Text commandLine;
  TimeValue now = 0;
  int64_t utcOffsetTicks = 0;  // the offset in force now, for ToLocalTime
  // The zone's rules for UtcOffsetAt: from each UTC moment on, an offset;
  // before the first moment, and with no entry at all, utcOffsetTicks.
  std::map<TimeValue, int64_t> offsetChanges;
  std::map<Text, FakeEntry> entries;

  std::vector<Text> namesLookedUp;
  Text output;  // what reached standard output, each line ended by LF
  Text error;   // what reached standard error, each line ended by LF

  Text NextParameter() override;
  TimeValue CurrentTime() override { return now; }
  TimeValue ToLocalTime(TimeValue utc) override;
  int64_t UtcOffsetAt(TimeValue utc) override;
  bool FindEntryStamps(const Text& name, TimeValue stamps[3]) override;
  void LowerCase(Text& text) override;
  void WriteLine(const Text& text) override;
  void WriteErrorText(std::span<const std::u16string_view> lines) override;

 private:
  CommandLine scan;
  bool scanOpened = false;
};
