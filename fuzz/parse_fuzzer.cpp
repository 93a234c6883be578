// Arbitrary bytes as a UTF-16 command line, through the splitter, the
// grammar and a whole run on the fake platform.
#include <cstddef>
#include <cstdint>

#include "app/run_driver.h"
#include "base/messages.h"
#include "cli/grammar.h"
#include "cli/run_request.h"
#include "fuzz/fuzz_support.h"
#include "platform/command_line.h"
#include "platform/fake_platform.h"

namespace {

constexpr TimeValue FuzzNow = 133'500'000'000'000'000;  // late 2024

void AddEntries(FakePlatform& platform) {
  platform.now = FuzzNow;
  platform.utcOffsetTicks = TicksPerSecond * 3600 * 2;
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
  CommandLine commandLine = OpenCommandLine(line);
  Text first = NextParameter(commandLine);
  Require(first.find(u'"') == Text::npos, "first parameter holds a quote");
  Require(commandLine.position <= line.size(), "scan passed the end of the line");
  FakePlatform platform(FakeSystem::Windows);
  platform.commandLine = line;
  RunRequest request;
  request.file1 = platform.NextParameter();
  Require(request.file1 == first, "the fake splits unlike the splitter");
  ParseArguments(request, platform);
  Require(request.file2.find(u'"') == Text::npos, "second operand holds a quote");
  Require(request.relationMask >= 0 && request.relationMask <= 7, "relation mask out of range");
  Require(request.notMask == 0 || request.notMask == 7, "not mask neither 0 nor 7");
  Require(request.toleranceTicks >= 0, "negative tolerance");
  Require(request.acceptMask >= 0 && request.acceptMask <= 7, "accept mask out of range");
  Require(request.file2.size() <= line.size(), "second operand longer than the line");
  if (!request.message.empty()) {
    Require(request.message.rfind(u"Syntax error: ", 0) == 0, "grammar message without prefix");
  }
}

// A whole run: 0, 1 or 255, with the right lines on the right channel.
void CheckRun(const Text& line) {
  FakePlatform platform(FakeSystem::Windows);
  AddEntries(platform);
  platform.commandLine = line;
  const ExitCode code = RunDatora(platform);
  Require(code == ExitTrue || code == ExitFalse || code == ExitError, "exit code not 0, 1, 255");
  Require(platform.namesLookedUp.size() <= 2, "more than two names looked up");
  if (code == ExitError) {
    const Text& err = platform.error;
    Require(platform.output.empty(), "standard output written on an error");
    Require(err.ends_with(u'\n'), "error text without a line end");
    const bool known =
        err.starts_with(u"Syntax error: ") || err.starts_with(u"Not found or invalid: ") ||
        err.starts_with(u"Invalid date/time expression: ") || err.starts_with(UsageLines()[0]);
    Require(known, "error text with an unknown beginning");
    return;
  }
  Require(platform.error.empty(), "standard error written on a verdict");
  const Text& out = platform.output;
  if (out.empty()) return;
  Require(out.starts_with(code == ExitTrue ? u"Resp: true\nDiff: " : u"Resp: false\nDiff: "),
          "report does not start with the verdict line");
  Require(out.ends_with(u'\n') && out.find(u'\n', 12) == out.size() - 1, "report not two lines");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ByteReader reader{data, size};
  const Text line = reader.RestAsText();
  CheckParse(line);
  CheckRun(line);
  return 0;
}
