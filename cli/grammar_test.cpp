#include "cli/grammar.h"

#include <gtest/gtest.h>

#include "platform/fake_platform.h"

namespace {

using enum StampKind;

// Parses "prog " + parameters the way a run does: the first parameter is
// file1, the grammar reads the rest.
RunRequest Parse(const Text& parameters) {
  FakePlatform platform(FakeSystem::Windows);
  platform.commandLine = u"prog " + parameters;
  RunRequest request;
  request.file1 = platform.NextParameter();
  ParseArguments(request, platform);
  return request;
}

struct GrammarCase {
  const char16_t* parameters;
  int acceptMask;
  StampKind stamp1;
  StampKind stamp2;
  DateMode dateMode;
  bool debug;
  const char16_t* file2;
  const char16_t* message;
};

const GrammarCase GrammarCases[] = {
    {u"a before b", 2, Modified, Modified, DateMode::Exact, false, u"b", u""},
    {u"a BEFORE b /DateUTC", 2, Modified, Modified, DateMode::Utc, false, u"b", u""},
    {u"a Sametime b /DEBUG", 1, Modified, Modified, DateMode::Exact, true, u"b", u""},
    {u"a created before b accessed", 2, Created, Accessed, DateMode::Exact, false, u"b", u""},
    {u"a before b created", 2, Modified, Created, DateMode::Exact, false, u"b", u""},
    {u"a CHANGED before b", 2, Changed, Changed, DateMode::Exact, false, u"b", u""},
    {u"a before b Changed", 2, Modified, Changed, DateMode::Exact, false, u"b", u""},
    {u"a not before b", 5, Modified, Modified, DateMode::Exact, false, u"b", u""},
    {u"a before not b", 5, Modified, Modified, DateMode::Exact, false, u"b", u""},
    {u"a not not after b", 4, Modified, Modified, DateMode::Exact, false, u"b", u""},
    {u"a before after b", 6, Modified, Modified, DateMode::Exact, false, u"b", u""},
    {u"a before after sametime b", 7, Modified, Modified, DateMode::Exact, false, u"b", u""},
    {u"a not before after sametime b", 0, Modified, Modified, DateMode::Exact, false, u"b", u""},
    {u"a before b not", 2, Modified, Modified, DateMode::Exact, false, u"b", u""},
    {u"a before b c", 2, Modified, Modified, DateMode::Exact, false, u"bc", u""},
    {u"a before today -8", 2, Modified, Modified, DateMode::Exact, false, u"today-8", u""},
    {u"a before b /dateutc /datelocal", 2, Modified, Modified, DateMode::Local, false, u"b", u""},
    {u"a /datelocal /dateutc after b", 4, Modified, Modified, DateMode::Utc, false, u"b", u""},
    {u"a before b \"\" c /debug", 2, Modified, Modified, DateMode::Exact, false, u"b", u""},
    {u"a \"\" b", 0, Created, Modified, DateMode::Exact, false, u"", u""},
    {u"a accessed before", 0, Created, Accessed, DateMode::Exact, false, u"", u""},
    {u"a before beforehand", 2, Modified, Modified, DateMode::Exact, false, u"beforehand", u""},
    // Errors stop the loop before stamp2 is captured.
    {u"a before before b", 0, Created, Created, DateMode::Exact, false, u"", u"Syntax error: b"},
    {u"a Bee", 0, Created, Created, DateMode::Exact, false, u"", u"Syntax error: Bee"},
    {u"a /? before b", 0, Created, Created, DateMode::Exact, false, u"", u"Syntax error: /?"},
    {u"a before b before c", 2, Modified, Created, DateMode::Exact, false, u"b",
     u"Syntax error: c"},
    {u"a before b /tolerances/x /debug:1", 2, Modified, Modified, DateMode::Exact, false,
     u"b/tolerances/x/debug:1", u""},
    // /s needs a set operand, which it finds once every parameter is read.
    {u"a before NEWEST:b /S", 2, Modified, Modified, DateMode::Exact, false, u"NEWEST:b", u""},
    {u"a /s after oldest:", 4, Modified, Modified, DateMode::Exact, false, u"oldest:", u""},
    {u"a before b /S /s", 2, Modified, Modified, DateMode::Exact, false, u"b", u"Syntax error: /S"},
    {u"a before b /s:x", 2, Modified, Modified, DateMode::Exact, false, u"b/s:x", u""},
    {u"a /s x", 0, Created, Created, DateMode::Exact, false, u"", u"Syntax error: x"},
    // The first error wins.
    {u"a x /tolerance:y", 0, Created, Created, DateMode::Exact, false, u"", u"Syntax error: x"},
    {u"a /tolerance:y x", 0, Created, Created, DateMode::Exact, false, u"",
     u"Syntax error: /tolerance:y"},
};

TEST(ParseArguments, KeywordsAndOperandPiecesFillTheRequest) {
  for (const GrammarCase& c : GrammarCases) {
    SCOPED_TRACE(testing::Message() << "parameters #" << (&c - GrammarCases));
    const RunRequest request = Parse(c.parameters);
    EXPECT_EQ(request.file1, u"a");
    EXPECT_EQ(request.acceptMask, c.acceptMask);
    EXPECT_EQ(request.stamp1, c.stamp1);
    EXPECT_EQ(request.stamp2, c.stamp2);
    EXPECT_EQ(request.dateMode, c.dateMode);
    EXPECT_EQ(request.debug, c.debug);
    EXPECT_EQ(request.file2, c.file2);
    EXPECT_EQ(request.message, c.message);
  }
}

TEST(ParseArguments, ToleranceIsSecondsWithUpToSevenDecimalsTheLastOneWinning) {
  const std::pair<const char16_t*, TimeValue> valid[] = {
      {u"/tolerance:2", 2 * TicksPerSecond},
      {u"/TOLERANCE:3600 /Tolerance:0.01", TicksPerSecond / 100},
      {u"/tolerance:00.0000001", 1},
      {u"/tolerance:922337203685.4775807", INT64_MAX}};
  for (const auto& [option, ticks] : valid) {
    const RunRequest request = Parse(Text(u"a before b ") + option);
    EXPECT_EQ(request.message, u"");
    EXPECT_EQ(request.toleranceTicks, ticks);
  }
  for (const char16_t* option :
       {u"/tolerance", u"/tolerance:", u"/Tolerance:-1", u"/tolerance:+1", u"/tolerance:2s",
        u"/tolerance:1.2.3", u"/tolerance:1.", u"/tolerance:.5", u"/tolerance:0.12345678",
        u"/tolerance:922337203685.4775808", u"/tolerance:99999999999999999999"}) {
    EXPECT_EQ(Parse(Text(u"a before b ") + option).message, Text(u"Syntax error: ") + option);
  }
}

TEST(ParseArguments, DstIsAnOptionWithoutAValue) {
  const struct {
    const char16_t* parameters;
    bool hourShift;
    const char16_t* file2;
    const char16_t* message;
  } cases[] = {
      {u"a before b /dst", true, u"b", u""},
      {u"a /DST before b", true, u"b", u""},
      {u"a before /Dst b", true, u"b", u""},
      {u"a before b /dst:x", false, u"b/dst:x", u""},
      {u"a before b /dsts", false, u"b/dsts", u""},
      {u"a /dst:x before b", false, u"", u"Syntax error: /dst:x"},
      {u"a /dst x /tolerance:y", true, u"", u"Syntax error: x"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(Text(c.parameters)));
    const RunRequest request = Parse(c.parameters);
    EXPECT_EQ(request.hourShift, c.hourShift);
    EXPECT_EQ(request.file2, c.file2);
    EXPECT_EQ(request.message, c.message);
  }
}

TEST(ParseArguments, FirstParameterIsNeverAKeyword) {
  const RunRequest request = Parse(u"before before x");
  EXPECT_EQ(request.file1, u"before");
  EXPECT_EQ(request.file2, u"x");
  EXPECT_EQ(request.message, u"");
}

}  // namespace
