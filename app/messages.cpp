#include "app/messages.h"

namespace {

constexpr std::u16string_view Banner = u"Datora, ver. 2.4 - the Datora developers, 2026\r\n";

constexpr std::u16string_view Usage =
    u"compares ..\r\n"
    u"    the time&date of two files (or directories),\r\n"
    u"    the date only, time ignored\r\n"
    u"    the date of a file with TODAY[-n days]\r\n"
    u"    the time&date of a file with NOW[-n minutes]\r\n"
    u"Examples:\r\n"
    u"    Datora this.zip created before that.zip \r\n"
    u"    Datora this.zip modified after today-8 \r\n"
    u"Syntax:\r\n"
    u"    Datora File1 [Stamp] [not] before|after|sametime File2 [Stamp] [Option] \r\n"
    u"    Datora File1 [Stamp] [not] before|after|sametime today[-n] [Option] \r\n"
    u"    Datora File1 [Stamp] [not] before|after|sametime now[-n]  \r\n"
    u"Stamp is: \r\n"
    u"    created, modified (default) or accessed\r\n"
    u"    (by default: second stamp = first stamp) \r\n"
    u"Options to compare date only, ignore time:\r\n"
    u"    /DateLocal or /DateUTC \r\n"
    u"    (if TODAY is used, default is /DateLocal) \r\n"
    u"Result by errorlevel:\r\n"
    u"    0: true, 1: false, 255: error (message to STDERR)\r\n";

}  // namespace

Text UsageText() {
  Text text(Banner);
  text += Usage;
  return text;
}

bool IsUsageRequest(const Text& firstParameter) {
  return firstParameter.empty() || firstParameter == u"/?";
}
