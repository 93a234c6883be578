// The one boundary between Datora and the operating system. Everything
// above platform/ talks to the system through this interface only; the
// build picks the POSIX or the Win32 implementation, and unit tests use
// the fake in fake_platform.h.
#pragma once

#include <cstddef>
#include <string>

#include "timing/time_value.h"

// UTF-16 text, as the Windows console and file system use it.
using Text = std::u16string;

enum class Channel { Output, Error };

class Platform {
 public:
  virtual ~Platform() = default;

  // The whole command line as one text: the program path followed by the
  // parameters exactly as typed, quotes included.
  virtual Text CommandLineText() = 0;

  // The current UTC time on the tick scale.
  virtual TimeValue CurrentTime() = 0;

  // Converts a UTC value to local time with the UTC offset in force at the
  // moment of the run (not the offset of the value's own date).
  virtual TimeValue ToLocalTime(TimeValue utc) = 0;

  // Looks up the directory entry named exactly `name` without opening it.
  // Found: fills stamps[created, accessed, modified] (UTC; 0 where the file
  // system records none) and returns true. Missing, or a name the system
  // cannot take (an embedded NUL, say): returns false.
  virtual bool FindEntryStamps(const Text& name, TimeValue stamps[3]) = 0;

  // Lower-cases `text` in place with the platform's mapping.
  virtual void LowerCase(Text& text) = 0;

  // Writes text to the channel when it is a console (terminal) and returns
  // true; returns false, writing nothing, when the channel is redirected.
  virtual bool WriteToConsole(Channel channel, const char16_t* text, size_t count) = 0;

  // Writes raw bytes to the channel. Failures (closed channel, full disk)
  // are ignored: the exit code is all a script relies on.
  virtual void WriteToFile(Channel channel, const unsigned char* bytes, size_t count) = 0;

  // Flushes the channel's buffers.
  virtual void FlushChannel(Channel channel) = 0;
};

// The real platform of this build. `argc`/`argv` are main()'s; the Win32
// build ignores them and reads the command line from the system.
Platform& OpenSystemPlatform(int argc, char** argv);

// Ends the process with `code`.
[[noreturn]] void EndProcess(ExitCode code);
