// What a name means to the Windows directory search. Pure code, linked into
// the Windows build and the unit tests.
#pragma once

#include <cstdint>
#include <span>

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

// Whether `path` is a root, whose trailing backslash belongs to it: "\",
// "X:\", "\\server\share\", "\\?\X:\" or "\\?\UNC\server\share\".
bool IsWindowsRoot(std::u16string_view path);

// The name whose kind GetFileAttributesW gives for the set path `path`, or
// false for a path that names no set: the empty path, or a wildcard as
// WindowsSearchName refuses it. One trailing backslash is dropped, as for
// a file name, except from a root, which keeps it. A bare "X:" stays: it
// is drive X's current directory.
bool WindowsSetPathName(const Text& path, Text& named);

// The start of each member's path for the set path `path`: its
// WindowsSetPathName (the path itself where that refuses it), followed by
// a backslash unless it ends in "\" or "/" or is a bare drive "X:", whose
// members are "X:name" in that drive's current directory.
Text WindowsMemberPathPrefix(const Text& path);

// The pattern FindFirstFileExW lists for the directory that the components
// `below` lead to under the set path `root`: the member prefix, each
// component and a backslash, then "*" ("src" and {"a"} give "src\a\*",
// "C:\" gives "C:\*", "X:" gives "X:*").
Text WindowsListingPattern(const Text& root, std::span<const Text> below);

// The "\\?\" form of the full path `full` (as GetFullPathNameW gives it),
// which lifts the MAX_PATH limit: "\\?\C:\..." or "\\?\UNC\server\share\...".
// A path already in that form, or a device path ("\\.\"), stays as it is.
Text WindowsLongPathForm(const Text& full);

// Splits the full path `full` (as GetFullPathNameW gives it, or typed in
// the "\\?\" form) at its last backslash: `parent` up to and with it, the
// directory to list, and `leaf` after it, the name to ask that listing
// for. False where no leaf follows: a root, a path ending in a backslash.
bool WindowsParentAndLeaf(const Text& full, Text& parent, Text& leaf);

// Whether a listed entry with these attributes and reparse tag
// (WIN32_FIND_DATAW's dwReserved0) is a directory to descend into. A name
// surrogate (a symbolic link, a junction, a volume mount point) is not: it
// is a member by its own stamps. Other reparse points (cloud placeholders,
// deduplicated files) are ordinary files and directories.
bool WindowsDescends(uint32_t attributes, uint32_t reparseTag);
