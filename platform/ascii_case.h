// The lower-case mapping of the Linux build and of the fake platform.
#pragma once

#include "base/text.h"

// Folds A-Z to a-z and leaves every other code unit as it is, so that no
// character outside ASCII can complete a keyword or a TODAY/NOW prefix.
inline void LowerCaseAscii(Text& text) {
  for (char16_t& c : text) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + (u'a' - u'A'));
  }
}
