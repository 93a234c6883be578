// The Linux implementation: argv as the parameters, statx for directory
// entries, UTF-8 with LF on both channels.
#include <fcntl.h>
#include <linux/stat.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

#include "platform/ascii_case.h"
#include "platform/platform.h"
#include "platform/utf8_text.h"
#include "platform/zone_setting.h"

namespace {

TimeValue TicksFromStatx(const struct statx_timestamp& stamp) {
  return TicksFromUnixTime(stamp.tv_sec, stamp.tv_nsec);
}

TimeValue TicksFromTimespec(const struct timespec& stamp) {
  return TicksFromUnixTime(stamp.tv_sec, stamp.tv_nsec);
}

// fstatat has no birth time: it gives the accessed and the modified stamp
// and leaves "created" alone.
bool ReadStatTimes(const char* path, EntryStamps& stamps) {
  struct stat entry = {};
  if (fstatat(AT_FDCWD, path, &entry, AT_SYMLINK_NOFOLLOW) != 0) return false;
  stamps.accessed = TicksFromTimespec(entry.st_atim);
  stamps.modified = TicksFromTimespec(entry.st_mtim);
  return true;
}

// AT_SYMLINK_NOFOLLOW: a link yields its own stamps, as the Windows search
// does. statx reads the inode; the file is never opened. It is called
// through syscall(): musl has no statx wrapper, and glibc's falls back to
// fstatat on ENOSYS only, so the fallback below is the same for both.
// Returns 0 or the error number.
int ReadStatx(const char* path, EntryStamps& stamps) {
  struct statx entry = {};
  const unsigned times = STATX_ATIME | STATX_MTIME;
  if (syscall(SYS_statx, AT_FDCWD, path, AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT, times | STATX_BTIME,
              &entry) != 0) {
    return errno;
  }
  // File systems that record no birth time leave STATX_BTIME out of the
  // returned mask; "created" is then missing.
  stamps.created = (entry.stx_mask & STATX_BTIME) ? TicksFromStatx(entry.stx_btime) : 0;
  // A statx that succeeds without the two times: qemu-user answers a
  // guest's statx from its own fstatat where the host refuses statx, and
  // returns the times with an empty mask.
  if ((entry.stx_mask & times) != times) return ReadStatTimes(path, stamps) ? 0 : errno;
  stamps.accessed = TicksFromStatx(entry.stx_atime);
  stamps.modified = TicksFromStatx(entry.stx_mtime);
  return 0;
}

// Where statx is refused: kernels before 4.11 do not know it (ENOSYS), and
// some container seccomp profiles forbid it (EPERM). "created" is missing
// there.
bool ReadStatWithoutBirthTime(const char* path, EntryStamps& stamps) {
  stamps.created = 0;
  return ReadStatTimes(path, stamps);
}

// Writes everything it can. A closed pipe must not kill the process with
// SIGPIPE: the exit code stays what the run decided.
void WriteAll(int fd, const std::string& bytes) {
  static bool pipeSignalIgnored = false;
  if (!pipeSignalIgnored) {
    signal(SIGPIPE, SIG_IGN);
    pipeSignalIgnored = true;
  }
  const char* data = bytes.data();
  size_t count = bytes.size();
  while (count > 0) {
    const ssize_t written = write(fd, data, count);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return;
    data += written;
    count -= static_cast<size_t>(written);
  }
}

// A line as UTF-8 followed by LF. Names keep every byte the shell passed:
// bytes that are not UTF-8 were decoded to U+DC80..U+DCFF and turn back
// into themselves here.
void AppendLine(std::string& bytes, std::u16string_view text) {
  bytes += EncodeUtf8(text.data(), text.size());
  bytes += '\n';
}

// The path is put together on the stack: this runs in every run with a
// local date, where a first allocation costs more than the lookup itself.
bool Readable(std::string_view directory, std::string_view name) {
  char path[PATH_MAX];
  if (directory.size() + 1 + name.size() >= sizeof path) return false;
  memcpy(path, directory.data(), directory.size());
  path[directory.size()] = '/';
  memcpy(path + directory.size() + 1, name.data(), name.size());
  path[directory.size() + 1 + name.size()] = '\0';
  return access(path, R_OK) == 0;
}

// TZDIR as glibc joins it to a zone name; a relative one is made absolute,
// since a relative path in TZ would be looked up under TZDIR again.
std::string ZoneDirectory() {
  const char* directory = getenv("TZDIR");
  if (directory == nullptr) return std::string();
  if (*directory == '\0' || *directory == '/') return directory;
  char here[PATH_MAX];
  if (getcwd(here, sizeof here) == nullptr) return std::string();
  return std::string(here) + "/" + directory;
}

// Every conversion to local time calls this before its first localtime_r.
// glibc looks zone names up under TZDIR and tries a name as a zone file
// before reading it as a rule string ("EST5EDT"); musl searches only its
// own directories and reads such a name as a rule string, with daylight
// saving all year. Naming the zone file by its path makes both read the
// same zone. Runs once: TZ is set at most once per process.
void ResolveLocalZone() {
  static bool resolved = false;
  if (resolved) return;
  resolved = true;
  const char* zone = getenv("TZ");
  const std::optional<std::string> setting =
      ResolvedZoneSetting(zone == nullptr ? "" : zone, ZoneDirectory(), Readable);
  if (setting) setenv("TZ", setting->c_str(), 1);
}

class LinuxPlatform final : public Platform {
 public:
  void Open(int argc, char** argv) {
    argumentCount = argc;
    arguments = argv;
    nextArgument = 1;
  }

