#include "platform/zone_setting.h"

#include <gtest/gtest.h>

#include <set>

namespace {

// The zone files of the table's world: the system's directory, and a TZDIR
// of /tz that holds a zone under a name of its own.
bool Listed(std::string_view directory, std::string_view name) {
  static const std::set<std::string> files = {
      "/usr/share/zoneinfo/Asia/Kathmandu", "/usr/share/zoneinfo/EST5EDT",
      "/usr/share/zoneinfo/Test/Dotted.Name", "/tz/Test/Far_East", "/tz/EST5EDT"};
  return files.count(std::string(directory) + "/" + std::string(name)) != 0;
}

struct ZoneCase {
  const char* tz;
  const char* tzdir;
  const char* setting;  // nullptr: TZ stays as it is
};

const ZoneCase ZoneCases[] = {
    {"", "", nullptr},
    {"Asia/Kathmandu", "", nullptr},
    {"Test/Dotted.Name", "", ":/usr/share/zoneinfo/Test/Dotted.Name"},
    {":Test/Far_East", "/tz", ":/tz/Test/Far_East"},
    {"Asia/Kathmandu", "/tz", ":/tz/Asia/Kathmandu"},
    {"EST5EDT", "", ":/usr/share/zoneinfo/EST5EDT"},
    {"EST5EDT", "/tz", ":/tz/EST5EDT"},
    {":JST-9", "", "JST-9"},
    {"CET-1CEST,M3.5.0,M10.5.0/3", "/tz", nullptr},
    {":/usr/share/zoneinfo/right/Asia/Kathmandu", "", nullptr},
    {"Asia/../Asia/Kathmandu", "", nullptr},
    {"right/Asia/Kathmandu", "", ":/usr/share/zoneinfo/Asia/Kathmandu"},
    {"right/Nowhere", "", ":/usr/share/zoneinfo/right/Nowhere"},
};

TEST(ResolvedZoneSetting, NamesTheZoneFileOfTzdirOrTheSystemAndLeavesTheRestAlone) {
  for (const ZoneCase& c : ZoneCases) {
    SCOPED_TRACE(std::string("TZ=") + c.tz + " TZDIR=" + c.tzdir);
    const std::optional<std::string> setting = ResolvedZoneSetting(c.tz, c.tzdir, Listed);
    EXPECT_EQ(setting.value_or("(unchanged)"), c.setting ? c.setting : "(unchanged)");
  }
}

}  // namespace
