#include "cli/grammar.h"

#include <limits>
#include <string_view>

#include "base/messages.h"
#include "timing/reference_time.h"
#include "timing/set_operand.h"

namespace {

enum class Keyword {
  None,
  Created,
  Modified,
  Accessed,
  Changed,
  Before,
  After,
  SameTime,
  Not,
  DateLocal,
  DateUtc,
  Debug,
  Tolerance,
  HourShift,
  Subfolders
};

struct KeywordEntry {
  std::u16string_view text;
  Keyword keyword;
  bool takesValue = false;  // written as the keyword, ":" and a value
};

// The one list of keywords. tests/consistency/keywords.py reads the rows in
// this form and checks the bash completion and the manual page against them.
// clang-format off
constexpr KeywordEntry Keywords[] = {
    {u"created", Keyword::Created},
    {u"modified", Keyword::Modified},
    {u"accessed", Keyword::Accessed},
    {u"changed", Keyword::Changed},
    {u"before", Keyword::Before},
    {u"after", Keyword::After},
    {u"sametime", Keyword::SameTime},
    {u"not", Keyword::Not},
    {u"/datelocal", Keyword::DateLocal},
    {u"/dateutc", Keyword::DateUtc},
    {u"/debug", Keyword::Debug},
    {u"/tolerance", Keyword::Tolerance, true},
    {u"/dst", Keyword::HourShift},
    {u"/s", Keyword::Subfolders},
};
// clang-format on

// The longest keyword; a longer parameter is a keyword only when a colon
// follows one that takes a value. Only the part before that colon is ever
// lower-cased, so a parameter of a megabyte costs nothing here.
constexpr size_t LongestKeyword = 10;

// A tolerance has at most seven decimals: 100 ns, the tick.
constexpr size_t FractionDigits = 7;
constexpr TimeValue MaxTicks = std::numeric_limits<TimeValue>::max();

struct KeywordMatch {
  Keyword keyword = Keyword::None;
  std::u16string_view value;  // what follows the colon; empty without one
};

KeywordMatch FindKeyword(const Text& token, Platform& platform) {
  const std::u16string_view head = std::u16string_view(token).substr(0, LongestKeyword + 1);
  const size_t colon = head.find(u':');
  const size_t nameLength = colon == std::u16string_view::npos ? token.size() : colon;
  if (nameLength > LongestKeyword) return {};
  Text key = token.substr(0, nameLength);
  platform.LowerCase(key);
  for (const KeywordEntry& entry : Keywords) {
    if (entry.text != key) continue;
    const bool hasValue = nameLength < token.size();
    if (hasValue && !entry.takesValue) return {};
    return {entry.keyword, hasValue ? std::u16string_view(token).substr(nameLength + 1) : u""};
  }
  return {};
}

void SetSyntaxError(RunRequest& request, const Text& token) {
  request.message.assign(SyntaxErrorPrefix);
  request.message += token;
}

}  // namespace

bool ReadToleranceTicks(std::u16string_view seconds, TimeValue& ticks) {
  const size_t dot = seconds.find(u'.');
  const std::u16string_view whole = seconds.substr(0, dot);
  const std::u16string_view fraction =
      dot == std::u16string_view::npos ? std::u16string_view() : seconds.substr(dot + 1);
  if (whole.empty() || !IsAllDigits(whole)) return false;
  if (dot != std::u16string_view::npos &&
      (fraction.empty() || fraction.size() > FractionDigits || !IsAllDigits(fraction))) {
    return false;
  }
  TimeValue wholeSeconds = 0;
  for (const char16_t digit : whole) {
    wholeSeconds = wholeSeconds * 10 + (digit - u'0');
    if (wholeSeconds > MaxTicks / TicksPerSecond) return false;
  }
  TimeValue fractionTicks = 0;
  for (size_t i = 0; i < FractionDigits; ++i) {
    fractionTicks = fractionTicks * 10 + (i < fraction.size() ? fraction[i] - u'0' : 0);
  }
  if (fractionTicks > MaxTicks - wholeSeconds * TicksPerSecond) return false;
  ticks = wholeSeconds * TicksPerSecond + fractionTicks;
  return true;
}

namespace {

void ApplyKeyword(RunRequest& request, const KeywordMatch& match, const Text& token) {
  switch (match.keyword) {
    case Keyword::Created: request.currentStamp = StampKind::Created; break;
    case Keyword::Modified: request.currentStamp = StampKind::Modified; break;
    case Keyword::Accessed: request.currentStamp = StampKind::Accessed; break;
    case Keyword::Changed: request.currentStamp = StampKind::Changed; break;
    case Keyword::Before: request.relationMask ^= Before; break;
    case Keyword::After: request.relationMask ^= After; break;
    case Keyword::SameTime: request.relationMask ^= SameTime; break;
    case Keyword::Not: request.notMask ^= 7; break;
    case Keyword::DateLocal: request.dateMode = DateMode::Local; break;
    case Keyword::DateUtc: request.dateMode = DateMode::Utc; break;
    case Keyword::Debug: request.debug = true; break;
    case Keyword::HourShift: request.hourShift = true; break;
    case Keyword::Subfolders:
      if (!request.subfolders) request.subfoldersParameter = token;
      request.subfolders = true;
      break;
    case Keyword::Tolerance:
      // No value at all reads as an empty one, which is malformed too.
      if (!ReadToleranceTicks(match.value, request.toleranceTicks)) {
        SetSyntaxError(request, token);
      }
      break;
    case Keyword::None: break;
  }
}

// Adds a piece to the second operand; the first piece fixes the first
// operand's stamp and the relations that count for the verdict.
void AppendOperandPiece(RunRequest& request, const Text& token) {
  if (request.relationMask == 0) return SetSyntaxError(request, token);
  if (request.file2.empty()) {
    request.stamp1 = request.currentStamp;
    request.acceptMask = request.relationMask ^ request.notMask;
  }
  request.file2 += token;
}

// /s reads the directories below a set's path; without a set it is a
// syntax error, found once every parameter is read.
void RequireSetForSubfolders(RunRequest& request, Platform& platform) {
  if (!request.subfolders || RecognizeSetOperand(platform, request.file1).isSet ||
      RecognizeSetOperand(platform, request.file2).isSet) {
    return;
  }
  SetSyntaxError(request, request.subfoldersParameter);
}

}  // namespace

void ParseArguments(RunRequest& request, Platform& platform) {
  for (;;) {
    const Text token = platform.NextParameter();
    if (token.empty()) {
      request.stamp2 = request.currentStamp;
      return RequireSetForSubfolders(request, platform);
    }
    const KeywordMatch match = FindKeyword(token, platform);
    if (match.keyword != Keyword::None) {
      ApplyKeyword(request, match, token);
    } else {
      AppendOperandPiece(request, token);
    }
    if (!request.message.empty()) return;
  }
}
