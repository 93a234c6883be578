// The Win32 implementation over kernel32: the command-line text and its
// splitter, the directory search, the console, and UTF-16LE bytes on
// redirected channels.
#include <windows.h>
#include <winternl.h>

#include <string_view>
#include <vector>

#include "platform/command_line.h"
#include "platform/platform.h"
#include "platform/windows_directory_records.h"
#include "platform/windows_names.h"
#include "platform/windows_zone_offset.h"

namespace {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 wchar_t expected");

// A FILETIME is unsigned; one of 2^63 or more (a file system can keep such
// a stamp) reads as 0, missing, as on the Linux build.
TimeValue ValueFromFileTime(const FILETIME& time) {
  return TicksFromFileTime((static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
}

FILETIME FileTimeFromValue(TimeValue value) {
  const uint64_t bits = static_cast<uint64_t>(value);
  return FILETIME{static_cast<DWORD>(bits & 0xFFFFFFFFu), static_cast<DWORD>(bits >> 32)};
}

// A function of a system DLL that the program is linked against anyway,
// looked up by name; null where this Windows has none.
template <typename Function>
Function SystemFunction(const wchar_t* module, const char* name) {
  return reinterpret_cast<Function>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(module), name)));
}

using ReadZoneRulesForYear = BOOL(WINAPI*)(USHORT, DYNAMIC_TIME_ZONE_INFORMATION*,
                                           TIME_ZONE_INFORMATION*);

// UTC to the active zone's local time by the zone's rules for the year of
// the moment (dynamic daylight saving, Windows Vista on), so that a rule
// that changed applies to the years it held in. The year is the UTC one,
// which differs from the local one only for hours around New Year, far
// from any change of daylight saving. GetTimeZoneInformationForYear
// is looked up when first needed, so that datora.exe still starts on the
// older Windows its other imports allow; there a zone has one set of
// rules, which the plain conversion applies to every year.
bool ToZoneTime(const SYSTEMTIME& universal, SYSTEMTIME& local) {
  static bool zoneRulesLookedUp = false;
  static ReadZoneRulesForYear zoneRulesForYear = nullptr;
  if (!zoneRulesLookedUp) {
    zoneRulesLookedUp = true;
    zoneRulesForYear =
        SystemFunction<ReadZoneRulesForYear>(L"kernel32.dll", "GetTimeZoneInformationForYear");
  }
  TIME_ZONE_INFORMATION rules;
  if (zoneRulesForYear != nullptr && zoneRulesForYear(universal.wYear, nullptr, &rules)) {
    return SystemTimeToTzSpecificLocalTime(&rules, &universal, &local);
  }
  return SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local);
}

// The local clock time at a UTC moment, through SYSTEMTIME.
bool ShownInZone(TimeValue utc, TimeValue& shownLocal) {
  const FILETIME moment = FileTimeFromValue(utc);
  SYSTEMTIME universal;
  SYSTEMTIME local;
  FILETIME shown;
  if (!FileTimeToSystemTime(&moment, &universal) || !ToZoneTime(universal, local) ||
      !SystemTimeToFileTime(&local, &shown)) {
    return false;
  }
  shownLocal = ValueFromFileTime(shown);
  return true;
}

// Older consoles refuse a single WriteConsoleW of more than about 64 KB, so
// long texts go out in pieces that never split a surrogate pair.
constexpr size_t ConsolePiece = 8192;

// False, writing nothing, when the handle is no console (a file or a pipe).
bool WriteToConsole(HANDLE handle, std::u16string_view text) {
  bool first = true;
  do {
    size_t piece = text.size() < ConsolePiece ? text.size() : ConsolePiece;
    if (piece < text.size() && text[piece - 1] >= 0xD800 && text[piece - 1] <= 0xDBFF) --piece;
    DWORD written = 0;
    if (!WriteConsoleW(handle, text.data(), static_cast<DWORD>(piece), &written, nullptr)) {
      return !first;
    }
    first = false;
    text.remove_prefix(piece);
  } while (!text.empty());
  return true;
}

