#include "app/run_driver.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "platform/fake_platform.h"

namespace {

// The usage text as tests/expected/usage.txt holds it, one ASCII line ending
// in LF each (DATORA_EXPECTED_USAGE names the file); empty when it cannot
// be read.
Text ExpectedUsage() {
  Text usage;
  FILE* file = std::fopen(DATORA_EXPECTED_USAGE, "rb");
  if (file == nullptr) return usage;
  for (int byte = std::fgetc(file); byte != EOF; byte = std::fgetc(file)) {
    usage.push_back(static_cast<char16_t>(byte));
  }
  std::fclose(file);
  return usage;
}

TEST(RunDatora, UsageTextGoesToStandardErrorForMissingEmptyOrHelpParameter) {
  const Text usage = ExpectedUsage();
  ASSERT_FALSE(usage.empty()) << "cannot read " << DATORA_EXPECTED_USAGE;
  for (const char16_t* line : {u"prog", u"prog  ", u"prog \"\" before b", u"prog /?"}) {
    SCOPED_TRACE(testing::Message() << "line " << testing::PrintToString(Text(line)));
    FakePlatform platform(FakeSystem::Windows);
    platform.commandLine = line;
    EXPECT_EQ(RunDatora(platform), ExitError);
    EXPECT_EQ(platform.error, usage + u"\n");
    EXPECT_EQ(platform.output, u"");
    EXPECT_TRUE(platform.namesLookedUp.empty());
  }
}

// Stamps on a fixed day D; "late" is written at 21:00 UTC.
constexpr TimeValue D = 154'000 * TicksPerDay;
constexpr TimeValue Hour = 60 * TicksPerMinute;

struct RunCase {
  const char16_t* line;
  ExitCode code;
  const char16_t* error;   // lines on standard error
  const char16_t* output;  // lines on standard output
  std::vector<Text> namesLookedUp;
};

const RunCase RunCases[] = {
    {u"prog old before new", ExitTrue, u"", u"", {u"old", u"new"}},
    {u"prog old after new", ExitFalse, u"", u"", {u"old", u"new"}},
    {u"prog old before new /debug",
     ExitTrue,
     u"",
     u"Resp: true\nDiff: 3600 seconds before\n",
     {u"old", u"new"}},
    {u"prog old after new /debug /datelocal",
     ExitFalse,
     u"",
     u"Resp: false\nDiff: 0 days\n",
     {u"old", u"new"}},
    {u"prog /h before new", ExitError, u"Not found or invalid: /h\n", u"", {u"/h"}},
    {u"prog missing before absent /debug",
     ExitError,
     u"Not found or invalid: missing\n",
     u"",
     {u"missing"}},
    {u"prog old before absent /debug",
     ExitError,
     u"Not found or invalid: absent\n",
     u"",
     {u"old", u"absent"}},
    {u"prog old before", ExitError, u"Not found or invalid: \n", u"", {u"old"}},
    {u"prog old new", ExitError, u"Syntax error: new\n", u"", {}},
    {u"prog old before /?",
     ExitError,
     u"Not found or invalid: /?\n",
     u"",
     {u"old"}},  // "?" is never searched,
    {u"prog old before today-x /debug",
     ExitError,
     u"Invalid date/time expression: today-x\n",
     u"",
     {u"old"}},
    // now is D + 23:30 UTC and the local offset +2 h: local "today" is D + 1,
    // while "late" (21:00 UTC, 23:00 local) is still on day D either way.
    {u"prog late sametime today /debug",
     ExitFalse,
     u"",
     u"Resp: false\nDiff: 1 days before\n",
     {u"late"}},
    {u"prog late sametime today /dateutc /debug",
     ExitTrue,
     u"",
     u"Resp: true\nDiff: 0 days\n",
     {u"late"}},
    // The verdict allows the tolerance; the report gives the exact difference.
    {u"prog old sametime new /tolerance:3600 /debug",
     ExitTrue,
     u"",
     u"Resp: true\nDiff: 3600 seconds before\n",
     {u"old", u"new"}},
    // One hour apart: the same time with /dst.
    {u"prog old sametime new /DST /debug",
     ExitTrue,
     u"",
     u"Resp: true\nDiff: 3600 seconds before\n",
     {u"old", u"new"}},
    // The tolerance applies before the day cut, in both date modes; the
    // report gives the days as cut.
    {u"prog eve sametime midnight /datelocal /tolerance:1 /debug",
     ExitTrue,
     u"",
     u"Resp: true\nDiff: 1 days before\n",
     {u"eve", u"midnight"}},
    {u"prog eve sametime midnight /datelocal /debug",
     ExitFalse,
     u"",
     u"Resp: false\nDiff: 1 days before\n",
     {u"eve", u"midnight"}},
    // A day is no moment: the tolerance leaves it alone.
    {u"prog eve before date:2022-08-23 /tolerance:1 /dst /debug",
     ExitTrue,
     u"",
     u"Resp: true\nDiff: 1 days before\n",
     {u"eve"}},
    {u"prog utcmidnight sametime utceve /dateutc /dst /debug",
     ExitTrue,
     u"",
     u"Resp: true\nDiff: 1 days after\n",
     {u"utcmidnight", u"utceve"}},
    {u"prog late after now-180 /datelocal /debug",
     ExitTrue,
     u"",
     u"Resp: true\nDiff: 1800 seconds after\n",
     {u"late"}},
    // Sets: d holds old's and new's stamps, d\\sub one an hour later.
    {u"prog newest:d after old /debug",
     ExitTrue,
     u"",
     u"Resp: true\nDiff: 3600 seconds after\nFile1: d\\n\n",
     {u"old"}},
    {u"prog old before NEWEST:d /s /debug",
     ExitTrue,
     u"",
     u"Resp: true\nDiff: 7200 seconds before\nFile2: d\\sub\\n2\n",
     {u"old"}},
    {u"prog oldest:d sametime oldest:d /s /debug",
     ExitTrue,
     u"",
     u"Resp: true\nDiff: 0 seconds\nFile1: d\\o\nFile2: d\\o\n",
     {}},
    {u"prog old before new /s", ExitError, u"Syntax error: /s\n", u"", {}},
    {u"prog newest:gone before oldest:absent",
     ExitError,
     u"Not found or invalid: newest:gone\n",
     u"",
     {}},
    {u"prog newest:empty after old", ExitError, u"No files in: newest:empty\n", u"", {u"old"}},
};

TEST(RunDatora, WholeRunsOnTheFakeGiveCodeMessageAndReport) {
  for (const RunCase& c : RunCases) {
    SCOPED_TRACE(testing::Message() << "line " << testing::PrintToString(Text(c.line)));
    FakePlatform platform(FakeSystem::Windows);
    platform.commandLine = c.line;
    platform.now = D + 23 * Hour + 30 * TicksPerMinute;
    platform.utcOffsetTicks = 2 * Hour;
    platform.entries[u"old"] = {D + Hour, D + Hour, D + 10 * Hour};
    platform.entries[u"new"] = {D + Hour, D + Hour, D + 11 * Hour};
    platform.entries[u"late"] = {0, 0, D + 21 * Hour};
    // Local midnight, and half a second before it; UTC midnight, and an
    // hour before it.
    platform.entries[u"midnight"] = {0, 0, D + 22 * Hour};
    platform.entries[u"eve"] = {0, 0, D + 22 * Hour - TicksPerSecond / 2};
    platform.entries[u"utcmidnight"] = {0, 0, D + 24 * Hour};
    platform.entries[u"utceve"] = {0, 0, D + 23 * Hour};
    platform.directories[u"d"].entries = {{u"o", false, {}, platform.entries[u"old"]},
                                          {u"sub", true, {}, {}},
                                          {u"n", false, {}, platform.entries[u"new"]}};
    platform.directories[u"d\\sub"].entries = {{u"n2", false, {}, {0, 0, D + 12 * Hour}}};
    platform.directories[u"empty"] = {};
    EXPECT_EQ(RunDatora(platform), c.code);
    EXPECT_EQ(platform.error, c.error);
    EXPECT_EQ(platform.output, c.output);
    EXPECT_EQ(platform.namesLookedUp, c.namesLookedUp);
  }
}

}  // namespace
