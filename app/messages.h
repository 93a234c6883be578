// The fixed texts Datora writes.
#pragma once

#include <span>
#include <string_view>

#include "platform/text.h"

inline constexpr std::u16string_view NotFoundPrefix = u"Not found or invalid: ";

// The banner line, the 20 usage lines and a last empty line, for
// WriteErrorText: the usage text ends with a line end and then the LF that
// closes every message.
std::span<const std::u16string_view> UsageLines();

// True when the first parameter asks for the usage text: empty, or "/?".
bool IsUsageRequest(const Text& firstParameter);
