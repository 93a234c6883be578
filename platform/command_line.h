// The Windows command line: one text that the program splits itself, by
// Datora's own rules rather than the C runtime's: only spaces separate,
// double quotes protect spaces and are removed, there is no backslash
// escaping, and a parameter that begins with a quote ends at its closing
// quote even when no space follows ("ab"cd gives ab, then cd). Pure code,
// linked into the Windows build, the fake platform and the unit tests.
#pragma once

#include <cstddef>

#include "base/text.h"

// A scan over one command line. The position is kept between calls, so
// handing out all parameters costs time linear in the text's length.
struct CommandLine {
  Text text;
  size_t position = 0;
  bool programPathSkipped = false;
};

CommandLine OpenCommandLine(Text text);

// The next parameter after the program path, with every double quote
// removed; the empty text when none is left. An explicitly empty parameter
// ("") gives the empty text as well.
Text NextParameter(CommandLine& commandLine);
