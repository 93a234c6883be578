// Every text Datora writes to standard error: the message prefixes, each
// followed by the parameter or name it is about, and the usage text.
#pragma once

#include <span>
#include <string_view>

inline constexpr std::u16string_view SyntaxErrorPrefix = u"Syntax error: ";
inline constexpr std::u16string_view NotFoundPrefix = u"Not found or invalid: ";
inline constexpr std::u16string_view InvalidExpressionPrefix = u"Invalid date/time expression: ";
inline constexpr std::u16string_view NoFilesPrefix = u"No files in: ";
inline constexpr std::u16string_view CannotReadPrefix = u"Cannot read: ";

// The banner line, the 20 usage lines and a last empty line, for
// WriteErrorText: the usage text ends with a line end and then the LF that
// closes every message.
std::span<const std::u16string_view> UsageLines();
