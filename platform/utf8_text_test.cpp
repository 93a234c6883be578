#include "platform/utf8_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Encode(const Text& text) { return EncodeUtf8(text.data(), text.size()); }

struct DecodeCase {
  std::string bytes;
  Text text;
};

const DecodeCase DecodeCases[] = {
    {"", u""},
    {"abc", u"abc"},
    {std::string("a\0b", 3), Text(u"a\0b", 3)},
    {"\xC3\xA9", u"\u00E9"},
    {"\xE2\x82\xAC", u"\u20AC"},
    {"\xF0\x9F\x98\x80", u"\U0001F600"},
    {"\xF4\x8F\xBF\xBF", u"\U0010FFFF"},
    {"\xF4\x90\x80\x80", u"\xDCF4\xDC90\xDC80\xDC80"},  // above U+10FFFF
    {"\xED\xA0\x80", u"\xDCED\xDCA0\xDC80"},            // encoded surrogate
    {"\xED\xB2\x80", u"\xDCED\xDCB2\xDC80"},
    {"\xC0\xAF", u"\xDCC0\xDCAF"},  // overlong forms
    {"\xE0\x80\xAF", u"\xDCE0\xDC80\xDCAF"},
    {"\xF0\x80\x80\xAF", u"\xDCF0\xDC80\xDC80\xDCAF"},
    {"\x80x\xFF", u"\xDC80x\xDCFF"},
    {"a\xE2\x82", u"a\xDCE2\xDC82"},  // cut short at the end
    {"\xE2\x82z", u"\xDCE2\xDC82z"},
};

// One text reused for every case, as a directory listing reuses it.
TEST(Utf8Text, DecodesValidSequencesAndEscapesEveryOtherByte) {
  Text reused = u"a longer text than any of the cases";
  for (const DecodeCase& c : DecodeCases) {
    SCOPED_TRACE(testing::PrintToString(c.bytes));
    EXPECT_EQ(DecodeUtf8(c.bytes), c.text);
    DecodeUtf8Into(c.bytes, reused);
    EXPECT_EQ(reused, c.text);
    EXPECT_EQ(Encode(c.text), c.bytes);
  }
}

TEST(Utf8Text, EveryByteStringOfLengthTwoSurvivesTheRoundTrip) {
  int failures = 0;
  for (int first = 0; first < 256; ++first) {
    for (int second = 0; second < 256; ++second) {
      const std::string bytes = {static_cast<char>(first), static_cast<char>(second)};
      if (Encode(DecodeUtf8(bytes)) != bytes) ++failures;
    }
  }
  EXPECT_EQ(failures, 0);
}

TEST(Utf8Text, EscapedBytesTurnBackIntoTheirByte) {
  for (char16_t unit = 0xDC80; unit <= 0xDCFF; ++unit) {
    EXPECT_EQ(Encode(Text(1, unit)), std::string(1, static_cast<char>(unit - 0xDC00)));
  }
}

TEST(Utf8Text, OtherLoneSurrogatesAreWrittenInThreeBytes) {
  EXPECT_EQ(Encode(u"\xD800"), "\xED\xA0\x80");
  EXPECT_EQ(Encode(u"\xDC7F"), "\xED\xB1\xBF");
  EXPECT_EQ(Encode(u"\xDBFFx"), "\xED\xAF\xBFx");
  EXPECT_EQ(Encode(u"\xDE00\xD83D"), "\xED\xB8\x80\xED\xA0\xBD");  // pair in the wrong order
}

}  // namespace
