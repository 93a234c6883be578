// Hands the Windows command-line splitter the command line that Windows
// would give datora.exe for these arguments (joined by spaces) and takes
// every parameter out of it, so that tests/guards/check_linear_cost.sh can
// count the splitter's instructions natively, under callgrind.
#include "platform/command_line.h"

int main(int argc, char** argv) {
  Text line = u"datora.exe";
  for (int i = 1; i < argc; ++i) {
    line += u' ';
    for (const char* c = argv[i]; *c != '\0'; ++c) line += static_cast<char16_t>(*c);
  }
  CommandLine commandLine = OpenCommandLine(line);
  while (!NextParameter(commandLine).empty()) {
  }
  return 0;
}
