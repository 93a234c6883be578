#include "base/messages.h"

#include "datora_version.h"

namespace {

// The version comes from the build (datora_version.h).
constexpr std::u16string_view Banner =
    u"Datora, ver. " DATORA_VERSION u" - the Datora developers, 2026";

// The banner, then the usage lines; the line ends are the platform's.
constexpr std::u16string_view Usage[] = {
    Banner,
    u"compares ..",
    u"    the time&date of two files (or directories),",
    u"    the date only, time ignored",
    u"    the date of a file with TODAY[-n days]",
    u"    the time&date of a file with NOW[-n minutes]",
    u"Examples:",
    u"    Datora this.zip created before that.zip ",
    u"    Datora this.zip modified after today-8 ",
    u"Syntax:",
    u"    Datora File1 [Stamp] [not] before|after|sametime File2 [Stamp] [Option] ",
    u"    Datora File1 [Stamp] [not] before|after|sametime today[-n] [Option] ",
    u"    Datora File1 [Stamp] [not] before|after|sametime now[-n]  ",
    u"Stamp is: ",
    u"    created, modified (default) or accessed",
    u"    (by default: second stamp = first stamp) ",
    u"Options to compare date only, ignore time:",
    u"    /DateLocal or /DateUTC ",
    u"    (if TODAY is used, default is /DateLocal) ",
    u"Result by errorlevel:",
    u"    0: true, 1: false, 255: error (message to STDERR)",
    u"",
};

}  // namespace

std::span<const std::u16string_view> UsageLines() { return Usage; }
