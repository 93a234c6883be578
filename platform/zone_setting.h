// Which zone a TZ value names on the Linux builds, decided the way glibc
// decides it, so that a build on another C library reads the same zone.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// Where zone names are looked up when TZDIR is unset or empty.
inline constexpr std::string_view SystemZoneDirectory = "/usr/share/zoneinfo";

// Tells whether the file `name` in `directory` can be read.
using ZoneFileTest = bool (*)(std::string_view directory, std::string_view name);

// What TZ should become, given its value `tz` (empty when unset), TZDIR's
// value `tzdir` (empty when unset; otherwise an absolute path) and the test
// `readable`.
//
// A name (one leading ":" dropped) that is not an absolute path and has no
// ".." in it is looked up in TZDIR, or in SystemZoneDirectory when TZDIR is
// empty. Found: TZ names that file by its absolute path (":" + path). For
// "right/X" the file X of the same directory is taken where it exists: the
// civil time of X. Not found: a name that reads as a rule string ("JST-9")
// becomes that rule string; any other name (it has a "/" before any ",")
// names the missing file by its path, which reads as UTC.
//
// Returns nothing where TZ stays as it is: an empty TZ, an absolute path, a
// name with "..", a rule string that names no file, and a name that every
// Linux C library reads from SystemZoneDirectory itself (TZDIR empty, the
// name found there, ":" before it or a "/" in it before any ",", no ".").
std::optional<std::string> ResolvedZoneSetting(std::string_view tz, std::string_view tzdir,
                                               ZoneFileTest readable);
