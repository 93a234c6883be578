#!/usr/bin/env python3
"""End-to-end cases for Datora, run against one built binary.

The same table runs against the Linux binary (directly) and the Windows
binary (under Wine). Each case names its parameters, the exit code and the
exact text expected on standard output and standard error, as the Windows
build writes it; both channels are redirected. The Windows build writes
UTF-16LE with CR LF after each report and usage line; the Linux build writes
the same text as UTF-8 with LF, and names come back as the very bytes given.
Exact command-line texts reach the Windows binary through the test launcher
(CreateProcessW).

    run_e2e.py --binary build/native/datora
    run_e2e.py --binary build/windows/datora.exe --launcher .../datora_launcher.exe \
        --pipe-parent .../datora_pipe_parent.exe --wine wine
"""

import argparse
import os
import re
import shlex
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

from cases import (BANNER, USAGE, Case, file_cases, hostile_cases, hostile_fixture,
                   hostile_line_cases, line_cases, reference_cases, refresh_recent, report,
                   remove_set_fixture, set_cases, set_fixture, stamp_fixture)

ARGS = None


def utc_ticks_now():
    return (time.time_ns() // 100) + 116444736000000000


class Target:
    """How to start the binary under test and where its files live."""

    def __init__(self, args, workdir):
        self.binary = os.path.abspath(args.binary)
        self.launcher = os.path.abspath(args.launcher) if args.launcher else None
        self.pipe_parent = os.path.abspath(args.pipe_parent) if args.pipe_parent else None
        self.wine = args.wine
        # What starts the binary: Wine for datora.exe, an emulator such as
        # qemu-user for a Linux build of another architecture, or nothing.
        self.starter = [args.wine] if args.wine else ([args.emulator] if args.emulator else [])
        self.workdir = workdir

    @property
    def windows(self):
        return self.wine is not None

    def environment(self, extra):
        """The test's environment with `extra` applied; a value of None
        removes the variable."""
        env = dict(os.environ)
        env.setdefault("WINEDEBUG", "-all")
        env.update(extra)
        return {name: value for name, value in env.items() if value is not None}

    def encode(self, text):
        """The bytes this binary writes for `text`, given as the Windows build
        writes it (CR LF after each report and usage line, LF closing each
        message)."""
        if self.windows:
            return utf16(text)
        return linux_text(text).encode("utf-8", "surrogateescape")

    def decode(self, data):
        if self.windows:
            return data.decode("utf-16-le", "surrogatepass")
        return data.decode("utf-8", "surrogateescape")

    def run_arguments(self, arguments, env=None, pipe=False, prefix=()):
        command = list(prefix) + self.starter + [self.binary] + list(arguments)
        if pipe and not self.windows:
            return subprocess.run(command, cwd=self.workdir, env=self.environment(env or {}),
                                  stdin=subprocess.DEVNULL, capture_output=True, timeout=60)
        return self._run(command, env)

    def run_command_line(self, text, env=None):
        """Starts the Windows binary with exactly `text` as its command line."""
        path = os.path.join(self.workdir, "command-line.bin")
        with open(path, "wb") as handle:
            handle.write(text.encode("utf-16-le", "surrogatepass"))
        return self._run([self.wine, self.launcher, self.binary, path], env)

    def run_behind_pipe(self, arguments):
        """Runs the Windows binary with standard output on a pipe that the
        parent reads only after the child has ended (or after 30 s)."""
        return self._run([self.wine, self.pipe_parent, self.binary] + list(arguments), None)

    def _run(self, command, env):
        # Both channels go to files: with two pipes, Wine keeps them open in
        # a helper process for seconds after the program has ended.
        with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
            completed = subprocess.run(command, cwd=self.workdir,
                                       env=self.environment(env or {}),
                                       stdin=subprocess.DEVNULL, stdout=out, stderr=err,
                                       timeout=60)
            out.seek(0)
            err.seek(0)
            return subprocess.CompletedProcess(command, completed.returncode, out.read(),
                                               err.read())

    def run_with_channels(self, arguments, output, error):
        """Runs with each channel "closed", on "full" (/dev/full), on a
        "broken" pipe (its reader gone) or on a "file"; returns the exit code
        and what the file channels received."""
        command = self.starter + [self.binary] + list(arguments)
        reader, writer = os.pipe()
        os.close(reader)
        with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err, \
                open("/dev/full", "wb") as full, os.fdopen(writer, "wb") as broken:
            targets = {"file": None, "full": full, "closed": subprocess.DEVNULL,
                       "broken": broken}
            streams = [out if output == "file" else targets[output],
                       err if error == "file" else targets[error]]
            closed = [fd for fd, mode in ((1, output), (2, error)) if mode == "closed"]

            def close_channels():
                for fd in closed:
                    os.close(fd)

            completed = subprocess.run(command, cwd=self.workdir, env=self.environment({}),
                                       stdin=subprocess.DEVNULL, stdout=streams[0],
                                       stderr=streams[1], preexec_fn=close_channels, timeout=60)
            out.seek(0)
            err.seek(0)
            return completed.returncode, out.read(), err.read()

    def run_on_terminal(self, arguments, terminal):
        command = self.starter + [self.binary] + list(arguments)
        return subprocess.run(command, cwd=self.workdir, env=self.environment({}),
                              stdin=subprocess.DEVNULL, stdout=terminal, stderr=terminal,
                              timeout=60)

    def run_on_console(self, arguments):
        """Runs datora.exe under Wine on a new pseudo-terminal (script -e
        keeps the exit code), where Wine gives it a real console. The
        terminal is wider than any row's text, so that no line wraps. Returns
        the exit code and the text the console showed."""
        command = "stty cols 20000; " + shlex.join(self.starter + [self.binary] + list(arguments))
        completed = subprocess.run(["script", "-qec", command, "/dev/null"], cwd=self.workdir,
                                   env=self.environment({"LC_ALL": "C.UTF-8"}),
                                   stdin=subprocess.DEVNULL, capture_output=True, timeout=60)
        # Wine hides and shows the cursor around each write and erases to
        # the line's end where it leaves blanks unwritten; the terminal turns
        # each LF into CR LF.
        shown = re.sub(rb"\x1b\[(\?25[lh]|K)", b"", completed.stdout).replace(b"\r\n", b"\n")
        return completed.returncode, shown.decode("utf-8")


def on_console(text):
    """`text`, written as the Windows build writes it, as a console shows
    it on a terminal under Wine: Wine starts each new line with CR LF,
    whether the program wrote CR LF or a bare LF, and leaves a line's
    trailing blanks unwritten."""
    return re.sub(r" *\r?\n", "\r\n", text)


# A known Wine difference: Wine's console shows a character outside the BMP
# as two U+FFFD, even when one WriteConsoleW call writes its surrogate pair;
# a Windows console shows the character.
WINE_SHOWS_NO_ASTRAL = ("\U0001f600", "\ufffd\ufffd")


def utf16(text):
    return text.encode("utf-16-le", "surrogatepass")


def linux_text(text):
    """`text` with the Windows build's added line ends as the Linux build
    adds them: the CR LF after report and usage lines becomes LF. A message
    on standard error never gets a CR LF added (its LF is the same on both),
    so a CR typed in a name stays."""
    if text.startswith(("Resp: ", BANNER)):
        return text.replace("\r\n", "\n")
    return text


def run_prefix(case):
    """What starts a case's binary: as nobody where the tests run as root,
    with a lower limit of open descriptors."""
    prefix = []
    if case.as_nobody and os.geteuid() == 0:
        prefix = ["setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups"]
    if case.open_files:
        prefix = ["prlimit", "--nofile=%d" % case.open_files] + prefix
    return prefix


class EndToEnd(unittest.TestCase):
    target = None
    fixture = None

    @classmethod
    def setUpClass(cls):
        cls.workdir = tempfile.mkdtemp(prefix="datora-e2e-")
        cls.target = Target(ARGS, cls.workdir)
        if cls.target.windows:
            # The first start in a new Wine prefix reports on standard error
            # that it made the prefix; keep that out of the cases.
            cls.target.run_arguments([])
        cls.fixture = stamp_fixture(cls.workdir, utc_ticks_now(), cls.target.windows)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.workdir, ignore_errors=True)
        shutil.rmtree(os.path.dirname(cls.fixture.far_name), ignore_errors=True)

    def check_output(self, result, case):
        expected = case.expected(self.target.windows)
        # A wrong exit code shows what the run wrote to standard error, where
        # Wine reports its own faults.
        self.assertEqual(result.returncode, expected.code,
                         "exit code; standard error: %r" % result.stderr[:2000])
        self.check_channel(result.stdout, expected.out, "standard output")
        self.check_channel(result.stderr, expected.err, "standard error")

    def check_channel(self, data, expected, channel):
        if isinstance(expected, re.Pattern):
            if self.target.windows:
                self.assertEqual(len(data) % 2, 0, channel + " is not UTF-16LE")
            text = self.target.decode(data)
            if not self.target.windows:
                expected = re.compile(expected.pattern.replace(r"\r\n", r"\n"))
            self.assertRegex(text, expected, channel)
        else:
            self.assertEqual(data, self.target.encode(expected), channel)

    def run_table(self, cases):
        for case in cases:
            with self.subTest(case.name):
                reason = case.skip_reason(self.target.windows)
                if reason:
                    self.skipTest(reason)
                refresh_recent(self.workdir)
                result = self.target.run_arguments(case.args, case.env, case.pipe,
                                                   run_prefix(case))
                self.check_output(result, case)

    def run_line_table(self, cases):
        """Runs exact command-line texts through the Windows test launcher."""
        if not self.target.windows:
            self.skipTest("a POSIX program receives argv, not a command-line text")
        for case in cases:
            with self.subTest(case.name):
                reason = case.skip_reason(windows=True)
                if reason:
                    self.skipTest(reason)
                result = self.target.run_command_line(case.line, case.env)
                self.check_output(result, case)

    def test_usage_and_grammar(self):
        self.run_table(file_cases(self.fixture))

    def test_reference_times(self):
        self.run_table(reference_cases(self.fixture))

    def test_sets_of_files(self):
        set_fixture(self.workdir, self.target.windows)
        try:
            self.run_table(set_cases("\\" if self.target.windows else "/"))
        finally:
            remove_set_fixture(self.workdir)

    def test_exact_command_lines(self):
        """Command lines that argv cannot express: quotes glued to text, tabs,
        unterminated quotes, quoted program paths."""
        self.run_line_table(line_cases(self.fixture))

    def test_hostile_parameters(self):
        """Names that are not UTF-8, of 5,000 characters and more, with tabs,
        line ends and control characters; counts of 40 digits; a command
        line of a megabyte."""
        hostile_fixture(self.workdir, self.target.windows)
        self.run_table(hostile_cases(self.fixture))

    def test_hostile_command_lines(self):
        """Lone surrogates and the longest command line Windows takes."""
        self.run_line_table(hostile_line_cases(self.fixture))

    def test_closed_and_full_channels(self):
        """Does a closed or full channel leave the exit code alone? Each
        row: parameters, standard output, standard error, the exit code, and
        the bytes the channel left as a file receives."""
        report_bytes = self.target.encode(report(True, "31622400 seconds before"))
        missing = self.target.encode("Not found or invalid: gone\n")
        rows = [
            (["old.txt", "before", "new.txt", "/debug"], "closed", "file", 0, b""),
            (["new.txt", "before", "old.txt", "/debug"], "closed", "closed", 1, None),
            (["old.txt", "before", "new.txt", "/debug"], "full", "file", 0, b""),
            (["new.txt", "before", "old.txt", "/debug"], "full", "full", 1, None),
            (["gone", "before", "new.txt"], "file", "closed", 255, b""),
            (["gone", "before", "new.txt"], "file", "full", 255, b""),
            (["gone", "before", "new.txt"], "closed", "file", 255, missing),
            ([], "file", "closed", 255, b""),
            (["old.txt", "before", "new.txt", "/debug"], "file", "closed", 0, report_bytes),
            (["new.txt", "before", "old.txt", "/debug"], "broken", "file", 1, b""),
            (["gone", "before", "new.txt"], "file", "broken", 255, b""),
        ]
        for arguments, output, error, code, received in rows:
            with self.subTest(arguments=arguments, output=output, error=error):
                returned, out, err = self.target.run_with_channels(arguments, output, error)
                self.assertEqual(returned, code, "exit code")
                if received is not None:
                    self.assertEqual(out if output == "file" else err, received)

    def test_pipe_read_after_the_end(self):
        """Does datora.exe end while nobody reads its output pipe yet? The
        parent stops a child still running after 30 s and ends with 253."""
        if not self.target.pipe_parent:
            self.skipTest("the pipe parent is a Windows program")
        result = self.target.run_behind_pipe(["old.txt", "before", "new.txt", "/debug"])
        self.check_output(result, Case("report on a pipe", [], 0,
                                       out=report(True, "31622400 seconds before")))

    def test_terminal_echoes_names_byte_exact(self):
        """On a terminal, a missing name comes back whole: from the Linux
        build as the very bytes given, whether or not they are UTF-8; from
        datora.exe's console as text, longer than one console write of 8,192
        UTF-16 units too."""
        if self.target.windows:
            # The message's first 8,192 units end inside the surrogate pair
            # of U+1F600. Under Wine the row cannot tell a pair split between
            # two writes from one written whole (both show as two U+FFFD);
            # it does see a text longer than one write arrive whole and in order.
            long_name = "n" * (8191 - len("Not found or invalid: ")) + "\U0001f600" + "m" * 900
            for name, wine_difference in [("na\u00efve.txt", None),
                                          (long_name, WINE_SHOWS_NO_ASTRAL)]:
                with self.subTest(name=name[:40]):
                    code, shown = self.target.run_on_console([name, "before", "old.txt"])
                    self.assertEqual(code, 255)
                    expected = on_console("Not found or invalid: " + name + "\n")
                    if wine_difference:
                        expected = expected.replace(*wine_difference)
                    self.assertEqual(shown, expected)
            return
        names = [b"gone\xc3(\xed\xa0\x80\xf8.txt", b"tab\there\x1b[0m.txt",
                 b"\xff" * 5000, "caf\u00e9-\U0001f600".encode()]
        for name in names:
            with self.subTest(name=name[:40]):
                code, received = self.read_terminal([name, b"before", b"old.txt"])
                self.assertEqual(code, 255)
                self.assertIn(b"Not found or invalid: " + name, received)

    def read_terminal(self, arguments):
        """Runs the Linux binary with both channels on a new terminal and
        returns its exit code and everything the terminal received."""
        import pty
        leader, follower = pty.openpty()
        received = b""
        try:
            result = self.target.run_on_terminal(arguments, follower)
            os.close(follower)
            follower = -1
            while True:
                try:
                    chunk = os.read(leader, 65536)
                except OSError:
                    break
                if not chunk:
                    break
                received += chunk
        finally:
            os.close(leader)
            if follower >= 0:
                os.close(follower)
        return result.returncode, received

    def test_usage_bytes_on_standard_error(self):
        """The usage text reaches a file on standard error without a
        byte-order mark: from datora.exe as UTF-16LE with CR LF inside and
        one LF at the end, from the Linux build as UTF-8 ending in LF LF."""
        result = self.target.run_arguments([])
        self.assertEqual(result.returncode, 255)
        self.assertEqual(result.stdout, b"")
        self.assertEqual(result.stderr, self.target.encode(BANNER + USAGE + "\n"))
        self.assertFalse(result.stderr.startswith((b"\xff\xfe", b"\xef\xbb\xbf")))
        ending = b"\r\x00\n\x00\n\x00" if self.target.windows else b"STDERR)\n\n"
        self.assertTrue(result.stderr.endswith(ending))

    def test_terminal_output_is_utf8(self):
        """On a terminal the Linux build writes UTF-8, and a name that is not
        valid UTF-8 comes back byte for byte. datora.exe writes its usage
        text and report to the console, which Wine shows in UTF-8."""
        if self.target.windows:
            rows = [([], 255, BANNER + USAGE + "\n"),
                    (["old.txt", "before", "new.txt", "/debug"], 0,
                     report(True, "31622400 seconds before"))]
            for arguments, code, text in rows:
                with self.subTest(arguments=arguments):
                    self.assertEqual(self.target.run_on_console(arguments),
                                     (code, on_console(text)))
            return
        code, received = self.read_terminal(
            [os.fsencode("mis\u00e9ing-\udcff.txt"), b"before", b"old.txt"])
        self.assertEqual(code, 255)
        self.assertEqual(received, b"Not found or invalid: mis\xc3\xa9ing-\xff.txt\r\n")
        # The terminal turns each LF into CR LF.
        code, received = self.read_terminal(["old.txt", "before", "new.txt", "/debug"])
        self.assertEqual(code, 0)
        self.assertEqual(received, b"Resp: true\r\nDiff: 31622400 seconds before\r\n")


def main():
    global ARGS
    parser = argparse.ArgumentParser()
    parser.add_argument("--binary", required=True)
    parser.add_argument("--launcher")
    parser.add_argument("--pipe-parent")
    parser.add_argument("--wine")
    parser.add_argument("--emulator", help="runs a Linux binary of another architecture")
    ARGS, rest = parser.parse_known_args()
    if not os.path.exists(ARGS.binary):
        sys.exit("binary not built: " + ARGS.binary)
    unittest.main(argv=[sys.argv[0], "-v"] + rest)


if __name__ == "__main__":
    main()
