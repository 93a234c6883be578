#!/usr/bin/env python3
"""Does Datora leave the file system alone?

Runs comparisons under strace -f and reads every file-related system call
and every write. A run fails the test when it opens an operand (open,
openat, openat2, creat, open_by_handle_at on an operand's path, in any
mode), opens anything for writing, writes anywhere but standard output and
standard error, or creates, renames, links, removes, truncates or changes
the attributes of any file. Each run must also have looked its operands up
(statx or another stat), so a trace that caught nothing cannot pass.

The checks on trace lines are themselves tested first, on a table of lines
that must and must not count as violations.

Last, strace makes every statx fail with EPERM (as some container seccomp
profiles do) and with ENOSYS (kernels before 4.11): the modified and the
changed stamp still answer, the created one is missing. A binary of another
architecture runs only these, under qemu-user behind a seccomp filter that
refuses qemu's statx: qemu then fills the times and leaves the mask empty.

    readonly_test.py --binary build/native/datora
    readonly_test.py --binary build/musl-arm64/datora --emulator qemu-aarch64-static \
        --refuse-statx build/native/tests/refuse_statx
"""
import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile

TRACED = ("%file,write,pwrite64,writev,pwritev,pwritev2,ftruncate,fallocate,sendfile,"
          "copy_file_range,splice,tee,vmsplice,fchmod,fchown,fsetxattr,futimesat")
OPENS = {"open", "openat", "openat2", "creat", "open_by_handle_at"}
WRITES = {"write", "pwrite64", "writev", "pwritev", "pwritev2"}
CHANGES = {"creat", "mkdir", "mkdirat", "mknod", "mknodat", "rename", "renameat", "renameat2",
           "link", "linkat", "symlink", "symlinkat", "unlink", "unlinkat", "rmdir", "truncate",
           "ftruncate", "fallocate", "chmod", "fchmod", "fchmodat", "chown", "fchown", "lchown",
           "fchownat", "utime", "utimes", "utimensat", "futimesat", "setxattr", "lsetxattr",
           "fsetxattr", "removexattr", "lremovexattr", "sendfile", "copy_file_range", "splice",
           "tee", "vmsplice"}
STATS = {"statx", "stat", "lstat", "newfstatat", "fstatat64"}
WRITE_FLAGS = ("O_WRONLY", "O_RDWR", "O_CREAT", "O_TRUNC", "O_APPEND", "O_TMPFILE")
CALL = re.compile(r"^(?:\[pid\s+)?\d+\]?\s+(\w+)\((.*)$")
STRING = re.compile(r'"((?:[^"\\]|\\.)*)"')


def violations(line, operands):
    """What is wrong with one strace line ([] when nothing is)."""
    match = CALL.match(line)
    if not match or "resumed>" in line:
        return []
    name, rest = match.groups()
    strings = STRING.findall(rest)
    problems = []
    if name in OPENS:
        if any(path in operands for path in strings[:1]):
            problems.append("opens an operand")
        if any(flag in rest for flag in WRITE_FLAGS):
            problems.append("opens for writing")
    if name in WRITES:
        fd = rest.split(",", 1)[0].strip()
        if fd not in ("1", "2"):
            problems.append("writes to descriptor " + fd)
    if name in CHANGES:
        problems.append("changes the file system (%s)" % name)
    return problems


def looked_up(lines, operand):
    for line in lines:
        match = CALL.match(line)
        if match and match.group(1) in STATS and ('"%s"' % operand) in match.group(2):
            return True
    return False


# Trace lines and whether they must count as a violation, with operands
# "a.txt" and "/work/b.txt".
SELF_TEST = [
    ('7 openat(AT_FDCWD, "a.txt", O_RDONLY) = 3', True),
    ('7 open("/work/b.txt", O_RDONLY|O_CLOEXEC) = 3', True),
    ('7 openat2(AT_FDCWD, "a.txt", {flags=O_RDONLY}, 24) = 3', True),
    ('7 creat("x.tmp", 0644) = 3', True),
    ('7 openat(AT_FDCWD, "/tmp/log", O_WRONLY|O_CREAT|O_TRUNC, 0666) = 3', True),
    ('7 openat(AT_FDCWD, "/etc/localtime", O_RDONLY|O_CLOEXEC) = 3', False),
    ('7 write(3, "x", 1) = 1', True),
    ('7 pwrite64(4, "x", 1, 0) = 1', True),
    ('7 writev(5, [{iov_base="x", iov_len=1}], 1) = 1', True),
    ('7 write(1, "R\\0e\\0", 4) = 4', False),
    ('7 write(2, "N\\0", 2) = -1 EBADF (Bad file descriptor)', False),
    ('7 unlinkat(AT_FDCWD, "a.txt", 0) = 0', True),
    ('7 renameat2(AT_FDCWD, "a", AT_FDCWD, "b", 0) = 0', True),
    ('7 truncate("c.txt", 0) = 0', True),
    ('7 utimensat(AT_FDCWD, "a.txt", NULL, 0) = 0', True),
    ('7 statx(AT_FDCWD, "a.txt", AT_SYMLINK_NOFOLLOW, STATX_MTIME, {...}) = 0', False),
    ('[pid 8] openat(AT_FDCWD, "a.txt", O_RDONLY <unfinished ...>', True),
    ('7 +++ exited with 0 +++', False),
]


