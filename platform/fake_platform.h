// A platform for unit tests: a settable command line, clock, UTC offset and
// directory, with a record of what the code asked of it and wrote.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/platform.h"

struct FakeEntry {
  TimeValue created = 0;
  TimeValue accessed = 0;
  TimeValue modified = 0;
};

class FakePlatform final : public Platform {
 public:
  Text commandLine;
  TimeValue now = 0;
  int64_t utcOffsetTicks = 0;
  std::map<Text, FakeEntry> entries;
  bool outputIsConsole = false;
  bool errorIsConsole = false;

  std::vector<Text> namesLookedUp;
  std::string outputBytes;  // what reached standard output as bytes
  std::string errorBytes;   // what reached standard error as bytes
  Text outputConsole;       // what reached standard output as console text
  Text errorConsole;
  int outputFlushes = 0;

  Text CommandLineText() override { return commandLine; }
  TimeValue CurrentTime() override { return now; }
  TimeValue ToLocalTime(TimeValue utc) override;
  bool FindEntryStamps(const Text& name, TimeValue stamps[3]) override;
  void LowerCase(Text& text) override;
  bool WriteToConsole(Channel channel, const char16_t* text, size_t count) override;
  void WriteToFile(Channel channel, const unsigned char* bytes, size_t count) override;
  void FlushChannel(Channel channel) override;
};
