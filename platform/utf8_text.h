// UTF-8 <-> UTF-16 for the Linux build, lossless for any byte string.
// A byte that is not part of valid UTF-8 becomes the lone surrogate
// U+DC00 + byte (U+DC80..U+DCFF) and turns back into the same byte, so any
// file name the shell can pass survives the round trip exactly.
#pragma once

#include <string>
#include <string_view>

#include "base/text.h"

Text DecodeUtf8(std::string_view bytes);

// The same into `text`, replacing its content: a caller that decodes many
// names reuses one buffer, which allocates only when a longer name comes.
void DecodeUtf8Into(std::string_view bytes, Text& text);

// Valid pairs become 4-byte sequences; U+DC80..U+DCFF become their byte;
// any other lone surrogate is written in the 3-byte form.
std::string EncodeUtf8(const char16_t* text, size_t count);
