#include "platform/command_line.h"

#include <utility>

namespace {

constexpr char16_t Quote = u'"';
constexpr char16_t Space = u' ';

// Reads a token that begins with a quote: it runs to the next quote (or the
// end of the text), and scanning resumes right after that closing quote.
void ReadQuotedToken(const Text& text, size_t& position, Text& token) {
  const size_t start = position + 1;
  size_t close = text.find(Quote, start);
  if (close == Text::npos) close = text.size();
  token.assign(text, start, close - start);
  position = close < text.size() ? close + 1 : close;
}

// Reads a token that begins with any other character: it runs to a space
// outside a quoted stretch; the quotes themselves are dropped.
void ReadPlainToken(const Text& text, size_t& position, Text& token) {
  bool quoted = false;
  while (position < text.size()) {
    const char16_t c = text[position++];
    if (c == Quote) {
      quoted = !quoted;
    } else if (c == Space && !quoted) {
      return;
    } else {
      token.push_back(c);
    }
  }
}

// Reads the next token into `token`; false when the text has no more.
bool ReadToken(CommandLine& commandLine, Text& token) {
  const Text& text = commandLine.text;
  size_t& position = commandLine.position;
  while (position < text.size() && text[position] == Space) ++position;
  if (position == text.size()) return false;
  if (text[position] == Quote) {
    ReadQuotedToken(text, position, token);
  } else {
    ReadPlainToken(text, position, token);
  }
  return true;
}

}  // namespace

CommandLine OpenCommandLine(Text text) {
  CommandLine commandLine;
  commandLine.text = std::move(text);
  return commandLine;
}

Text NextParameter(CommandLine& commandLine) {
  Text token;
  if (!commandLine.programPathSkipped) {
    commandLine.programPathSkipped = true;
    if (!ReadToken(commandLine, token)) return Text();
    token.clear();
  }
  ReadToken(commandLine, token);
  return token;
}
