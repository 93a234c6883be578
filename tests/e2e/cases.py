"""The end-to-end case table and the files it runs against.

The table runs against every build: the Linux binaries directly (arm64
under qemu-user), and for the Windows rows the cross-compiled datora.exe
(mingw-w64) under Wine, with a case's `windows_skip` naming what Wine cannot
honour.

Every stamp is set by the fixture, either at a fixed UTC moment or relative
to the moment the fixture is made. Cases that depend on the local day run
under a TZ chosen so that the run is near local noon, far from midnight.
"""

import datetime
import os
import re
import shutil
import tempfile
import time
import zoneinfo
from dataclasses import dataclass, field

TICKS_PER_SECOND = 10_000_000
TICKS_PER_DAY = 86_400 * TICKS_PER_SECOND
UNIX_EPOCH_TICKS = 116_444_736_000_000_000

# The usage text, banner first, from the one expected copy: each line of
# tests/expected/usage.txt ends in LF there, in CR LF here, as datora.exe
# writes it.
with open(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "expected", "usage.txt"),
          encoding="ascii", newline="") as _usage:
    _USAGE_LINES = _usage.read().split("\n")[:-1]
BANNER = _USAGE_LINES[0] + "\r\n"
USAGE = "".join(line + "\r\n" for line in _USAGE_LINES[1:])
USAGE_ERROR = BANNER + USAGE + "\n"

# Names that only a POSIX file system can hold: a quote, a trailing
# backslash and a question mark are ordinary characters there.
LINUX_NAMES = ('q"uote.txt', "back\\", "what?.txt")
NO_QUOTE_THROUGH_ARGV = ("Wine rebuilds the command line from argv with its own quoting; "
                         "the exact command lines cover quotes in datora.exe's names")

# Wine 8 reports a file's last-write time as its creation time; Windows and
# the Linux build report the real creation (birth) time.
WINE_CREATION_TIME = "Wine reports the last-write time as the creation time"
# A Windows directory search reports a symbolic link's own stamps, as the
# Linux build does; Wine 8 reports those of the link's target.
WINE_FOLLOWS_LINKS = "Wine reports the stamps of a symbolic link's target"


# Zones the Linux C library reads itself, from TZ or /etc/localtime: the
# TZ setting (None: unset) and the zone file whose offset now is expected,
# as Python's own reader of the zone files gives it (None: UTC).
LINUX_ZONES = (
    ("daylight saving zone", "Europe/Berlin", "Europe/Berlin"),
    ("zone 45 minutes off the hour", "Asia/Kathmandu", "Asia/Kathmandu"),
    ("POSIX rule with daylight saving", "CET-1CEST,M3.5.0,M10.5.0/3", "Europe/Berlin"),
    # A zone file whose name reads as a rule string without dates: daylight
    # saving only in the northern summer, not all year.
    ("zone file named like a rule", "EST5EDT", "EST5EDT"),
    ("invalid TZ is UTC", "Nowhere/Invalid", None),
    ("TZ unset reads /etc/localtime", None, "/etc/localtime"),
    ("zone found under TZDIR", "Test/Far_East", "Asia/Kathmandu"),
    ("colon zone found under TZDIR", ":Test/Far_East", "Asia/Kathmandu"),
    ("leap-second zone keeps civil days", "right/Asia/Kathmandu", "Asia/Kathmandu"),
)
# The zone the TZDIR rows name: a copy of Asia/Kathmandu in the folder
# "tzdir", under a name that the system's zone directory lacks.
TZDIR_ZONE = "Test/Far_East"
LINUX_ZONE_RULES = "the zone rows check the Linux C libraries' reading of TZ and /etc/localtime"


def zone_offset_seconds(reference, unix_seconds):
    if reference is None or (reference.startswith("/") and not os.path.exists(reference)):
        return 0
    if reference.startswith("/"):
        with open(reference, "rb") as handle:
            zone = zoneinfo.ZoneInfo.from_file(handle)
    else:
        zone = zoneinfo.ZoneInfo(reference)
    moment = datetime.datetime.fromtimestamp(unix_seconds, datetime.timezone.utc)
    return int(zone.utcoffset(moment).total_seconds())


def ticks(year, month, day, hour=0, minute=0, second=0, extra_ticks=0):
    moment = datetime.datetime(year, month, day, hour, minute, second,
                               tzinfo=datetime.timezone.utc)
    return int(moment.timestamp()) * TICKS_PER_SECOND + UNIX_EPOCH_TICKS + extra_ticks


def set_stamps(path, modified, accessed=None):
    accessed = modified if accessed is None else accessed
    to_ns = lambda t: (t - UNIX_EPOCH_TICKS) * 100
    os.utime(path, ns=(to_ns(accessed), to_ns(modified)), follow_symlinks=False)


@dataclass
class Expected:
    code: int
    out: object = ""
    err: object = ""


@dataclass
class Case:
    name: str
    args: list
    code: int
    out: object = ""
    err: object = ""
    env: dict = field(default_factory=dict)
    windows_skip: str = ""
    native_skip: str = ""
    # What the Linux build gives instead, where a Windows rule for names
    # does not hold on Linux (code, out, err as for the case itself).
    linux: dict = None
    # Both channels on pipes (Linux build; under Wine the channels stay
    # files, as Wine keeps pipes open for seconds after the program ends).
    pipe: bool = False
    # Run as the user nobody (where the tests run as root), so that a
    # folder without permissions cannot be read.
    as_nobody: bool = False
    open_files: int = 0  # a lower limit of open descriptors

    def skip_reason(self, windows):
        return self.windows_skip if windows else self.native_skip

    def expected(self, windows):
        if windows or self.linux is None:
            return Expected(self.code, self.out, self.err)
        return Expected(**self.linux)


class LineCase(Case):
    """A case whose parameters are one exact command-line text (program path
    included) for the Windows test launcher."""

    @property
    def line(self):
        return self.args


