// The Linux implementation: argv as the parameters, statx for directory
// entries, UTF-8 with LF on both channels.
#include <dirent.h>
#include <fcntl.h>
#include <linux/stat.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <optional>
#include <string>
#include <utility>
#include <vector>

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

// The statx field of each stamp kind.
unsigned StatxTimeOf(StampKind kind) {
  switch (kind) {
    case StampKind::Created: return STATX_BTIME;
    case StampKind::Accessed: return STATX_ATIME;
    case StampKind::Modified: return STATX_MTIME;
    case StampKind::Changed: return STATX_CTIME;
  }
  return 0;
}

// What one look-up of a directory entry gave.
struct EntryRead {
  int error = 0;  // 0, or the error number
  bool isDirectory = false;
  EntryStamps stamps;  // the stamps asked for; 0 where none is recorded
};

// fstatat has no birth time: it gives the accessed, modified and changed
// stamps and the type, and leaves "created" alone.
void ReadStatTimes(int directory, const char* name, EntryRead& read) {
  struct stat entry = {};
  if (fstatat(directory, name, &entry, AT_SYMLINK_NOFOLLOW) != 0) {
    read.error = errno;
    return;
  }
  read.stamps.accessed = TicksFromTimespec(entry.st_atim);
  read.stamps.modified = TicksFromTimespec(entry.st_mtim);
  read.stamps.changed = TicksFromTimespec(entry.st_ctim);
  read.isDirectory = S_ISDIR(entry.st_mode);
}

void TakeStatxTimes(const struct statx& entry, unsigned times, EntryStamps& stamps) {
  if (times & STATX_ATIME) stamps.accessed = TicksFromStatx(entry.stx_atime);
  if (times & STATX_MTIME) stamps.modified = TicksFromStatx(entry.stx_mtime);
  if (times & STATX_CTIME) stamps.changed = TicksFromStatx(entry.stx_ctime);
}

