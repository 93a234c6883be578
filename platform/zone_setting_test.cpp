#include "platform/zone_setting.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

namespace {

// The zone files that exist in the table's world: the system's directory
// and a TZDIR of /tz that holds a zone under a name of its own.
const char* const ZoneFiles[] = {
    "/usr/share/zoneinfo/Asia/Kathmandu",
    "/usr/share/zoneinfo/right/Asia/Kathmandu",
    "/usr/share/zoneinfo/EST5EDT",
    "/usr/share/zoneinfo/Test/Dotted.Name",
    "/usr/share/zoneinfo/right/Only",
    "/tz/Test/Far_East",
    "/tz/EST5EDT",
};

bool Listed(std::string_view directory, std::string_view name) {
  const std::string path = std::string(directory) + "/" + std::string(name);
  return std::find(std::begin(ZoneFiles), std::end(ZoneFiles), path) != std::end(ZoneFiles);
}

struct ZoneCase {
  const char* tz;
  const char* tzdir;
  const char* setting;  // nullptr: TZ stays as it is
};

const ZoneCase ZoneCases[] = {
    {"", "", nullptr},
    {":", "", nullptr},
    {"Asia/Kathmandu", "", nullptr},
    {":Asia/Kathmandu", "", nullptr},
    {"Test/Dotted.Name", "", ":/usr/share/zoneinfo/Test/Dotted.Name"},
    {"Test/Far_East", "/tz", ":/tz/Test/Far_East"},
    {":Test/Far_East", "/tz", ":/tz/Test/Far_East"},
    {"Asia/Kathmandu", "/tz", ":/tz/Asia/Kathmandu"},
    {"Test/Far_East", "", ":/usr/share/zoneinfo/Test/Far_East"},
    {"EST5EDT", "", ":/usr/share/zoneinfo/EST5EDT"},
    {":EST5EDT", "", nullptr},
    {"EST5EDT", "/tz", ":/tz/EST5EDT"},
    {"JST-9", "", nullptr},
    {":JST-9", "", "JST-9"},
    {"CET-1CEST,M3.5.0,M10.5.0/3", "/tz", nullptr},
    {"/usr/share/zoneinfo/right/Asia/Kathmandu", "", nullptr},
    {":/etc/localtime", "/tz", nullptr},
    {"Asia/../Asia/Kathmandu", "", nullptr},
    {"right/Asia/Kathmandu", "", ":/usr/share/zoneinfo/Asia/Kathmandu"},
    {":right/Test/Far_East", "/tz", ":/tz/Test/Far_East"},
    {"right/Only", "", nullptr},
    {"right/Nowhere", "", ":/usr/share/zoneinfo/right/Nowhere"},
};

TEST(ResolvedZoneSetting, NamesTheZoneFileOfTzdirOrTheSystemAndLeavesTheRestAlone) {
  for (const ZoneCase& c : ZoneCases) {
    SCOPED_TRACE(std::string("TZ=") + c.tz + " TZDIR=" + c.tzdir);
    const std::optional<std::string> setting = ResolvedZoneSetting(c.tz, c.tzdir, Listed);
    if (c.setting == nullptr) {
      EXPECT_FALSE(setting.has_value()) << *setting;
    } else {
      EXPECT_EQ(setting.value_or("(unchanged)"), c.setting);
    }
  }
}

}  // namespace