  // The argv elements exactly as the shell passed them: the shell has
  // already removed its quotes, and nothing here removes more.
  Text NextParameter() override {
    if (nextArgument >= argumentCount) return Text();
    return DecodeUtf8(arguments[nextArgument++]);
  }

  TimeValue CurrentTime() override {
    struct timespec now = {};
    clock_gettime(CLOCK_REALTIME, &now);
    return TicksFromUnixTime(now.tv_sec, now.tv_nsec);
  }

  TimeValue ToLocalTime(TimeValue utc) override { return AddTicksSaturated(utc, UtcOffsetTicks()); }

  // localtime_r's offset at that moment, daylight saving included.
  int64_t UtcOffsetAt(TimeValue utc) override {
    ResolveLocalZone();
    const time_t moment = static_cast<time_t>(utc / TicksPerSecond - UnixEpochSeconds);
    struct tm local = {};
    return localtime_r(&moment, &local) ? local.tm_gmtoff * TicksPerSecond : 0;
  }

  // The name as given, byte for byte: quotes, backslashes and "*" or "?"
  // are ordinary characters of a POSIX name, and a lookup by name expands
  // nothing.
  bool FindEntryStamps(const Text& name, EntryStamps& stamps) override {
    const std::string path = EncodeUtf8(name.data(), name.size());
    if (path.find('\0') != std::string::npos) return false;
    const int error = ReadStatx(path.c_str(), stamps);
    if (error == EPERM || error == ENOSYS) return ReadStatWithoutBirthTime(path.c_str(), stamps);
    return error == 0;
  }

  void LowerCase(Text& text) override { LowerCaseAscii(text); }

  void WriteLine(const Text& text) override {
    std::string bytes;
    AppendLine(bytes, text);
    WriteAll(STDOUT_FILENO, bytes);
  }

  // One write for the whole message. write() keeps nothing buffered in the
  // process, so there is nothing to flush.
  void WriteErrorText(std::span<const std::u16string_view> lines) override {
    std::string bytes;
    for (std::u16string_view line : lines) AppendLine(bytes, line);
    WriteAll(STDERR_FILENO, bytes);
  }

 private:
  int64_t UtcOffsetTicks() {
    if (!offsetKnown) {
      // The offset in force now, applied to every value alike.
      utcOffsetTicks = UtcOffsetAt(CurrentTime());
      offsetKnown = true;
    }
    return utcOffsetTicks;
  }

  int argumentCount = 0;
  char** arguments = nullptr;
  int nextArgument = 1;
  bool offsetKnown = false;
  int64_t utcOffsetTicks = 0;
};

LinuxPlatform systemPlatform;

}  // namespace

Platform& OpenSystemPlatform(int argc, char** argv) {
  systemPlatform.Open(argc, argv);
  return systemPlatform;
}

void EndProcess(ExitCode code) { _exit(code); }
