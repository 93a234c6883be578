#include "cli/grammar.h"

#include <string_view>

namespace {

constexpr std::u16string_view SyntaxErrorPrefix = u"Syntax error: ";

enum class Keyword {
  None,
  Created,
  Modified,
  Accessed,
  Before,
  After,
  SameTime,
  Not,
  DateLocal,
  DateUtc,
  Debug
};

struct KeywordEntry {
  std::u16string_view text;
  Keyword keyword;
};

constexpr KeywordEntry Keywords[] = {
    {u"created", Keyword::Created},   {u"modified", Keyword::Modified},
    {u"accessed", Keyword::Accessed}, {u"before", Keyword::Before},
    {u"after", Keyword::After},       {u"sametime", Keyword::SameTime},
    {u"not", Keyword::Not},           {u"/datelocal", Keyword::DateLocal},
    {u"/dateutc", Keyword::DateUtc},  {u"/debug", Keyword::Debug},
};

// The longest keyword; longer parameters are never lower-cased.
constexpr size_t LongestKeyword = 10;

Keyword FindKeyword(const Text& token, Platform& platform) {
  if (token.size() > LongestKeyword) return Keyword::None;
  Text key = token;
  platform.LowerCase(key);
  for (const KeywordEntry& entry : Keywords) {
    if (entry.text == key) return entry.keyword;
  }
  return Keyword::None;
}

void ApplyKeyword(RunRequest& request, Keyword keyword) {
  switch (keyword) {
    case Keyword::Created: request.currentStamp = StampKind::Created; break;
    case Keyword::Modified: request.currentStamp = StampKind::Modified; break;
    case Keyword::Accessed: request.currentStamp = StampKind::Accessed; break;
    case Keyword::Before: request.relationMask ^= Before; break;
    case Keyword::After: request.relationMask ^= After; break;
    case Keyword::SameTime: request.relationMask ^= SameTime; break;
    case Keyword::Not: request.notMask ^= 7; break;
    case Keyword::DateLocal: request.dateMode = DateMode::Local; break;
    case Keyword::DateUtc: request.dateMode = DateMode::Utc; break;
    case Keyword::Debug: request.debug = true; break;
    case Keyword::None: break;
  }
}

// Adds a piece to the second operand; the first piece fixes the first
// operand's stamp and the relations that count for the verdict.
void AppendOperandPiece(RunRequest& request, const Text& token) {
  if (request.relationMask == 0) {
    request.message.assign(SyntaxErrorPrefix);
    request.message += token;
    return;
  }
  if (request.file2.empty()) {
    request.stamp1 = request.currentStamp;
    request.acceptMask = request.relationMask ^ request.notMask;
  }
  request.file2 += token;
}

}  // namespace

void ParseArguments(RunRequest& request, Platform& platform) {
  for (;;) {
    const Text token = platform.NextParameter();
    if (token.empty()) {
      request.stamp2 = request.currentStamp;
      return;
    }
    const Keyword keyword = FindKeyword(token, platform);
    if (keyword != Keyword::None) {
      ApplyKeyword(request, keyword);
      continue;
    }
    AppendOperandPiece(request, token);
    if (!request.message.empty()) return;
  }
}
