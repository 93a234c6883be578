#include "platform/zone_setting.h"

#include <utility>

namespace {

constexpr std::string_view LeapSecondZones = "right/";

// musl reads TZ as a file name when it starts with ":" or has a "/" before
// any ",", and as a rule string otherwise; glibc tries a file first for
// every value, then the rule string.
bool ReadsAsFileName(std::string_view name) {
  const size_t slash = name.find('/');
  return slash != std::string_view::npos && name.find(',') > slash;
}

std::string ZonePath(std::string_view directory, std::string_view name) {
  std::string path(directory);
  path += '/';
  path += name;
  return path;
}

}  // namespace

std::optional<std::string> ResolvedZoneSetting(std::string_view tz, std::string_view tzdir,
                                               bool (*readable)(const std::string& path)) {
  const bool colon = tz.starts_with(':');
  const std::string_view name = colon ? tz.substr(1) : tz;
  // ".." stays with the C library: glibc follows it, musl refuses it.
  if (name.empty() || name.starts_with('/') || name.find("..") != std::string_view::npos) {
    return std::nullopt;
  }
  const std::string_view directory = tzdir.empty() ? SystemZoneDirectory : tzdir;
  std::string path = ZonePath(directory, name);
  // A right/ zone expects a clock that counts leap seconds, which a Linux
  // clock does not; its file ends with an empty rule string, which musl
  // reads as UTC. The same zone without leap seconds gives the civil time.
  if (name.starts_with(LeapSecondZones)) {
    std::string civil = ZonePath(directory, name.substr(LeapSecondZones.size()));
    if (readable(civil)) path = std::move(civil);
  }
  // Not found, glibc reads the name as a rule string. musl would search its
  // own directories for a name with a "/", so that one keeps the missing
  // path, which both read as UTC.
  if (readable(path) || ReadsAsFileName(name)) return path.insert(0, 1, ':');
  if (colon) return std::string(name);
  return std::nullopt;
}