void WriteToFile(HANDLE handle, const char* bytes, size_t count) {
  while (count > 0) {
    DWORD written = 0;
    const DWORD piece = count > 0x10000000 ? 0x10000000 : static_cast<DWORD>(count);
    if (!WriteFile(handle, bytes, piece, &written, nullptr) || written == 0) return;
    bytes += written;
    count -= written;
  }
}

// To the console when the channel is one; otherwise the same text as raw
// UTF-16LE bytes (x86 is little-endian), without a byte-order mark.
void WriteChannelText(HANDLE handle, std::u16string_view text) {
  if (WriteToConsole(handle, text)) return;
  WriteToFile(handle, reinterpret_cast<const char*>(text.data()), text.size() * sizeof(char16_t));
}

const wchar_t* WideName(const Text& name) { return reinterpret_cast<const wchar_t*>(name.c_str()); }

// GetFullPathNameW's full path of `name`; the empty text where it fails.
Text FullPathName(const Text& name) {
  const DWORD size = GetFullPathNameW(WideName(name), 0, nullptr, nullptr);
  if (size == 0) return Text();
  Text full(size, u'\0');
  const DWORD length =
      GetFullPathNameW(WideName(name), size, reinterpret_cast<wchar_t*>(full.data()), nullptr);
  if (length == 0 || length >= size) return Text();
  full.resize(length);
  return full;
}

// A name past MAX_PATH reaches the system in the "\\?\" form of its full
// path, which lifts the limit; one typed in that form is used as given.
bool NeedsLongPathForm(const Text& name) {
  return name.size() >= MAX_PATH && !std::u16string_view(name).starts_with(u"\\\\?\\");
}

Text LongPathFormOf(const Text& name) {
  const Text full = FullPathName(name);
  return full.empty() ? name : WindowsLongPathForm(full);
}

// The pattern of the listing; past MAX_PATH the root's full path in the
// "\\?\" form leads it, and the listed components follow unchanged.
Text ListingPatternOf(const Text& root, std::span<const Text> below) {
  const Text pattern = WindowsListingPattern(root, below);
  if (!NeedsLongPathForm(pattern)) return pattern;
  const Text full = FullPathName(WindowsMemberPathPrefix(root));
  return full.empty() ? pattern : WindowsListingPattern(WindowsLongPathForm(full), below);
}

