#include "platform/zone_setting.h"

namespace {

constexpr std::string_view LeapSecondZones = "right/";

// musl reads TZ as a file name when it starts with ":" or has a "/" before
// any ",", and as a rule string otherwise; glibc tries a file first for
// every value, then the rule string.
bool ReadsAsFileName(std::string_view name) {
  const size_t slash = name.find('/');
  return slash != std::string_view::npos && name.find(',') > slash;
}

// Where TZDIR is unset, glibc and musl both find such a name in the
// system's directory: musl searches there first for a file name without
// ".".
bool SearchedByEveryLibrary(bool colon, std::string_view name) {
  return (colon || ReadsAsFileName(name)) && name.find('.') == std::string_view::npos;
}

std::string FileSetting(std::string_view directory, std::string_view name) {
  std::string setting = ":";
  setting += directory;
  setting += '/';
  setting += name;
  return setting;
}

}  // namespace

std::optional<std::string> ResolvedZoneSetting(std::string_view tz, std::string_view tzdir,
                                               ZoneFileTest readable) {
  const bool colon = tz.starts_with(':');
  const std::string_view name = colon ? tz.substr(1) : tz;
  // ".." stays with the C library: glibc follows it, musl refuses it.
  if (name.empty() || name.starts_with('/') || name.find("..") != std::string_view::npos) {
    return std::nullopt;
  }
  const std::string_view directory = tzdir.empty() ? SystemZoneDirectory : tzdir;
  // A right/ zone expects a clock that counts leap seconds, which a Linux
  // clock does not; its file ends with an empty rule string, which musl
  // reads as UTC. The same zone without leap seconds gives the civil time.
  if (name.starts_with(LeapSecondZones)) {
    const std::string_view civil = name.substr(LeapSecondZones.size());
    if (readable(directory, civil)) return FileSetting(directory, civil);
  }
  const bool found = readable(directory, name);
  if (found && tzdir.empty() && SearchedByEveryLibrary(colon, name)) return std::nullopt;
  // Not found, glibc reads the name as a rule string. musl would search its
  // own directories for a name with a "/", so that one keeps the missing
  // path, which both read as UTC.
  if (found || ReadsAsFileName(name)) return FileSetting(directory, name);
  if (colon) return std::string(name);
  return std::nullopt;
}
