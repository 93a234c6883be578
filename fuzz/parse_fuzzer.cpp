// Arbitrary bytes as a UTF-16 command line, through the splitter, the
// grammar and a whole run on the fake platform.
#include <cstddef>
#include <cstdint>

#include "app/run_driver.h"
#include "cli/grammar.h"
#include "cli/run_request.h"
#include "cli/split.h"
#include "fuzz/fuzz_support.h"
#include "platform/fake_platform.h"

namespace {

constexpr TimeValue FuzzNow = 133'500'000'000'000'000;  // late 2024

void AddEntries(FakePlatform& platform) {
  platform.now = FuzzNow;
  platform.utcOffsetTicks = 2 * 3600 * TicksPerSecond;
  platform.entries[u"old.txt"] = {FuzzNow - 900 * TicksPerDay, FuzzNow - 800 * TicksPerDay,
                                  FuzzNow - 700 * TicksPerDay};
  platform.entries[u"new.txt"] = {FuzzNow - 3 * TicksPerDay, FuzzNow - 2, FuzzNow - 1};
  platform.entries[u"folder"] = {1, 1, 1};
  platform.entries[u"zero"] = {0, 0, 0};
  platform.entries[u"a"] = {FuzzNow, FuzzNow, FuzzNow};
}

// Splitting and parsing alone: every parameter is quote-free, the scan
// always ends, and the masks stay within their bits.
void CheckParse(const Text& line) {
  FakePlatform platform;
  CommandLine commandLine = OpenCommandLine(line);
  RunRequest request;
  request.file1 = NextParameter(commandLine);
  Require(request.file1.find(u'"') == Text::npos, "first parameter holds a quote");
  Require(commandLine.position <= line.size(), "scan passed the end of the line");
  ParseArguments(request, commandLine, platform);
  Require(commandLine.position <= line.size(), "scan passed the end of the line");
  Require(request.file2.find(u'"') == Text::npos, "second operand holds a quote");
  Require(request.relationMask >= 0 && request.relationMask <= 7, "relation mask out of range");
  Require(request.notMask == 0 || request.notMask == 7, "not mask neither 0 nor 7");
  Require(request.acceptMask >= 0 && request.acceptMask <= 7, "accept mask out of range");
  Require(request.file2.size() <= line.size(), "second operand longer than the line");
  if (!request.message.empty()) {
    Require(request.message.rfind(u"Syntax error: ", 0) == 0, "grammar message without prefix");
  }
}

// A whole run: 0, 1 or 255, with the right bytes on the right channel.
void CheckRun(const Text& line) {
  FakePlatform platform;
  AddEntries(platform);
  platform.commandLine = line;
  const ExitCode code = RunDatora(platform);
  Require(code == ExitTrue || code == ExitFalse || code == ExitError, "exit code not 0, 1, 255");
  Require(platform.outputConsole.empty() && platform.errorConsole.empty(),
          "console written while redirected");
  Require(platform.namesLookedUp.size() <= 2, "more than two names looked up");
  if (code == ExitError) {
    const std::string& err = platform.errorBytes;
    Require(platform.outputBytes.empty(), "standard output written on an error");
    Require(err.size() >= 2 && err.size() % 2 == 0, "error text not UTF-16LE");
    Require(err.compare(err.size() - 2, 2, std::string("\n\0", 2)) == 0, "error text without LF");
    const bool known = StartsWith(err, Utf16Le(u"Syntax error: ")) ||
                       StartsWith(err, Utf16Le(u"Not found or invalid: ")) ||
                       StartsWith(err, Utf16Le(u"Invalid date/time expression: ")) ||
                       StartsWith(err, Utf16Le(u"Datora, ver. 2.4"));
    Require(known, "error text with an unknown beginning");
    return;
  }
  Require(platform.errorBytes.empty(), "standard error written on a verdict");
  const std::string& out = platform.outputBytes;
  if (out.empty()) return;
  const std::string head =
      Utf16Le(code == ExitTrue ? u"Resp: true\r\nDiff: " : u"Resp: false\r\nDiff: ");
  Require(StartsWith(out, head), "report does not start with the verdict line");
  Require(out.compare(out.size() - 4, 4, Utf16Le(u"\r\n")) == 0, "report without CR LF");
  Require(platform.outputFlushes == 2, "report lines not flushed one by one");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ByteReader reader{data, size};
  const Text line = reader.RestAsText();
  CheckParse(line);
  CheckRun(line);
  return 0;
}