@dataclass
class Fixture:
    now: int            # UTC ticks when the files were made
    tz: str             # a zone in which the run is near local noon
    offset: int         # that zone's offset in ticks
    stamps: dict
    long_name: str      # a file whose full path passes 260 characters
    workdir: str
    far_name: str       # a file stamped past the tick scale's end, on tmpfs
    # Per LINUX_ZONES row: its label, TZ setting and two files 30 s either
    # side of a local midnight in that zone.
    zones: list = field(default_factory=list)

    def windows_path(self, name):
        """`name` in the fixture's folder as Wine sees it, behind the
        long-path prefix."""
        return "\\\\?\\Z:" + os.path.join(self.workdir, name).replace("/", "\\")


def noon_zone(now):
    """A fixed-offset POSIX zone in which `now` is between 11:30 and 12:30."""
    utc_hour = ((now - UNIX_EPOCH_TICKS) // (3600 * TICKS_PER_SECOND)) % 24
    hours = 12 - utc_hour
    if hours > 12:
        hours -= 24
    # POSIX zones count west of UTC as positive: "DAT-3" is three hours east.
    return ("DAT%+d" % -hours), hours * 3600 * TICKS_PER_SECOND


def wait_clear_of_utc_midnight():
    seconds = time.time() % 86_400
    if seconds > 86_400 - 120:
        time.sleep(86_400 - seconds + 1)


def stamp_fixture(workdir, now, windows=False):
    wait_clear_of_utc_midnight()
    now = (time.time_ns() // 100) + UNIX_EPOCH_TICKS
    utc_day = now // TICKS_PER_DAY * TICKS_PER_DAY
    stamps = {
        "old.txt": (ticks(2020, 1, 1, 12), ticks(2019, 1, 1, 12)),
        "new.txt": (ticks(2021, 1, 1, 12), ticks(2022, 1, 1, 12)),
        "twin.txt": (ticks(2020, 1, 1, 12), ticks(2019, 1, 1, 12)),
        "tick.txt": (ticks(2020, 1, 1, 12, extra_ticks=1), None),
        # A copy on a file system with a coarse clock: 1.5 s after old.txt.
        "copy.txt": (ticks(2020, 1, 1, 12, 0, 1, extra_ticks=5_000_000), None),
        # Copies one hour off, as FAT shows them after a change of daylight
        # saving: exactly, and with an edit 1.5 s later.
        "shifted.txt": (ticks(2020, 1, 1, 13), None),
        "shifted-edit.txt": (ticks(2020, 1, 1, 13, 0, 1, extra_ticks=5_000_000), None),
        # 23:59:59.5 and 00:00:00 the next day in CET-1 (UTC+1).
        "eve.txt": (ticks(2023, 5, 5, 22, 59, 59, extra_ticks=5_000_000), None),
        "midnight.txt": (ticks(2023, 5, 5, 23), None),
        "with space.txt": (ticks(2020, 1, 1, 12), None),
        "caf\u00e9.txt": (ticks(2021, 1, 1, 12), None),
        "late.txt": (ticks(2023, 5, 5, 23, 59), None),
        "soon.txt": (ticks(2023, 5, 6, 0, 1), None),
        "a1.txt": (ticks(2020, 1, 1, 12), None),
        "today.txt": (ticks(2020, 1, 1, 12), None),
        "now.log": (ticks(2020, 1, 1, 12), None),
        "recent.txt": (now - 30 * 60 * TICKS_PER_SECOND, None),
        "threedays.txt": (now - 3 * TICKS_PER_DAY, None),
        "utcnoon3.txt": (utc_day - 3 * TICKS_PER_DAY + 12 * 3600 * TICKS_PER_SECOND, None),
        "twohours.txt": (now - 2 * 3600 * TICKS_PER_SECOND, None),
        "release.txt": (ticks(2026, 6, 15, 10), None),
        "noon.txt": (ticks(2026, 6, 15, 12), None),
        # The first 02:30 of the night that summer time ends in Berlin.
        "fallback.txt": (ticks(2026, 10, 25, 0, 30), None),
        "folder": (ticks(2018, 6, 15, 12), None),
    }
    for name, (modified, accessed) in stamps.items():
        path = os.path.join(workdir, name)
        if name == "folder":
            os.mkdir(path)
        else:
            with open(path, "w") as handle:
                handle.write(name)
        set_stamps(path, modified, accessed)
    for name in () if windows else LINUX_NAMES:
        path = os.path.join(workdir, name)
        with open(path, "w") as handle:
            handle.write(name)
        set_stamps(path, stamps["old.txt"][0])
    long_name = os.path.join("d" * 150, "f" * 150 + ".txt")
    os.mkdir(os.path.join(workdir, "d" * 150))
    with open(os.path.join(workdir, long_name), "w") as handle:
        handle.write("long")
    set_stamps(os.path.join(workdir, long_name), stamps["old.txt"][0])
    # A copy as cp -p makes it: the original's stamps written on a new
    # file, which keeps a changed time of its own. (Copying would read
    # old.txt and move its accessed stamp.)
    with open(os.path.join(workdir, "kept.txt"), "w") as handle:
        handle.write("old.txt")
    set_stamps(os.path.join(workdir, "kept.txt"), *stamps["old.txt"])
    link = os.path.join(workdir, "link.txt")
    os.symlink("old.txt", link)
    set_stamps(link, ticks(2018, 1, 1, 12))
    tz, offset = noon_zone(now)
    return Fixture(now=now, tz=tz, offset=offset,
                   stamps={name: modified for name, (modified, _) in stamps.items()},
                   long_name=long_name, workdir=workdir, far_name=far_fixture(),
                   zones=zone_fixture(workdir, now))


# 922,337,203,685 s after 1970: a FILETIME of 2^63 or more. tmpfs keeps
# such a stamp; ext4 would clamp it to the year 2446.
FAR_TICKS = UNIX_EPOCH_TICKS + 922_337_203_685 * TICKS_PER_SECOND


# The scale's last tick, 910,692,730,085.4775807 s after 1970.
LAST_TICK = 2**63 - 1


def far_fixture():
    """A file on /dev/shm stamped at FAR_TICKS, and beside it last.txt at
    LAST_TICK; the caller removes their folder."""
    folder = tempfile.mkdtemp(prefix="datora-e2e-", dir="/dev/shm")
    for name, stamp in (("far.txt", FAR_TICKS), ("last.txt", LAST_TICK)):
        path = os.path.join(folder, name)
        open(path, "w").close()
        set_stamps(path, stamp)
        kept = os.stat(path).st_mtime_ns
        assert kept == (stamp - UNIX_EPOCH_TICKS) * 100, f"/dev/shm kept {kept} ns"
    return os.path.join(folder, "far.txt")


def zone_fixture(workdir, now):
    os.makedirs(os.path.join(workdir, "tzdir", os.path.dirname(TZDIR_ZONE)))
    shutil.copy("/usr/share/zoneinfo/Asia/Kathmandu", os.path.join(workdir, "tzdir", TZDIR_ZONE))
    zones = []
    unix_now = (now - UNIX_EPOCH_TICKS) // TICKS_PER_SECOND
    for index, (label, setting, reference) in enumerate(LINUX_ZONES):
        offset = zone_offset_seconds(reference, unix_now) * TICKS_PER_SECOND
        midnight = ticks(2023, 5, 6) - offset
        names = ("zone%d-eve.txt" % index, "zone%d-morn.txt" % index)
        for name, stamp in zip(names, (midnight - 30 * TICKS_PER_SECOND,
                                       midnight + 30 * TICKS_PER_SECOND)):
            with open(os.path.join(workdir, name), "w") as handle:
                handle.write(name)
            set_stamps(os.path.join(workdir, name), stamp)
        zones.append((label, setting, names))
    return zones


def refresh_recent(workdir):
    """Sets recent.txt to 30 minutes before this moment. The NOW cases call
    it right before they run, so a slow run cannot move them."""
    now = (time.time_ns() // 100) + UNIX_EPOCH_TICKS
    set_stamps(os.path.join(workdir, "recent.txt"), now - 30 * 60 * TICKS_PER_SECOND)


def report(verdict, difference):
    return "Resp: %s\r\nDiff: %s\r\n" % ("true" if verdict else "false", difference)


def file_cases(fx):
    usage = dict(code=255, err=USAGE_ERROR)
    nf = lambda name: dict(code=255, err="Not found or invalid: " + name + "\n")
    syntax = lambda token: dict(code=255, err="Syntax error: " + token + "\n")
    utc3 = {"TZ": "DAT-3"}
    cet = {"TZ": "CET-1"}
    tzdir = os.path.join(fx.workdir, "tzdir")
    last = os.path.join(os.path.dirname(fx.far_name), "last.txt")
    berlin_today = datetime.datetime.now(zoneinfo.ZoneInfo("Europe/Berlin")).date()
    last_days = LAST_TICK // TICKS_PER_DAY - (berlin_today - datetime.date(1601, 1, 1)).days
    return [
        # Usage text and the first parameter.
        Case("no parameter", [], **usage),
        Case("empty first parameter", [""], **usage),
        Case("question mark first", ["/?"], **usage),
        Case("question mark first, more after", ["/?", "before", "x"], **usage),
        Case("/h is a file name", ["/h", "before", "old.txt"], **nf("/h")),
        Case("/DEBUG first is a file name", ["/DEBUG", "before", "old.txt"], **nf("/DEBUG")),
        Case("first parameter never a keyword", ["before", "before", "x"], **nf("before")),
        # Grammar.
        Case("before holds", ["old.txt", "before", "new.txt"], 0),
        Case("before fails", ["new.txt", "before", "old.txt"], 1),
        Case("after holds", ["new.txt", "after", "old.txt"], 0),
        Case("keywords ignore case", ["old.txt", "BEFORE", "new.txt"], 0),
        Case("options ignore case", ["old.txt", "Before", "new.txt", "/DEBUG"], 0,
             out=report(True, "31622400 seconds before")),
        Case("report through a pipe", ["old.txt", "before", "new.txt", "/debug"], 0,
             out=report(True, "31622400 seconds before"), pipe=True),
        # Wine maps no character at or above U+0080 into ASCII; the Windows
        # expectation is what Wine shows, real Windows was not checked here.
        Case("dotted capital I completes no keyword", ["old.txt", "SAMET\u0130ME", "twin.txt"],
             **syntax("SAMET\u0130ME")),
        Case("no relation", ["old.txt", "new.txt"], **syntax("new.txt")),
        Case("relation named twice cancels", ["old.txt", "before", "before", "new.txt"],
             **syntax("new.txt")),
        Case("question mark before relation", ["old.txt", "/?", "new.txt"], **syntax("/?")),
        Case("question mark as second operand", ["old.txt", "before", "/?"], **nf("/?")),
        Case("second relation clears the mask", ["old.txt", "before", "new.txt", "before", "x"],
             **syntax("x")),
        Case("syntax error keeps the case typed", ["old.txt", "NEW.txt"], **syntax("NEW.txt")),
        Case("pieces join without spaces", ["old.txt", "before", "new", ".txt"], 0),
        Case("not negates", ["old.txt", "not", "before", "new.txt"], 1),
        Case("not after the relation", ["old.txt", "before", "not", "new.txt"], 1),
        Case("trailing not has no effect", ["old.txt", "before", "new.txt", "not"], 0),
        Case("all relations always true", ["new.txt", "before", "after", "sametime", "old.txt"], 0),
        Case("no relation accepted always false",
             ["old.txt", "not", "before", "after", "sametime", "new.txt"], 1),
        Case("before after means different", ["old.txt", "before", "after", "twin.txt"], 1),
        Case("empty parameter ends the line", ["old.txt", "before", "new.txt", "", "garbage"], 0),
        Case("equal stamps sametime", ["old.txt", "sametime", "twin.txt"], 0),
        Case("equal stamps not before", ["old.txt", "not", "before", "twin.txt"], 0),
        Case("equal stamps before", ["old.txt", "before", "twin.txt"], 1),
        # Stamps.
        Case("accessed both", ["old.txt", "accessed", "before", "new.txt"], 0),
        Case("second stamp follows the first", ["new.txt", "accessed", "after", "old.txt", "/debug"],
             0, out=report(True, "94694400 seconds after")),
        Case("second stamp of its own", ["new.txt", "before", "old.txt", "accessed"], 1),
        Case("stamp keyword after operand", ["old.txt", "accessed", "before", "new.txt", "modified",
                                             "/debug"], 0, out=report(True, "63158400 seconds before")),
        Case("created is the birth time", ["old.txt", "created", "after", "old.txt", "modified"], 0,
             windows_skip=WINE_CREATION_TIME),
        # Date modes.
        Case("one tick apart", ["old.txt", "before", "tick.txt", "/debug"], 0,
             out=report(True, "0 seconds")),
        Case("one tick apart, same UTC day", ["old.txt", "sametime", "tick.txt", "/dateutc"], 0),
        Case("one tick apart, same local day", ["old.txt", "sametime", "tick.txt", "/datelocal"], 0,
             env=utc3),
        Case("days in date mode", ["old.txt", "before", "new.txt", "/datelocal", "/debug"], 0,
             out=report(True, "366 days before"), env=utc3),
        Case("UTC days differ across midnight", ["late.txt", "before", "soon.txt", "/dateutc",
                                                 "/debug"], 0, out=report(True, "1 days before")),
        Case("same local day east of UTC", ["late.txt", "sametime", "soon.txt", "/datelocal",
                                            "/debug"], 0, out=report(True, "0 days"), env=utc3),
        Case("last date option wins", ["late.txt", "sametime", "soon.txt", "/dateutc",
                                       "/datelocal"], 0, env=utc3),
        Case("exact mode seconds", ["late.txt", "before", "soon.txt", "/debug"], 0,
             out=report(True, "120 seconds before")),
        # Tolerance: copy.txt lies 1.5 s after old.txt.
        Case("copy differs without a tolerance", ["copy.txt", "sametime", "old.txt"], 1),
        Case("copy within the tolerance", ["copy.txt", "sametime", "old.txt", "/tolerance:2"], 0),
        Case("copy not after within the tolerance",
             ["copy.txt", "after", "old.txt", "/Tolerance:2"], 1),
        Case("copy after beyond the tolerance", ["copy.txt", "after", "old.txt", "/tolerance:1"],
             0),
        Case("tolerance is inclusive", ["copy.txt", "after", "old.txt", "/TOLERANCE:1.5"], 1),
        Case("malformed tolerance", ["gone", "before", "gone2", "/tolerance:x"],
             **syntax("/tolerance:x")),
        Case("report gives the exact difference",
             ["old.txt", "sametime", "copy.txt", "/tolerance:2", "/debug"], 0,
             out=report(True, "1 seconds before")),
        Case("tolerance before the local day cut",
             ["eve.txt", "sametime", "midnight.txt", "/datelocal", "/tolerance:2"], 0, env=cet),
        Case("local days differ without a tolerance",
             ["eve.txt", "sametime", "midnight.txt", "/datelocal"], 1, env=cet),
        # /dst: one hour apart, within the tolerance, is the same time too.
        Case("one hour off with /dst", ["shifted.txt", "sametime", "old.txt", "/dst", "/debug"],
             0, out=report(True, "3600 seconds after")),
        Case("edit after the hour with /dst", ["shifted-edit.txt", "sametime", "old.txt", "/dst"],
             1),
        Case("edit within the tolerance of the hour",
             ["shifted-edit.txt", "sametime", "old.txt", "/dst", "/tolerance:2"], 0),
        Case("edit an hour off without /dst",
             ["shifted-edit.txt", "sametime", "old.txt", "/tolerance:2"], 1),
        Case("edit beyond the tolerance of the hour",
             ["shifted-edit.txt", "sametime", "old.txt", "/DST", "/tolerance:1"], 1),
        Case("/dst: is a piece of the second operand", ["old.txt", "before", "new.txt", "/dst:x"],
             **nf("new.txt/dst:x")),
    ] + [
        # The local day turns between the two files only at the zone's offset.
        Case(label, [eve, "before", morn, "/datelocal", "/debug"], 0,
             out=report(True, "1 days before"), windows_skip=LINUX_ZONE_RULES,
             env={"TZ": setting, "TZDIR": tzdir if TZDIR_ZONE in (setting or "") else None})
        for label, setting, (eve, morn) in fx.zones
    ] + [
        # Names.
        Case("directory", ["folder", "before", "old.txt"], 0),
        Case("directory with trailing backslash", ["folder\\", "before", "old.txt"], 0,
             linux=nf("folder\\")),
        Case("trailing backslash is part of a Linux name", ["back\\", "sametime", "old.txt"],
             **nf("back\\"), linux=dict(code=0)),
        Case("question mark is part of a Linux name", ["what?.txt", "sametime", "old.txt"],
             **nf("what?.txt"), linux=dict(code=0)),
        Case("quote is part of a Linux name", ['old.txt', "sametime", 'q"uote.txt'], 0,
             windows_skip=NO_QUOTE_THROUGH_ARGV),
        Case("two trailing backslashes keep one", ["folder\\\\", "before", "old.txt"],
             **nf("folder\\\\")),
        Case("single backslash", ["\\", "before", "old.txt"], **nf("\\")),
        Case("question mark wildcard", ["a?.txt", "before", "new.txt"], **nf("a?.txt")),
        Case("star wildcard", ["a*.txt", "before", "new.txt"], **nf("a*.txt")),
        Case("wildcard second operand", ["old.txt", "before", "a*"], **nf("a*")),
        Case("greater-than is a wildcard", ["old.t>t", "before", "now"], **nf("old.t>t")),
        Case("less-than is a wildcard", ["old.tx<", "before", "now"], **nf("old.tx<")),
        Case("drive root is never searched", ["C:\\", "before", "now"], **nf("C:\\")),
        Case("long name behind the long-path prefix",
             [fx.windows_path(fx.long_name), "sametime", "old.txt"], 0,
             linux=nf(fx.windows_path(fx.long_name))),
        Case("missing second operand", ["old.txt", "before"], code=255,
             err="Not found or invalid: \n"),
        Case("missing first file", ["missing.txt", "before", "old.txt"], **nf("missing.txt")),
        Case("missing second file", ["old.txt", "before", "missing.txt"], **nf("missing.txt")),
        Case("both missing reports the first", ["gone1", "before", "gone2"], **nf("gone1")),
        Case("name with a space", ["with space.txt", "sametime", "old.txt"], 0),
        Case("non-ASCII name", ["caf\u00e9.txt", "sametime", "new.txt"], 0),
        Case("non-ASCII missing name echoed", ["na\u00efve.txt", "before", "new.txt"],
             **nf("na\u00efve.txt")),
        Case("symbolic link has its own stamps", ["link.txt", "before", "old.txt", "/debug"], 0,
             out=report(True, "63072000 seconds before"), windows_skip=WINE_FOLLOWS_LINKS),
        Case("a copy keeps the modified time", ["kept.txt", "sametime", "old.txt"], 0),
        Case("and gets a changed time of its own",
             ["kept.txt", "changed", "after", "old.txt", "modified"], 0),
        Case("changed time behind the long-path prefix",
             [fx.windows_path(fx.long_name), "CHANGED", "after", "old.txt", "modified"], 0,
             linux=nf(fx.windows_path(fx.long_name))),
        Case("forward slash path", ["./old.txt", "before", "./new.txt"], 0),
        Case("stamp past the year 30828 reads as missing", [fx.far_name, "before", "old.txt"],
             **nf(fx.far_name)),
        # The local conversion east of UTC holds the last tick at the scale's
        # end. Berlin's day may turn during the run: one day fewer then.
        Case("last tick in local days", [last, "after", "today", "/debug"], 0,
             out=re.compile(r"\AResp: true\r\nDiff: (%d|%d) days after\r\n\Z"
                            % (last_days, last_days - 1)), env={"TZ": "Europe/Berlin"}),
    ]


def reference_cases(fx):
    local = {"TZ": fx.tz}
    berlin = {"TZ": "Europe/Berlin"}
    invalid = lambda text: dict(code=255, err="Invalid date/time expression: " + text + "\n")
    old = fx.stamps["old.txt"]
    old_local_days = (old + fx.offset) // TICKS_PER_DAY
    return [
        Case("today-n same local day", ["threedays.txt", "sametime", "today-3"], 0, env=local),
        Case("today-n later day", ["threedays.txt", "after", "today-4", "/debug"], 0,
             out=report(True, "1 days after"), env=local),
        Case("today-n earlier day", ["threedays.txt", "before", "today-2", "/debug"], 0,
             out=report(True, "1 days before"), env=local),
        Case("TODAY upper case", ["threedays.txt", "before", "TODAY"], 0, env=local),
        Case("Today-3 mixed case", ["threedays.txt", "sametime", "Today-3"], 0, env=local),
        Case("today alone", ["recent.txt", "sametime", "today", "/debug"], 0,
             out=report(True, "0 days"), env=local),
        Case("today- counts zero", ["recent.txt", "sametime", "today-"], 0, env=local),
        Case("today in pieces", ["threedays.txt", "sametime", "today", "-3"], 0, env=local),
        Case("today in three pieces", ["threedays.txt", "sametime", "today", "-", "3"], 0,
             env=local),
        Case("today with dateutc", ["utcnoon3.txt", "sametime", "today-3", "/dateutc", "/debug"], 0,
             out=report(True, "0 days")),
        Case("now-n after", ["recent.txt", "after", "now-31"], 0),
        Case("now-n before", ["recent.txt", "before", "now-29"], 0),
        Case("NOW-n upper case", ["recent.txt", "before", "NOW-29"], 0),
        Case("now ignores date options", ["recent.txt", "before", "now-29", "/datelocal", "/debug"],
             # 60 s plus the start-up time; one minute off would give 0 or 120.
             0, out=re.compile(r"\AResp: true\r\nDiff: (5[89]|[6-9]\d|10\d) seconds before\r\n\Z"),
             env=local),
        Case("now alone", ["recent.txt", "before", "now"], 0),
        Case("now- counts zero", ["recent.txt", "before", "now-"], 0),
        Case("leading zeros", ["threedays.txt", "sametime",
                               "today-" + "0" * 39 + "3"], 0, env=local),
        Case("huge day count holds at the scale's start",
             ["old.txt", "after", "today-99999999999", "/debug"], 0,
             out=report(True, "%d days after" % old_local_days), env=local),
        Case("huge day count is never after",
             ["old.txt", "before", "today-4294967295"], 1, env=local),
        Case("forty-digit count", ["old.txt", "after", "today-" + "9" * 40, "/dateutc"], 0),
        Case("huge minute count", ["old.txt", "after", "now-99999999999999", "/debug"], 0,
             out=report(True, "%d seconds after" % (old // TICKS_PER_SECOND))),
        Case("today plus", ["old.txt", "before", "today+1"], **invalid("today+1")),
        Case("today fraction", ["old.txt", "before", "today-1.5"], **invalid("today-1.5")),
        Case("today letter", ["old.txt", "before", "today-x"], **invalid("today-x")),
        Case("today space digit in one parameter", ["old.txt", "before", "today 8"],
             **invalid("today 8")),
        Case("today digit in two parameters", ["old.txt", "before", "today", "8"],
             **invalid("today8")),
        Case("now letter", ["old.txt", "before", "now-x"], **invalid("now-x")),
        Case("todays.txt is an expression", ["old.txt", "before", "todays.txt"],
             **invalid("todays.txt")),
        Case("today.txt is an expression", ["old.txt", "before", "today.txt"],
             **invalid("today.txt")),
        Case("nowhere.txt is an expression", ["old.txt", "before", "nowhere.txt"],
             **invalid("nowhere.txt")),
        Case("now.log is an expression", ["old.txt", "before", "now.log"], **invalid("now.log")),
        Case("a path prefix names the file", ["old.txt", "sametime", "./today.txt"], 0),
        Case("first file reported before the expression", ["gone", "before", "today+1"],
             code=255, err="Not found or invalid: gone\n"),
        # NOW with a unit; recent.txt is 1,800 s old when the run starts.
        Case("now-Ns seconds", ["recent.txt", "before", "now-1700s"], 0),
        Case("now-Nh hours", ["twohours.txt", "before", "now-1h"], 0),
        Case("now-Nh hours, not yet", ["twohours.txt", "before", "now-3h"], 1),
        Case("NOW-ND days of 24 hours", ["threedays.txt", "after", "NOW-4D"], 0),
        # Fixed moments in Berlin; release.txt is 2026-06-15 10:00 UTC (12:00
        # summer time).
        Case("date: day before", ["release.txt", "after", "date:2026-06-14", "/debug"], 0,
             out=report(True, "1 days after"), env=berlin),
        Case("date: same day", ["release.txt", "sametime", "date:2026-06-15"], 0, env=berlin),
        Case("date: 1601-01-01 is its own day", ["old.txt", "after", "date:1601-01-01", "/debug"],
             0, out=report(True, "%d days after" % (old // TICKS_PER_DAY)), env=berlin),
        Case("date: UTC time", ["release.txt", "sametime", "date:2026-06-15T10:00Z"], 0,
             env=berlin),
        Case("date: one tick later", ["release.txt", "before", "date:2026-06-15T10:00:00.0000001Z"],
             0, env=berlin),
        Case("date: local time by the rules of its date",
             ["release.txt", "sametime", "date:2026-06-15T12:00", "/debug"], 0,
             out=report(True, "0 seconds"), env=berlin),
        Case("date: with an offset", ["release.txt", "sametime", "date:2026-06-15T12:00+02:00"], 0,
             env=berlin),
        Case("date: upper case, space for T", ["release.txt", "sametime", "DATE:2026-06-15 10:00Z"],
             0, env=berlin),
        Case("date: skipped hour", ["release.txt", "before", "date:2026-03-29T02:30"],
             **invalid("date:2026-03-29T02:30"), env=berlin),
        Case("date: repeated hour is the earlier",
             ["fallback.txt", "sametime", "date:2026-10-25T02:30"], 0, env=berlin),
        Case("date: no 29 February", ["release.txt", "before", "date:2026-02-29"],
             **invalid("date:2026-02-29")),
        # Local moments finer than a millisecond; noon.txt is 2026-06-15
        # 12:00 UTC, fallback.txt the first 02:30 of Berlin's repeated hour.
        Case("date: local tick after noon", ["noon.txt", "before", "date:2026-06-15T12:00:00.0000001"],
             0, env={"TZ": "UTC"}),
        Case("date: local tick before noon",
             ["noon.txt", "after", "date:2026-06-15T11:59:59.9999999"], 0, env={"TZ": "UTC"}),
        Case("date: local tick after noon in summer time",
             ["noon.txt", "before", "date:2026-06-15T14:00:00.0000001"], 0, env=berlin),
        Case("date: local tick in the repeated hour is the earlier",
             ["fallback.txt", "before", "date:2026-10-25T02:30:00.0000001"], 0, env=berlin),
    ]


def line_cases(fx):
    usage = dict(code=255, err=USAGE_ERROR)
    return [
        LineCase("program path only", "datora.exe", **usage),
        LineCase("trailing spaces only", "datora.exe   ", **usage),
        LineCase("explicitly empty first parameter", 'datora.exe "" before x', **usage),
        LineCase("lone quote at the end", 'datora.exe "', **usage),
        LineCase("quoted question mark", 'datora.exe "/?"', **usage),
        LineCase("several spaces", "  datora.exe    old.txt   before    new.txt   ", 0),
        LineCase("quoted name with a space", 'datora.exe "with space.txt" before new.txt', 0),
        LineCase("quotes inside a name", 'datora.exe with" "space.txt before new.txt', 0),
        LineCase("quotes glued to text", 'datora.exe old.txt before ne"w.t"xt', 0),
        LineCase("text after a closing quote", 'datora.exe "old.txt"before new.txt', 0),
        LineCase("quoted program path with spaces",
                 '"C:\\my prog.exe" old.txt before new.txt', 0),
        LineCase("text right after the quoted program path",
                 '"C:\\my prog.exe"old.txt before new.txt', 0),
        LineCase("unquoted program path with spaces",
                 "C:\\my prog.exe old.txt before new.txt",
                 code=255, err="Syntax error: old.txt\n"),
        LineCase("unterminated quote runs to the end", 'datora.exe old.txt before "new.txt', 0),
        # Windows drops trailing spaces from a path's last part, so the name
        # kept here must not exist even without them.
        LineCase("unterminated quote keeps spaces", 'datora.exe old.txt before "gone.txt  ',
                 code=255, err="Not found or invalid: gone.txt  \n"),
        LineCase("tab does not separate", "datora.exe old.txt\tbefore new.txt",
                 code=255, err="Syntax error: new.txt\n"),
        LineCase("empty parameter ends the line", 'datora.exe old.txt before new.txt "" x', 0),
        LineCase("two empty parameters", 'datora.exe old.txt before new.txt """" x', 0),
        LineCase("backslash does not escape a quote", 'datora.exe old.txt before folder\\""', 1),
        LineCase("report through the launcher", "datora.exe old.txt before new.txt /debug", 0,
                 out=report(True, "31622400 seconds before")),
    ]


# Hostile input: whatever a script passes, the run ends with 0, 1 or 255 and
# the right bytes on the right channel.

NOT_UTF8_NAME = os.fsdecode(b"bad\xff\xfe.txt")
NOT_UTF8 = "a Windows command line is UTF-16 text; bytes that are not UTF-8 cannot reach it"
TOO_LONG_FOR_WINDOWS = "a Windows command line holds at most 32,767 characters"


def hostile_fixture(workdir, windows):
    """Files the hostile cases need beyond stamp_fixture's. A name that is
    not valid UTF-8 exists only on POSIX."""
    if windows:
        return
    path = os.path.join(os.fsencode(workdir), os.fsencode(NOT_UTF8_NAME))
    with open(path, "wb") as handle:
        handle.write(b"x")
    set_stamps(path, ticks(2020, 1, 1, 12))


def hostile_cases(fx):
    nf = lambda name: dict(code=255, err="Not found or invalid: " + name + "\n")
    syntax = lambda token: dict(code=255, err="Syntax error: " + token + "\n")
    invalid = lambda text: dict(code=255, err="Invalid date/time expression: " + text + "\n")
    old = fx.stamps["old.txt"]
    megabyte_of_zeros = ["0" * 1024] * 1024
    megabyte_of_letters = ["y" * 1024] * 1024
    return [
        # Names that are not valid UTF-8 are found and echoed byte for byte.
        Case("name that is not UTF-8 is found", [NOT_UTF8_NAME, "sametime", "old.txt"], 0,
             windows_skip=NOT_UTF8),
        Case("second operand that is not UTF-8 is found", ["old.txt", "sametime", NOT_UTF8_NAME],
             0, windows_skip=NOT_UTF8),
        Case("missing name that is not UTF-8 is echoed through a pipe",
             [os.fsdecode(b"gone\xc3(\xed\xa0\x80\xf8.txt"), "before", "old.txt"],
             **nf(os.fsdecode(b"gone\xc3(\xed\xa0\x80\xf8.txt")), windows_skip=NOT_UTF8,
             pipe=True),
        # Long names.
        Case("name of 5,000 characters", ["n" * 5000, "before", "old.txt"], **nf("n" * 5000)),
        Case("second operand of 5,000 characters", ["old.txt", "before", "m" * 5000],
             **nf("m" * 5000)),
        Case("syntax error of 5,000 characters", ["old.txt", "s" * 5000], **syntax("s" * 5000)),
        Case("expression of 5,000 characters", ["old.txt", "before", "today-" + "x" * 5000],
             **invalid("today-" + "x" * 5000)),
        Case("name of 100,000 characters", ["l" * 100_000, "before", "old.txt"],
             **nf("l" * 100_000), windows_skip=TOO_LONG_FOR_WINDOWS),
        # Tabs, line ends and control characters are ordinary characters.
        Case("tab in a name", ["a\tb.txt", "before", "old.txt"], **nf("a\tb.txt")),
        Case("newline in a name", ["a\nb.txt", "before", "old.txt"], **nf("a\nb.txt")),
        Case("carriage return in a name", ["old.txt\r", "before", "new.txt"], **nf("old.txt\r")),
        Case("control characters in a name", ["\x01\x07\x1b[31m\x7f", "before", "old.txt"],
             **nf("\x01\x07\x1b[31m\x7f")),
        Case("newline in a syntax error", ["old.txt", "x\ny"], **syntax("x\ny")),
        Case("control character in an expression", ["old.txt", "before", "now-\x01"],
             **invalid("now-\x01")),
        Case("tab inside a keyword is no keyword", ["old.txt", "be\tfore", "new.txt"],
             **syntax("be\tfore")),
        # Counts of 40 digits.
        Case("forty-digit minute count holds at the scale's start",
             ["old.txt", "after", "now-" + "9" * 40, "/debug"], 0,
             out=report(True, "%d seconds after" % (old // TICKS_PER_SECOND))),
        Case("forty zeros count nothing", ["old.txt", "before", "today-" + "0" * 40], 0),
        Case("forty-digit count ending in one", ["old.txt", "before", "now-" + "0" * 39 + "1"], 0),
        Case("forty-digit count with a letter", ["old.txt", "before", "today-" + "9" * 39 + "x"],
             **invalid("today-" + "9" * 39 + "x")),
        # A command line of a megabyte (POSIX; Windows stops at 32,767
        # characters, see the exact command lines).
        Case("megabyte command line", ["old.txt", "before", "today-"] + megabyte_of_zeros, 0,
             windows_skip=TOO_LONG_FOR_WINDOWS),
        Case("megabyte message", ["old.txt", "before", "today-x"] + megabyte_of_letters,
             **invalid("today-x" + "y" * 1024 * 1024), windows_skip=TOO_LONG_FOR_WINDOWS),
    ]


# CreateProcessW takes at most 32,767 characters, the terminating NUL
# included.
LONGEST_COMMAND_LINE = 32_766
# The launcher's exit code when CreateProcessW refuses the command line.
LAUNCH_REFUSED = 251
WINE_LONG_LINES = ("Wine 8 starts a process with a command line of 40,000 characters; "
                   "Windows refuses one over 32,766")


def hostile_line_cases(fx):
    nf = lambda name: dict(code=255, err="Not found or invalid: " + name + "\n")
    zeros = "datora.exe old.txt before today-"
    letters = "datora.exe old.txt before today-x"
    fill = lambda head, c: head + c * (LONGEST_COMMAND_LINE - len(head))
    return [
        # Lone surrogates pass through unchanged and are echoed as UTF-16LE.
        LineCase("lone high surrogate in the first name", "datora.exe a\ud800b before old.txt",
                 **nf("a\ud800b")),
        LineCase("lone low surrogate in the second name", "datora.exe old.txt before \udc00x",
                 **nf("\udc00x")),
        LineCase("reversed surrogate pair", "datora.exe \udc00\ud800 before old.txt",
                 **nf("\udc00\ud800")),
        LineCase("lone surrogate in an expression", "datora.exe old.txt before today-\udfff",
                 code=255, err="Invalid date/time expression: today-\udfff\n"),
        LineCase("lone surrogate as a syntax error", "datora.exe old.txt \ud83d",
                 code=255, err="Syntax error: \ud83d\n"),
        LineCase("longest command line", fill(zeros, "0"), 0),
        LineCase("longest command line echoed", fill(letters, "y"), code=255,
                 err="Invalid date/time expression: "
                     + fill(letters, "y")[len("datora.exe old.txt before "):] + "\n"),
        LineCase("command line one character too long", fill(zeros, "0") + "0", LAUNCH_REFUSED,
                 windows_skip=WINE_LONG_LINES),
    ]


# Wine as root is never denied access, and runs no program as another user.
WINE_AS_ROOT = "Wine runs as root here, where no directory is unreadable"
DEEP_LEVELS = 3000


def set_fixture(workdir, windows):
    """The trees the set rows read: tree/ (a hidden newest file, a link to a
    newer file whose own stamp is older, sub/ with the newest file under /s,
    sub/deep/ with the oldest, an empty folder), twins/ (two equal stamps),
    locked/ (an unreadable folder beside a new file) and, on Linux, a chain
    of DEEP_LEVELS folders."""
    stamps = {
        "tree/a.txt": ticks(2020, 1, 1, 12),
        "tree/.hidden.txt": ticks(2020, 6, 1),
        "tree/sub/new.txt": ticks(2021, 1, 1, 12),
        "tree/sub/deep/old.txt": ticks(2018, 1, 1),
        "twins/b.txt": ticks(2020, 1, 1, 12),
        "twins/a.txt": ticks(2020, 1, 1, 12),
        "locked/new.txt": ticks(2021, 1, 1, 12),
        "locked/no/old.txt": ticks(2018, 1, 1),
    }
    for name, stamp in stamps.items():
        path = os.path.join(workdir, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "w") as handle:
            handle.write(name)
        set_stamps(path, stamp)
    os.makedirs(os.path.join(workdir, "tree", "empty"), exist_ok=True)
    link = os.path.join(workdir, "tree", "link")
    os.symlink(os.path.join("sub", "new.txt"), link)
    set_stamps(link, ticks(2019, 1, 1))
    # Written after every other change in tree/ but one: a chmod below.
    open(os.path.join(workdir, "mark.stamp"), "w").close()
    time.sleep(0.05)
    os.chmod(os.path.join(workdir, "tree", "sub", "deep", "old.txt"), 0o600)
    if windows:
        return
    # The folders of the walk must be open to the user the unreadable rows
    # run as; locked/no to nobody.
    os.chmod(workdir, 0o755)
    os.chmod(os.path.join(workdir, "locked", "no"), 0)
    fd = os.open(workdir, os.O_RDONLY)
    os.mkdir("deep", dir_fd=fd)
    for _ in range(DEEP_LEVELS):
        next_fd = os.open("deep", os.O_RDONLY, dir_fd=fd)
        os.close(fd)
        fd = next_fd
        os.mkdir("deep", dir_fd=fd)
    with open(os.open("bottom.txt", os.O_WRONLY | os.O_CREAT, 0o644, dir_fd=fd), "w") as handle:
        handle.write("bottom")
    os.utime("bottom.txt", ns=(0, (ticks(2030, 1, 1) - UNIX_EPOCH_TICKS) * 100), dir_fd=fd)
    os.close(fd)


def set_cases(separator):
    member = lambda *parts: separator.join(parts)
    seconds = lambda later, earlier: (later - earlier) // TICKS_PER_SECOND
    files_line = lambda which, path: "File%d: %s\r\n" % (which, path)
    return [
        Case("the hidden file is the newest of a folder",
             ["newest:tree", "after", "old.txt", "/debug"], 0,
             out=report(True, "%d seconds after" % seconds(ticks(2020, 6, 1), ticks(2020, 1, 1, 12)))
             + files_line(1, member("tree", ".hidden.txt")), windows_skip=WINE_FOLLOWS_LINKS),
        Case("without /s the subfolders are not read", ["newest:tree", "after", "new.txt"], 1),
        Case("with /s every subfolder is read", ["NEWEST:tree", "sametime", "new.txt", "/S"], 0),
        Case("the oldest under /s on the right", ["old.txt", "after", "oldest:tree", "/s", "/debug"],
             0, out=report(True, "%d seconds after" % seconds(ticks(2020, 1, 1, 12), ticks(2018, 1, 1)))
             + files_line(2, member("tree", "sub", "deep", "old.txt"))),
        Case("a link counts by its own older stamp",
             ["oldest:tree", "before", "old.txt", "/debug"], 0,
             out=report(True, "%d seconds before" % seconds(ticks(2020, 1, 1, 12), ticks(2019, 1, 1)))
             + files_line(1, member("tree", "link")), windows_skip=WINE_FOLLOWS_LINKS),
        Case("an empty folder has no files", ["newest:tree/empty", "before", "old.txt"], 255,
             err="No files in: newest:tree/empty\n"),
        Case("a file path is a set of one", ["newest:new.txt", "sametime", "new.txt", "/debug"], 0,
             out=report(True, "0 seconds") + files_line(1, "new.txt")),
        Case("a missing path", ["newest:nothere", "before", "oldest:gone"], 255,
             err="Not found or invalid: newest:nothere\n"),
        Case("/s needs a set", ["old.txt", "before", "new.txt", "/s"], 255,
             err="Syntax error: /s\n"),
        Case("of equal stamps the smaller path is named",
             ["newest:twins", "sametime", "old.txt", "/debug"], 0,
             out=report(True, "0 seconds") + files_line(1, member("twins", "a.txt"))),
        Case("a set on either side", ["newest:tree", "after", "oldest:tree", "/s", "/debug"], 0,
             out=report(True, "%d seconds after" % seconds(ticks(2021, 1, 1, 12), ticks(2018, 1, 1)))
             + files_line(1, member("tree", "sub", "new.txt"))
             + files_line(2, member("tree", "sub", "deep", "old.txt")),
             windows_skip=WINE_FOLLOWS_LINKS),
        Case("a chmod moves the changed time of a member",
             ["newest:tree", "changed", "after", "mark.stamp", "/s", "/debug"], 0,
             out=re.compile(r"\AResp: true\r\nDiff: [01] seconds( after)?\r\nFile1: "
                            + re.escape(member("tree", "sub", "deep", "old.txt")) + r"\r\n\Z")),
        Case("an unreadable folder that the answer does not need",
             ["newest:locked", "after", "old.txt", "/s", "/debug"], 0,
             out=report(True, "%d seconds after" % seconds(ticks(2021, 1, 1, 12), ticks(2020, 1, 1, 12)))
             + files_line(1, member("locked", "new.txt") + " (not all read)"),
             windows_skip=WINE_AS_ROOT, as_nobody=True),
        Case("an unreadable folder that the answer needs",
             ["newest:locked", "sametime", "new.txt", "/s"], 255,
             err="Cannot read: %s\n" % member("locked", "no"), windows_skip=WINE_AS_ROOT,
             as_nobody=True),
        Case("a tree %d folders deep with 256 descriptors" % DEEP_LEVELS,
             ["newest:deep", "after", "new.txt", "/s"], 0, windows_skip="the deep tree is made on Linux",
             open_files=256),
    ]


def remove_set_fixture(workdir):
    """Opens locked/no again and removes the deep chain level by level,
    deeper than a recursive removal goes."""
    locked = os.path.join(workdir, "locked", "no")
    if os.path.exists(locked):
        os.chmod(locked, 0o755)
    if not os.path.exists(os.path.join(workdir, "deep")):
        return
    fds = [os.open(workdir, os.O_RDONLY)]
    while "deep" in os.listdir(fds[-1]):
        fds.append(os.open("deep", os.O_RDONLY, dir_fd=fds[-1]))
    os.close(fds.pop())
    while fds:
        os.rmdir("deep", dir_fd=fds[-1])
        if "bottom.txt" in os.listdir(fds[-1]):
            os.unlink("bottom.txt", dir_fd=fds[-1])
        os.close(fds.pop())