def check_self_test():
    operands = {"a.txt", "/work/b.txt"}
    wrong = [line for line, bad in SELF_TEST if bool(violations(line, operands)) != bad]
    for line in wrong:
        print("FAIL: the trace check misjudges:", line)
    return not wrong


def make_fixture(workdir):
    for name in ("a.txt", "b.txt", "c.txt"):
        with open(os.path.join(workdir, name), "w") as handle:
            handle.write(name)
    os.mkdir(os.path.join(workdir, "dir"))
    # Opening a FIFO would wait for a writer: a run that did would hang.
    os.mkfifo(os.path.join(workdir, "fifo"))
    os.utime(os.path.join(workdir, "a.txt"), (1_500_000_000, 1_500_000_000))


def runs(workdir):
    """Parameter lists, the exit code each must end with and its operands."""
    b = os.path.join(workdir, "b.txt")
    return [
        (["a.txt", "before", "b.txt"], 0, ["a.txt", "b.txt"]),
        (["b.txt", "before", "a.txt", "/debug"], 1, ["b.txt", "a.txt"]),
        (["a.txt", "created", "before", b, "accessed"], None, ["a.txt", b]),
        (["a.txt", "not", "after", "c.txt", "/datelocal", "/debug"], 0, ["a.txt", "c.txt"]),
        (["dir", "sametime", "dir", "/dateutc"], 0, ["dir"]),
        (["fifo", "not", "before", "a.txt"], 0, ["fifo", "a.txt"]),
        (["a.txt", "before", "today-3", "/debug"], 0, ["a.txt"]),
        (["c.txt", "after", "now-60"], 0, ["c.txt"]),
        (["a.txt", "changed", "after", "a.txt", "modified"], 0, ["a.txt"]),
        (["a.txt", "before", "missing.txt"], 255, ["a.txt", "missing.txt"]),
    ]


# Runs with statx refused: parameters, exit code, standard error.
REFUSED = [
    (["a.txt", "before", "b.txt"], 0, b""),
    (["a.txt", "created", "before", "b.txt"], 255, b"Not found or invalid: a.txt\n"),
    (["a.txt", "changed", "after", "a.txt", "modified"], 0, b""),
]


def refusals(binary, args, log):
    """Each way of refusing statx: a label, the command, and a test that
    the refusal happened."""
    if args.emulator:  # the wrapper ends with 125 when it cannot set its filter
        return [("ENOSYS to " + args.emulator, [args.refuse_statx, args.emulator, binary],
                 lambda completed: completed.returncode != 125)]
    injected = lambda completed: "(INJECTED)" in open(log, errors="replace").read()
    return [(error, ["strace", "-f", "-qq", "-o", log, "-e", "trace=statx",
                     "-e", "inject=statx:error=" + error, binary], injected)
            for error in ("EPERM", "ENOSYS")]


def check_refused_statx(workdir, ways):
    ok = True
    for error, command, refused in ways:
        for arguments, code, message in REFUSED:
            completed = subprocess.run(command + arguments, cwd=workdir,
                                       stdin=subprocess.DEVNULL, capture_output=True, timeout=60)
            label = "%s with statx refused (%s)" % (" ".join(arguments), error)
            result = (completed.returncode, completed.stderr)
            if not refused(completed) or result != (code, message):
                ok = False
                print("FAIL: %s ended with %d, %r (refused: %s)" %
                      (label, completed.returncode, completed.stderr, refused(completed)))
            print("checked:", label)
    return ok


def trace(binary, workdir, arguments, log):
    command = ["strace", "-f", "-qq", "-s", "4096", "-e", "trace=" + TRACED, "-o", log,
               binary] + arguments
    completed = subprocess.run(command, cwd=workdir, stdin=subprocess.DEVNULL,
                               stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=60)
    with open(log, errors="replace") as handle:
        return completed.returncode, handle.read().splitlines()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--binary", required=True)
    parser.add_argument("--emulator", help="runs a binary of another architecture")
    parser.add_argument("--refuse-statx", help="the wrapper that refuses the emulator's statx")
    args = parser.parse_args()
    if shutil.which("strace") is None and not args.emulator:
        sys.exit("FAIL: strace is not installed (scripts/test-all installs it)")
    ok = check_self_test()
    binary = os.path.abspath(args.binary)
    workdir = tempfile.mkdtemp(prefix="datora-readonly-")
    log = os.path.join(tempfile.mkdtemp(prefix="datora-trace-"), "trace.log")
    try:
        make_fixture(workdir)
        for arguments, code, operands in [] if args.emulator else runs(workdir):
            returned, lines = trace(binary, workdir, arguments, log)
            label = " ".join(arguments)
            if code is not None and returned != code:
                ok = False
                print("FAIL: %s ended with %d, expected %d" % (label, returned, code))
            names = set(operands) | {os.path.join(workdir, o) for o in operands}
            for line in lines:
                for problem in violations(line, names):
                    ok = False
                    print("FAIL: %s %s: %s" % (label, problem, line))
            for operand in operands:
                if not looked_up(lines, operand):
                    ok = False
                    print("FAIL: %s: no stat of %s in the trace" % (label, operand))
            print("checked: %s (%d traced calls)" % (label, len(lines)))
        ok = check_refused_statx(workdir, refusals(binary, args, log)) and ok
    finally:
        shutil.rmtree(workdir, ignore_errors=True)
        shutil.rmtree(os.path.dirname(log), ignore_errors=True)
    sys.exit(0 if ok else 1)


if __name__ == "__main__":
    main()
