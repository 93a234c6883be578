// The fixed texts Datora writes.
#pragma once

#include <string_view>

#include "platform/platform.h"

inline constexpr std::u16string_view NotFoundPrefix = u"Not found or invalid: ";

// The banner line followed by the 20 usage lines, each ending in CR LF.
Text UsageText();

// True when the first parameter asks for the usage text: empty, or "/?".
bool IsUsageRequest(const Text& firstParameter);
