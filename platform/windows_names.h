// What a name means to the Windows directory search. Pure code, linked into
// the Windows build and the unit tests.
#pragma once

#include "base/text.h"

// The text to hand to FindFirstFileW for the operand `name`, or false when
// the name must not be searched:
// - a wildcard ("*", "?", "<", ">" or a double quote) anywhere after an
//   optional leading "\\?\" prefix, which is a prefix and no wildcard;
// - the empty name;
// - a name whose one trailing backslash, once dropped, leaves nothing or a
//   bare drive ("X:", also after "\\?\"): a directory search cannot give
//   the stamps of a drive root, and "X:" alone means another directory.
// Otherwise one trailing backslash is dropped, so that a directory may be
// written as "dir\".
bool WindowsSearchName(const Text& name, Text& searched);
