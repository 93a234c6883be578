#include "platform/command_line.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct SplitCase {
  const char16_t* line;
  std::vector<Text> parameters;  // what consecutive NextParameter calls return
};

const SplitCase SplitCases[] = {
    {u"", {}},
    {u"prog", {}},
    {u"prog  a   b", {u"a", u"b"}},
    {u"   prog a b   ", {u"a", u"b"}},
    {u"prog a\tb c", {u"a\tb", u"c"}},
    {u"prog \"C:\\My Files\\a.txt\"", {u"C:\\My Files\\a.txt"}},
    {u"prog C:\\\"My Files\"\\a.txt", {u"C:\\My Files\\a.txt"}},
    {u"\"C:\\Program Files\\prog.exe\" a", {u"a"}},
    {u"C:\\Program Files\\prog.exe a", {u"Files\\prog.exe", u"a"}},
    {u"prog \"a b  c", {u"a b  c"}},
    {u"prog x\"a b  c", {u"xa b  c"}},
    {u"prog \"\" a", {u"", u"a"}},
    {u"prog \"\"\"\" a", {u"", u"", u"a"}},
    {u"prog a \"", {u"a", u""}},
    {u"prog a \" x", {u"a", u" x"}},
    {u"\"C:\\my prog.exe\"x y", {u"x", u"y"}},
    {u"prog \"ab\"cd", {u"ab", u"cd"}},
    {u"prog a\"b c\"d", {u"ab cd"}},
    {u"prog a\\\"b c\" d", {u"a\\b c", u"d"}},
    {u"prog \"a\\\" b", {u"a\\", u"b"}},
};

TEST(NextParameter, HandsOutEachParameterThenEmptyText) {
  for (const SplitCase& c : SplitCases) {
    SCOPED_TRACE(testing::Message() << "line #" << (&c - SplitCases));
    CommandLine commandLine = OpenCommandLine(c.line);
    for (const Text& expected : c.parameters) EXPECT_EQ(NextParameter(commandLine), expected);
    EXPECT_EQ(NextParameter(commandLine), u"");
    EXPECT_EQ(NextParameter(commandLine), u"");
  }
}

TEST(NextParameter, LongLineGivesEveryParameterInOrder) {
  constexpr size_t count = 200'000;
  Text line = u"prog";
  for (size_t i = 0; i < count; ++i) {
    line.push_back(u' ');
    line.push_back(static_cast<char16_t>(u'a' + i % 26));
  }
  CommandLine commandLine = OpenCommandLine(line);
  size_t mismatches = 0;
  for (size_t i = 0; i < count; ++i) {
    if (NextParameter(commandLine) != Text(1, static_cast<char16_t>(u'a' + i % 26))) ++mismatches;
  }
  EXPECT_EQ(mismatches, 0u);
  EXPECT_EQ(NextParameter(commandLine), u"");
}

}  // namespace