// FindExInfoBasic (no short name) and FIND_FIRST_EX_LARGE_FETCH make the
// listing cheaper; Windows before 7 knows neither and answers
// ERROR_INVALID_PARAMETER.
HANDLE OpenListing(const Text& pattern, WIN32_FIND_DATAW& entry) {
  HANDLE search = FindFirstFileExW(WideName(pattern), FindExInfoBasic, &entry,
                                   FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (search == INVALID_HANDLE_VALUE && GetLastError() == ERROR_INVALID_PARAMETER) {
    search = FindFirstFileExW(WideName(pattern), FindExInfoStandard, &entry, FindExSearchNameMatch,
                              nullptr, 0);
  }
  return search;
}

bool IsDirectoryName(const Text& name) {
  const DWORD attributes = GetFileAttributesW(WideName(name));
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// A drive root lists no "." and "..", so an empty one answers
// ERROR_FILE_NOT_FOUND as a directory that is gone does.
ListingEnd EndOfFailedListing(const Text& pattern, DWORD error) {
  if (error == ERROR_FILE_NOT_FOUND) {
    return IsDirectoryName(pattern.substr(0, pattern.size() - 1)) ? ListingEnd::Listed
                                                                  : ListingEnd::Vanished;
  }
  if (error == ERROR_PATH_NOT_FOUND || error == ERROR_DIRECTORY) return ListingEnd::Vanished;
  return ListingEnd::Unreadable;
}

bool IsDotOrDotDot(std::u16string_view name) { return name == u"." || name == u".."; }

// Every stamp comes with the listing: no entry is opened.
ListedEntry ListedFromFind(const WIN32_FIND_DATAW& found) {
  ListedEntry entry;
  entry.name = reinterpret_cast<const char16_t*>(found.cFileName);
  entry.isDirectory = WindowsDescends(found.dwFileAttributes, found.dwReserved0);
  entry.stamps.created = ValueFromFileTime(found.ftCreationTime);
  entry.stamps.accessed = ValueFromFileTime(found.ftLastAccessTime);
  entry.stamps.modified = ValueFromFileTime(found.ftLastWriteTime);
  return entry;
}

ListingEnd VisitListing(HANDLE search, WIN32_FIND_DATAW& found, ListingVisitor& visitor) {
  do {
    const ListedEntry entry = ListedFromFind(found);
    if (!IsDotOrDotDot(entry.name) && !visitor.Visit(entry)) {
      return ListingEnd::Listed;
    }
  } while (FindNextFileW(search, &found));
  return GetLastError() == ERROR_NO_MORE_FILES ? ListingEnd::Listed : ListingEnd::Unreadable;
}

// The change time is in no Win32 listing: it comes from ntdll's directory
// query, which the FindFirstFile functions call underneath. It is looked up
// when first needed, so that datora.exe keeps importing from kernel32 only.
using QueryDirectoryFile = NTSTATUS(NTAPI*)(HANDLE, HANDLE, PIO_APC_ROUTINE, PVOID,
                                            PIO_STATUS_BLOCK, PVOID, ULONG, FILE_INFORMATION_CLASS,
                                            BOOLEAN, PUNICODE_STRING, BOOLEAN);

QueryDirectoryFile DirectoryQuery() {
  static bool lookedUp = false;
  static QueryDirectoryFile query = nullptr;
  if (!lookedUp) {
    lookedUp = true;
    query = SystemFunction<QueryDirectoryFile>(L"ntdll.dll", "NtQueryDirectoryFile");
  }
  return query;
}

// FileFullDirectoryInformation: the four stamps, the attributes and the
// reparse tag, no short name.
const auto FullDirectoryInformation = static_cast<FILE_INFORMATION_CLASS>(2);
constexpr NTSTATUS NoMoreFiles = static_cast<NTSTATUS>(0x80000006);
constexpr NTSTATUS NoSuchFile = static_cast<NTSTATUS>(0xC000000F);

// A directory opened for listing only, shared with every other use.
// `path` ends in a backslash (or "."), so a file of that name is refused
// rather than opened.
HANDLE OpenDirectoryForQuery(const Text& path) {
  return CreateFileW(WideName(path), FILE_LIST_DIRECTORY,
                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                     FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

// The stamps of the one entry `leaf` of the directory `parent`, asked for
// by name: the query returns that entry alone, never the whole directory.
bool FindEntryOfDirectory(const Text& parent, const Text& leaf, EntryStamps& stamps) {
  const QueryDirectoryFile query = DirectoryQuery();
  if (query == nullptr || leaf.size() > 0x7FFF) return false;
  const HANDLE directory = OpenDirectoryForQuery(parent);
  if (directory == INVALID_HANDLE_VALUE) return false;
  // One record: the fixed part and a name of at most 255 units.
  alignas(8) unsigned char buffer[1024];
  const USHORT nameBytes = static_cast<USHORT>(leaf.size() * sizeof(char16_t));
  UNICODE_STRING filter{nameBytes, nameBytes, const_cast<wchar_t*>(WideName(leaf))};
  IO_STATUS_BLOCK io{};
  const NTSTATUS status = query(directory, nullptr, nullptr, nullptr, &io, buffer, sizeof buffer,
                                FullDirectoryInformation, TRUE, &filter, TRUE);
  CloseHandle(directory);
  size_t offset = 0;
  DirectoryRecord record;
  if (status != 0 || !NextDirectoryRecord(std::span(buffer, io.Information), offset, record)) {
    return false;
  }
  stamps = record.stamps;
  return true;
}

ListingEnd EndOfFailedOpen(DWORD error) {
  const bool gone = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
                    error == ERROR_DIRECTORY || error == ERROR_INVALID_NAME;
  return gone ? ListingEnd::Vanished : ListingEnd::Unreadable;
}

// False when the visitor stopped the listing.
bool VisitRecords(std::span<const unsigned char> records, ListingVisitor& visitor) {
  size_t offset = 0;
  DirectoryRecord record;
  while (NextDirectoryRecord(records, offset, record)) {
    if (IsDotOrDotDot(record.name)) continue;
    ListedEntry entry;
    entry.name = record.name;
    entry.isDirectory = WindowsDescends(record.attributes, record.reparseTag);
    entry.stamps = record.stamps;
    if (!visitor.Visit(entry)) return false;
  }
  return true;
}

// The listing of `pattern` (a directory's path and "*") through the
// directory query, for the change time, a buffer full of records per call.
ListingEnd ListWithChangeTimes(const Text& pattern, std::span<unsigned char> buffer,
                               ListingVisitor& visitor) {
  const QueryDirectoryFile query = DirectoryQuery();
  if (query == nullptr) return ListingEnd::Unreadable;
  Text path = pattern.substr(0, pattern.size() - 1);
  if (path.back() != u'\\') path += u'.';  // "X:" is drive X's current directory
  const HANDLE directory = OpenDirectoryForQuery(path);
  if (directory == INVALID_HANDLE_VALUE) return EndOfFailedOpen(GetLastError());
  ListingEnd end = ListingEnd::Listed;
  for (;;) {
    IO_STATUS_BLOCK io{};
    const NTSTATUS status =
        query(directory, nullptr, nullptr, nullptr, &io, buffer.data(),
              static_cast<ULONG>(buffer.size()), FullDirectoryInformation, FALSE, nullptr, FALSE);
    if (status == NoMoreFiles || status == NoSuchFile) break;
    if (status != 0) {
      end = ListingEnd::Unreadable;
      break;
    }
    if (!VisitRecords(buffer.first(io.Information), visitor)) break;
  }
  CloseHandle(directory);
  return end;
}

// The reparse tag of a directory that is a reparse point, from its
// directory entry; GetFileAttributesW does not give it.
PathKind KindOfReparseDirectory(const Text& name) {
  WIN32_FIND_DATAW found;
  const HANDLE search = FindFirstFileW(WideName(name), &found);
  if (search == INVALID_HANDLE_VALUE) return PathKind::Directory;
  FindClose(search);
  return WindowsDescends(found.dwFileAttributes, found.dwReserved0) ? PathKind::Directory
                                                                    : PathKind::Entry;
}

class Win32Platform final : public Platform {
 public:
  Text NextParameter() override {
    if (!commandLineRead) {
      commandLine = OpenCommandLine(reinterpret_cast<const char16_t*>(GetCommandLineW()));
      commandLineRead = true;
    }
    return ::NextParameter(commandLine);
  }

  TimeValue CurrentTime() override {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return ValueFromFileTime(now);
  }

  // Held at the ends of the scale: FileTimeToLocalFileTime would carry a
  // value within the bias of an end past it (Wine adds without a check),
  // and the result would read as missing.
  TimeValue ToLocalTime(TimeValue utc) override { return AddTicksSaturated(utc, UtcOffsetTicks()); }

  // SYSTEMTIME keeps whole milliseconds, so the conversion is asked about
  // the moment's millisecond and the offset comes out exact.
  int64_t UtcOffsetAt(TimeValue utc) override { return ZoneOffsetFromConversion(utc, ShownInZone); }

  // The change time takes the directory query, the other stamps the
  // search; both read the directory entry, neither opens the file.
  bool FindEntryStamps(const Text& name, StampKind kind, EntryStamps& stamps) override {
    Text searched;
    if (!WindowsSearchName(name, searched)) return false;
    if (searched.find(u'\0') != Text::npos) return false;
    if (kind == StampKind::Changed) {
      const bool typedLong = std::u16string_view(searched).starts_with(u"\\\\?\\");
      Text parent;
      Text leaf;
      return WindowsParentAndLeaf(typedLong ? searched : FullPathName(searched), parent, leaf) &&
             FindEntryOfDirectory(parent, leaf, stamps);
    }
    WIN32_FIND_DATAW entry;
    const HANDLE search =
        FindFirstFileW(reinterpret_cast<const wchar_t*>(searched.c_str()), &entry);
    if (search == INVALID_HANDLE_VALUE) return false;
    FindClose(search);
    stamps.created = ValueFromFileTime(entry.ftCreationTime);
    stamps.accessed = ValueFromFileTime(entry.ftLastAccessTime);
    stamps.modified = ValueFromFileTime(entry.ftLastWriteTime);
    return true;
  }

  // GetFileAttributesW answers for the drive and share roots too, which a
  // directory search cannot find.
  PathKind ProbeSetPath(const Text& path) override {
    Text name;
    if (!WindowsSetPathName(path, name) || name.find(u'\0') != Text::npos) return PathKind::Missing;
    if (NeedsLongPathForm(name)) name = LongPathFormOf(name);
    const DWORD attributes = GetFileAttributesW(WideName(name));
    if (attributes == INVALID_FILE_ATTRIBUTES) return PathKind::Missing;
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return PathKind::Entry;
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) return PathKind::Directory;
    return KindOfReparseDirectory(name);
  }

  // The search gives every stamp but the change time, which takes the
  // directory query.
  ListingEnd ListDirectory(const Text& root, std::span<const Text> below, StampKind kind,
                           ListingVisitor& visitor) override {
    const Text pattern = ListingPatternOf(root, below);
    if (pattern.find(u'\0') != Text::npos) return ListingEnd::Vanished;
    if (kind == StampKind::Changed) {
      // One buffer serves every listing: a walk never starts one from
      // inside another.
      if (recordBuffer.empty()) recordBuffer.resize(65536);
      return ListWithChangeTimes(pattern, recordBuffer, visitor);
    }
    WIN32_FIND_DATAW found;
    const HANDLE search = OpenListing(pattern, found);
    if (search == INVALID_HANDLE_VALUE) return EndOfFailedListing(pattern, GetLastError());
    const ListingEnd end = VisitListing(search, found, visitor);
    FindClose(search);
    return end;
  }

  char16_t PathSeparator() override { return u'\\'; }

  Text MemberPathPrefix(const Text& path) override { return WindowsMemberPathPrefix(path); }

  // kernel32's simple (non-linguistic) mapping, the one CharLowerW uses:
  // "I" becomes "i" whatever the user's language. CharLowerW itself lives in
  // user32, whose load alone makes every start and exit dearer.
  void LowerCase(Text& text) override {
    if (text.empty()) return;
    Text lowered(text.size(), u'\0');
    const int count = static_cast<int>(text.size());
    if (LCMapStringW(LOCALE_INVARIANT, LCMAP_LOWERCASE,
                     reinterpret_cast<const wchar_t*>(text.data()), count,
                     reinterpret_cast<wchar_t*>(lowered.data()), count) == count) {
      text = lowered;
    }
  }

  void WriteLine(const Text& text) override {
    Text line = text;
    line += u"\r\n";
    const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    WriteChannelText(output, line);
    // Only a disk file is flushed: on a pipe FlushFileBuffers waits until
    // the reader has read everything, which hangs a parent that waits for
    // the process before it reads.
    if (GetFileType(output) == FILE_TYPE_DISK) FlushFileBuffers(output);
  }

  // The lines joined by CR LF, then the closing LF in a second write.
  void WriteErrorText(std::span<const std::u16string_view> lines) override {
    Text message;
    for (size_t i = 0; i < lines.size(); ++i) {
      if (i > 0) message += u"\r\n";
      message += lines[i];
    }
    const HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
    WriteChannelText(error, message);
    WriteChannelText(error, u"\n");
  }

 private:
  // FileTimeToLocalFileTime applies the bias in force now to every value,
  // whatever its date, so the bias is taken once, from the current time.
  int64_t UtcOffsetTicks() {
    if (!offsetKnown) {
      const TimeValue now = CurrentTime();
      const FILETIME universal = FileTimeFromValue(now);
      FILETIME local;
      utcOffsetTicks =
          FileTimeToLocalFileTime(&universal, &local) ? ValueFromFileTime(local) - now : 0;
      offsetKnown = true;
    }
    return utcOffsetTicks;
  }

  CommandLine commandLine;
  bool commandLineRead = false;
  std::vector<unsigned char> recordBuffer;  // the directory query's records
  bool offsetKnown = false;
  int64_t utcOffsetTicks = 0;
};

Win32Platform systemPlatform;

}  // namespace

Platform& OpenSystemPlatform(int, char**) { return systemPlatform; }

void EndProcess(ExitCode code) { ExitProcess(static_cast<UINT>(code)); }