// `name` relative to the descriptor `directory` (or AT_FDCWD), asking for
// the stamps `times` (STATX_ATIME, STATX_MTIME, STATX_CTIME, STATX_BTIME)
// and the type.
// AT_SYMLINK_NOFOLLOW: a link yields its own stamps, as the Windows search
// does. statx reads the inode; the file is never opened. It is called
// through syscall(): musl has no statx wrapper, and glibc's falls back to
// fstatat on ENOSYS only, so the fallbacks below are the same for both.
EntryRead ReadEntry(int directory, const char* name, unsigned times) {
  EntryRead read;
  struct statx entry = {};
  if (syscall(SYS_statx, directory, name, AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT, times | STATX_TYPE,
              &entry) != 0) {
    read.error = errno;
    // Kernels before 4.11 do not know statx (ENOSYS), and some container
    // seccomp profiles forbid it (EPERM); "created" is missing there.
    if (read.error == ENOSYS || read.error == EPERM) {
      read.error = 0;
      ReadStatTimes(directory, name, read);
    }
    return read;
  }
  // File systems that record no birth time leave STATX_BTIME out of the
  // returned mask; "created" is then missing.
  if ((times & STATX_BTIME) && (entry.stx_mask & STATX_BTIME)) {
    read.stamps.created = TicksFromStatx(entry.stx_btime);
  }
  // A statx that succeeds without the fields asked for: qemu-user answers
  // a guest's statx from its own fstatat where the host refuses statx, and
  // returns the times with an empty mask.
  const unsigned needed = (times & ~unsigned{STATX_BTIME}) | STATX_TYPE;
  if ((entry.stx_mask & needed) != needed) {
    ReadStatTimes(directory, name, read);
    return read;
  }
  TakeStatxTimes(entry, times, read.stamps);
  read.isDirectory = S_ISDIR(entry.stx_mode);
  return read;
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

// Descriptors kept open for the directories of the walked path. A deeper
// tree than this closes its shallowest ones, which are reopened, component
// by component, when the walk climbs back to them.
constexpr size_t DescriptorBudget = 64;
constexpr size_t DescriptorsAfterTrim = 48;

// O_NOFOLLOW: a link that replaced a listed directory is not read through.
// A root typed with a trailing '/' still resolves a link, as the kernel
// follows the last component of such a path.
constexpr int DirectoryOpenFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

// ENOTDIR and ELOOP: a file or a link has taken the directory's place.
ListingEnd EndOfFailedOpen(int error) {
  if (error == ENOENT || error == ENOTDIR || error == ELOOP) return ListingEnd::Vanished;
  return ListingEnd::Unreadable;
}

// One directory of the walked path, from the set's root down.
struct PathLevel {
  Text name;          // the component as listed; for the root its path as typed
  std::string bytes;  // the same as the system names it
  int fd = -1;        // -1 while closed
  dev_t device = 0;
  ino_t inode = 0;
};

// The directories from a set's root down to the one listed last, each
// opened relative to its parent, so that depth is limited neither by the
// length of a path nor by the number of descriptors.
class OpenPath {
 public:
  ~OpenPath() { CloseFrom(0); }

  // Makes `root` followed by `below` the current path, keeping what it
  // shares with the previous one, and gives the last directory's
  // descriptor.
  ListingEnd Enter(const Text& root, std::span<const Text> below, int& fd);

 private:
  ListingEnd Push(const Text& name);
  ListingEnd Open(size_t index, struct stat& identity);
  ListingEnd Descriptor(size_t index, int& fd);
  bool SeenAbove(size_t index) const;
  void Trim(size_t keepFrom);
  void CloseFrom(size_t index);

  std::vector<PathLevel> levels;
  size_t openCount = 0;
};

// A walk starts by listing its root: everything is opened afresh then, so
// that no descriptor of an earlier walk outlives a change to the tree.
ListingEnd OpenPath::Enter(const Text& root, std::span<const Text> below, int& fd) {
  if (below.empty() || levels.empty() || levels[0].name != root) {
    CloseFrom(0);
    if (const ListingEnd end = Push(root); end != ListingEnd::Listed) return end;
  }
  size_t shared = 1;
  while (shared < levels.size() && shared - 1 < below.size() &&
         levels[shared].name == below[shared - 1]) {
    ++shared;
  }
  CloseFrom(shared);
  for (size_t i = shared - 1; i < below.size(); ++i) {
    if (const ListingEnd end = Push(below[i]); end != ListingEnd::Listed) return end;
  }
  return Descriptor(levels.size() - 1, fd);
}

// Opens a new deepest directory below the current path. One that is the
// same as a directory above it (a bind mount of an ancestor) would lead
// the walk round in a circle.
ListingEnd OpenPath::Push(const Text& name) {
  PathLevel level;
  level.name = name;
  level.bytes = EncodeUtf8(name.data(), name.size());
  const size_t index = levels.size();
  int parent = AT_FDCWD;
  if (index > 0) {
    if (const ListingEnd end = Descriptor(index - 1, parent); end != ListingEnd::Listed) return end;
  }
  if (level.bytes.find('\0') != std::string::npos) return ListingEnd::Vanished;
  levels.push_back(std::move(level));
  struct stat identity = {};
  ListingEnd end = Open(index, identity);
  levels[index].device = identity.st_dev;
  levels[index].inode = identity.st_ino;
  if (end == ListingEnd::Listed && SeenAbove(index)) end = ListingEnd::Unreadable;
  if (end != ListingEnd::Listed) CloseFrom(index);
  return end;
}

// Opens levels[index] relative to its parent, which is open (the root
// relative to the working directory).
ListingEnd OpenPath::Open(size_t index, struct stat& identity) {
  const int parent = index == 0 ? AT_FDCWD : levels[index - 1].fd;
  const int fd = openat(parent, levels[index].bytes.c_str(), DirectoryOpenFlags);
  if (fd < 0) return EndOfFailedOpen(errno);
  if (fstat(fd, &identity) != 0) {
    close(fd);
    return ListingEnd::Unreadable;
  }
  levels[index].fd = fd;
  ++openCount;
  Trim(index);
  return ListingEnd::Listed;
}

// Reopens a closed directory from its nearest open ancestor (or from the
// root's path). Each one reopened must be the directory recorded when it
// was first opened; another one in its place means the original is gone.
ListingEnd OpenPath::Descriptor(size_t index, int& fd) {
  size_t open = index + 1;
  while (open > 0 && levels[open - 1].fd < 0) --open;
  for (size_t i = open; i <= index; ++i) {
    struct stat identity = {};
    if (const ListingEnd end = Open(i, identity); end != ListingEnd::Listed) return end;
    if (identity.st_dev != levels[i].device || identity.st_ino != levels[i].inode) {
      CloseFrom(i);
      return ListingEnd::Vanished;
    }
  }
  fd = levels[index].fd;
  return ListingEnd::Listed;
}

bool OpenPath::SeenAbove(size_t index) const {
  for (size_t i = 0; i < index; ++i) {
    if (levels[i].device == levels[index].device && levels[i].inode == levels[index].inode) {
      return true;
    }
  }
  return false;
}

// Closes the shallowest open directories above `keepFrom` once the budget
// is passed.
void OpenPath::Trim(size_t keepFrom) {
  if (openCount <= DescriptorBudget) return;
  for (size_t i = 0; i < keepFrom && openCount > DescriptorsAfterTrim; ++i) {
    if (levels[i].fd < 0) continue;
    close(levels[i].fd);
    levels[i].fd = -1;
    --openCount;
  }
}

void OpenPath::CloseFrom(size_t index) {
  for (size_t i = index; i < levels.size(); ++i) {
    if (levels[i].fd < 0) continue;
    close(levels[i].fd);
    --openCount;
  }
  if (index < levels.size()) levels.resize(index);
}

// The fixed start of a linux_dirent64 record, which getdents64 fills; the
// name follows, NUL-terminated. Records start on 8-byte boundaries.
constexpr size_t RecordLengthAt = 16;
constexpr size_t RecordTypeAt = 18;
constexpr size_t RecordNameAt = 19;
constexpr size_t RecordBufferBytes = size_t{32} * 1024;

bool IsDotOrDotDot(const char* name) {
  return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// The stamp of an entry that the listing gave as no directory, by its name
// relative to the listed directory. File systems that keep no type in the
// directory list DT_UNKNOWN, and the type comes with the stamp.
void ReadListedStamps(int directory, const char* name, unsigned char type, unsigned times,
                      ListedEntry& entry) {
  const EntryRead read = ReadEntry(directory, name, times);
  if (read.error != 0) {
    entry.status =
        read.error == ENOENT ? ListedEntry::Stamps::Vanished : ListedEntry::Stamps::Unreadable;
    return;
  }
  entry.isDirectory = type == DT_UNKNOWN && read.isDirectory;
  entry.stamps = read.stamps;
}

// Lists one open directory into a fixed buffer, so that memory does not
// grow with the number of entries, and decodes each name into one reused
// text.
class DirectoryReader {
 public:
  ListingEnd List(int fd, StampKind kind, ListingVisitor& visitor);

 private:
  bool VisitRecord(int fd, const char* record, unsigned times, ListingVisitor& visitor);

  // On the heap and only once a directory is listed, so that a run
  // without a set touches none of it.
  std::vector<char> records;
  Text name;
};

ListingEnd DirectoryReader::List(int fd, StampKind kind, ListingVisitor& visitor) {
  if (lseek(fd, 0, SEEK_SET) != 0) return ListingEnd::Unreadable;
  if (records.empty()) records.resize(RecordBufferBytes);
  const unsigned times = StatxTimeOf(kind);
  for (;;) {
    const long count = syscall(SYS_getdents64, fd, records.data(), records.size());
    if (count == 0) return ListingEnd::Listed;
    if (count < 0) return ListingEnd::Unreadable;
    for (long at = 0; at < count;) {
      uint16_t length = 0;
      memcpy(&length, records.data() + at + RecordLengthAt, sizeof length);
      if (!VisitRecord(fd, records.data() + at, times, visitor)) return ListingEnd::Listed;
      at += length;
    }
  }
}

// A directory needs no look-up: its stamps are not asked for.
bool DirectoryReader::VisitRecord(int fd, const char* record, unsigned times,
                                  ListingVisitor& visitor) {
  const char* leaf = record + RecordNameAt;
  if (IsDotOrDotDot(leaf)) return true;
  const unsigned char type = static_cast<unsigned char>(record[RecordTypeAt]);
  ListedEntry entry;
  entry.isDirectory = type == DT_DIR;
  if (!entry.isDirectory) ReadListedStamps(fd, leaf, type, times, entry);
  DecodeUtf8Into(leaf, name);
  entry.name = name;
  return visitor.Visit(entry);
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
  // nothing. statx is asked for the stamp `kind` alone.
  bool FindEntryStamps(const Text& name, StampKind kind, EntryStamps& stamps) override {
    const std::string path = EncodeUtf8(name.data(), name.size());
    if (path.find('\0') != std::string::npos) return false;
    const EntryRead read = ReadEntry(AT_FDCWD, path.c_str(), StatxTimeOf(kind));
    if (read.error != 0) return false;
    stamps = read.stamps;
    return true;
  }

  // The path as typed; with a trailing '/' a link to a directory is that
  // directory, as everywhere on this system.
  PathKind ProbeSetPath(const Text& path) override {
    const std::string bytes = EncodeUtf8(path.data(), path.size());
    if (bytes.empty() || bytes.find('\0') != std::string::npos) return PathKind::Missing;
    const EntryRead read = ReadEntry(AT_FDCWD, bytes.c_str(), 0);
    if (read.error != 0) return PathKind::Missing;
    return read.isDirectory ? PathKind::Directory : PathKind::Entry;
  }

  ListingEnd ListDirectory(const Text& root, std::span<const Text> below, StampKind kind,
                           ListingVisitor& visitor) override {
    int fd = -1;
    const ListingEnd end = openPath.Enter(root, below, fd);
    if (end != ListingEnd::Listed) return end;
    return reader.List(fd, kind, visitor);
  }

  char16_t PathSeparator() override { return u'/'; }

  Text MemberPathPrefix(const Text& path) override {
    return !path.empty() && path.back() == u'/' ? path : path + u'/';
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
  OpenPath openPath;
  DirectoryReader reader;
};

// Built on the first call and never destroyed: the process ends with
// _exit, so start-up registers no destructor for it.
alignas(LinuxPlatform) unsigned char systemPlatformStorage[sizeof(LinuxPlatform)];
LinuxPlatform* systemPlatform = nullptr;

}  // namespace

Platform& OpenSystemPlatform(int argc, char** argv) {
  if (systemPlatform == nullptr) systemPlatform = new (systemPlatformStorage) LinuxPlatform;
  systemPlatform->Open(argc, argv);
  return *systemPlatform;
}

void EndProcess(ExitCode code) { _exit(code); }
