// The POSIX implementation: argv as the command line, statx for directory
// entries, UTF-8 on terminals and UTF-16LE bytes on redirected channels.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/platform.h"
#include "platform/utf8_text.h"

namespace {

// One argv element as it would stand on a Windows command line: its quotes
// dropped, and wrapped in quotes when empty or holding a space, so that the
// splitter hands it back as exactly one parameter.
void AppendArgument(Text& line, const char* argument, bool alwaysQuote) {
  Text decoded = DecodeUtf8(argument);
  Text unquoted;
  unquoted.reserve(decoded.size());
  for (char16_t c : decoded) {
    if (c != u'"') unquoted.push_back(c);
  }
  const bool quote = alwaysQuote || unquoted.empty() || unquoted.find(u' ') != Text::npos;
  if (!line.empty()) line.push_back(u' ');
  if (quote) line.push_back(u'"');
  line += unquoted;
  if (quote) line.push_back(u'"');
}

TimeValue TicksFromStatx(const struct statx_timestamp& stamp) {
  return TicksFromUnixTime(stamp.tv_sec, stamp.tv_nsec);
}

// The lower-case mapping of the Windows build for every letter that could
// matter here: A-Z, the Latin-1 capitals (U+00C0..U+00DE but the
// multiplication sign), and the two capitals that lower-case into ASCII
// letters (U+0130 to i, U+212A KELVIN SIGN to k). Every other character is
// left as it is; none of them can lower-case into a keyword's letters.
char16_t LowerCaseUnit(char16_t c) {
  if (c >= u'A' && c <= u'Z') return static_cast<char16_t>(c + 0x20);
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<char16_t>(c + 0x20);
  if (c == 0x130) return u'i';
  if (c == 0x212A) return u'k';
  return c;
}

int ChannelDescriptor(Channel channel) {
  return channel == Channel::Output ? STDOUT_FILENO : STDERR_FILENO;
}

class PosixPlatform final : public Platform {
 public:
  void Open(int argc, char** argv) {
    argumentCount = argc;
    arguments = argv;
  }

  Text CommandLineText() override {
    Text line;
    for (int i = 0; i < argumentCount; ++i) AppendArgument(line, arguments[i], i == 0);
    return line;
  }

  TimeValue CurrentTime() override {
    struct timespec now = {};
    clock_gettime(CLOCK_REALTIME, &now);
    return TicksFromUnixTime(now.tv_sec, now.tv_nsec);
  }

  TimeValue ToLocalTime(TimeValue utc) override { return AddTicksSaturated(utc, UtcOffsetTicks()); }

  bool FindEntryStamps(const Text& name, TimeValue stamps[3]) override {
    const std::string path = EncodeUtf8(name.data(), name.size());
    if (path.find('\0') != std::string::npos) return false;
    // AT_SYMLINK_NOFOLLOW: a link yields its own stamps, as the Windows
    // search does. statx reads the inode; the file is never opened.
    struct statx entry = {};
    const unsigned wanted = STATX_ATIME | STATX_MTIME | STATX_BTIME;
    if (statx(AT_FDCWD, path.c_str(), AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT, wanted, &entry) != 0) {
      return false;
    }
    // File systems that record no birth time leave STATX_BTIME out of the
    // returned mask; "created" is then missing.
    stamps[0] = (entry.stx_mask & STATX_BTIME) ? TicksFromStatx(entry.stx_btime) : 0;
    stamps[1] = (entry.stx_mask & STATX_ATIME) ? TicksFromStatx(entry.stx_atime) : 0;
    stamps[2] = (entry.stx_mask & STATX_MTIME) ? TicksFromStatx(entry.stx_mtime) : 0;
    return true;
  }

  void LowerCase(Text& text) override {
    for (char16_t& c : text) c = LowerCaseUnit(c);
  }

  bool WriteToConsole(Channel channel, const char16_t* text, size_t count) override {
    const int fd = ChannelDescriptor(channel);
    if (!IsTerminal(channel)) return false;
    const std::string bytes = EncodeUtf8(text, count);
    WriteAll(fd, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    return true;
  }

  void WriteToFile(Channel channel, const unsigned char* bytes, size_t count) override {
    WriteAll(ChannelDescriptor(channel), bytes, count);
  }

  // write() keeps nothing buffered in the process, so there is nothing to
  // flush; an fsync would only force a redirected file to disk.
  void FlushChannel(Channel) override {}

 private:
  int64_t UtcOffsetTicks() {
    if (!offsetKnown) {
      // The offset in force now (daylight saving included), from TZ or the
      // system's zone; applied to every value alike.
      const time_t now = time(nullptr);
      struct tm local = {};
      utcOffsetTicks = localtime_r(&now, &local) ? local.tm_gmtoff * TicksPerSecond : 0;
      offsetKnown = true;
    }
    return utcOffsetTicks;
  }

  bool IsTerminal(Channel channel) {
    int& known = terminal[channel == Channel::Output ? 0 : 1];
    if (known < 0) known = isatty(ChannelDescriptor(channel)) ? 1 : 0;
    return known == 1;
  }

  // Writes everything it can. A closed pipe must not kill the process with
  // SIGPIPE: the exit code stays what the run decided.
  void WriteAll(int fd, const unsigned char* bytes, size_t count) {
    if (!pipeSignalIgnored) {
      signal(SIGPIPE, SIG_IGN);
      pipeSignalIgnored = true;
    }
    while (count > 0) {
      const ssize_t written = write(fd, bytes, count);
      if (written < 0 && errno == EINTR) continue;
      if (written <= 0) return;
      bytes += written;
      count -= static_cast<size_t>(written);
    }
  }

  int argumentCount = 0;
  char** arguments = nullptr;
  bool offsetKnown = false;
  int64_t utcOffsetTicks = 0;
  int terminal[2] = {-1, -1};
  bool pipeSignalIgnored = false;
};

PosixPlatform systemPlatform;

}  // namespace

Platform& OpenSystemPlatform(int argc, char** argv) {
  systemPlatform.Open(argc, argv);
  return systemPlatform;
}

void EndProcess(ExitCode code) { _exit(code); }
