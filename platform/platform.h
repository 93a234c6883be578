// The one boundary between Datora and the operating system. Everything
// above platform/ talks to the system through this interface only; the
// build picks the Linux or the Win32 implementation, and unit tests use
// the fake in fake_platform.h. Each implementation brings its system's own
// rules: how parameters arrive, what a name means to a lookup, and how text
// and line ends reach the channels.
#pragma once

#include <span>
#include <string_view>

#include "base/exit_code.h"
#include "base/text.h"
#include "base/time_value.h"

// What a set operand's path names.
enum class PathKind {
  Missing,    // nothing, or a name this system's rules refuse
  Directory,  // a directory (a drive or share root included) to list
  Entry,      // a file, or a link by its own stamps: a set of that one entry
};

// One entry of a directory listing; never "." or "..".
struct ListedEntry {
  std::u16string_view name;  // valid only during the Visit call
  // A directory to descend into. A symbolic link, a junction or another
  // name surrogate is never one: it is a member by its own stamps.
  bool isDirectory = false;
  enum class Stamps { Read, Vanished, Unreadable } status = Stamps::Read;
  EntryStamps stamps;  // when Read; for a directory unspecified
};

// Receives the entries of one directory as the system lists them.
class ListingVisitor {
 public:
  // False stops the listing.
  virtual bool Visit(const ListedEntry& entry) = 0;

 protected:
  ~ListingVisitor() = default;
};

// How a listing ended.
enum class ListingEnd {
  Listed,      // every entry was visited, or the visitor stopped it
  Vanished,    // the directory was gone before it could be opened
  Unreadable,  // it could not be opened or listed (access denied, a loop)
};

class Platform {
 public:
  virtual ~Platform() = default;

  // The next parameter after the program's own name, in order; the empty
  // text when none is left. An explicitly empty parameter is the empty text
  // as well, and callers cannot tell the two apart.
  virtual Text NextParameter() = 0;

  // The current UTC time on the tick scale.
  virtual TimeValue CurrentTime() = 0;

  // Converts a UTC value to local time with the UTC offset in force at the
  // moment of the run (not the offset of the value's own date).
  virtual TimeValue ToLocalTime(TimeValue utc) = 0;

  // The UTC offset in ticks (local minus UTC) that the local zone's rules
  // give at the UTC moment `utc` (0 or later), daylight saving included:
  // the offset of that moment, not of the run. It is the exact offset in
  // force at `utc`, in whole seconds as the zone defines it, whatever
  // fraction of a second `utc` carries; it changes only at the zone's
  // transitions. The zone is the one ToLocalTime uses. 0 for a moment the
  // system cannot convert.
  virtual int64_t UtcOffsetAt(TimeValue utc) = 0;

  // Looks up the directory entry that `name` names, without opening it and
  // without following a symbolic link. Found: fills `stamps` (UTC; 0 where
  // the file system records none) and returns true; the stamp `kind` is
  // always read, the others may be left 0 where reading them costs more.
  // Missing, or a name this system's rules refuse: false.
  virtual bool FindEntryStamps(const Text& name, StampKind kind, EntryStamps& stamps) = 0;

  // What `path`, a set operand's path as typed, names. On Windows the
  // drive and share roots are directories here, though FindEntryStamps
  // refuses them.
  virtual PathKind ProbeSetPath(const Text& path) = 0;

  // Lists the directory `root` (a path ProbeSetPath found a Directory)
  // or, with `below` not empty, the directory those names lead to below
  // it, one component each, as earlier listings gave them. Each entry's
  // stamp `kind` is read for the entries that are no directory; a
  // directory's stamps are not read. Entries arrive in the system's order.
  // A walk lists a directory only after its parent: the Linux layer keeps
  // the descriptors of the directories above open and opens each one
  // relative to its parent, so depth is not limited by the length of a
  // path; a directory that is the same as one above it (a bind mount of an
  // ancestor) is Unreadable. ListDirectory is never called from inside a
  // Visit call: a walk collects the subdirectories and lists them after
  // the listing that gave them has returned, since a layer may keep one
  // buffer for the listing in progress.
  virtual ListingEnd ListDirectory(const Text& root, std::span<const Text> below, StampKind kind,
                                   ListingVisitor& visitor) = 0;

  // The separator between the components of a member's path: '/' or '\\'.
  virtual char16_t PathSeparator() = 0;

  // The start of every member's path in messages and in the /debug report
  // for the set path `path` as typed: on Windows after dropping one
  // trailing backslash (a root's is kept), then one separator unless it
  // already ends in one ("src" gives "src/" or "src\\", "C:\\" stays).
  virtual Text MemberPathPrefix(const Text& path) = 0;

  // Lower-cases `text` in place with the platform's mapping.
  virtual void LowerCase(Text& text) = 0;

  // Writes `text` and a line end to standard output. Failures (closed
  // channel, full disk) are ignored: the exit code is all a script relies on.
  virtual void WriteLine(const Text& text) = 0;

  // Writes one message to standard error: every line but the last followed
  // by the platform's line end, the last by a single LF. Failures ignored.
  virtual void WriteErrorText(std::span<const std::u16string_view> lines) = 0;
};

// The real platform of this build. `argc`/`argv` are main()'s; the Win32
// build ignores them and reads the command line from the system.
Platform& OpenSystemPlatform(int argc, char** argv);

// Ends the process with `code`.
[[noreturn]] void EndProcess(ExitCode code);
