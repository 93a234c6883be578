#!/usr/bin/env python3
"""Do the .deb, the .tar.gz, the .rpm and the .zip hold what a user
installs, does it run, and do Debian's and RPM's linters accept them?

Makes the packages with CPack from the Linux or the Windows build tree into
a temporary folder, lists and unpacks them, and runs the packaged binaries:

    packages_test.py --native-build DIR [--runtime-notice FILE]   the .deb and the .tar.gz
    packages_test.py --windows-build DIR [--wine WINE]            the .zip
    packages_test.py --lintian-build DIR                          lintian on the .deb
    packages_test.py --rpm-build DIR --rpm-arch ARCH [--emulator EMULATOR]
        rpmlint on the .rpm of a musl release build, its files and fields,
        and the package installed into an empty root

The options combine; each check counts once in the summary line.
"""
import argparse
import glob
import gzip
import os
import re
import shutil
import subprocess
import sys
import tarfile
import tempfile
import zipfile

SOURCE = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
sys.path.insert(0, os.path.join(SOURCE, "tests", "e2e"))
from cases import BANNER, USAGE  # noqa: E402

# Each file with the one it must equal: in the source tree, or (the manual
# page, MAN_PAGE) in the build tree.
MAN_PAGE = "usr/share/man/man1/datora.1.gz"
DEB_FILES = {
    "usr/bin/datora": None,
    MAN_PAGE: None,
    "usr/share/bash-completion/completions/datora": "completion/datora.bash",
    "usr/share/doc/datora/copyright": None,
    "usr/share/doc/datora/changelog.gz": None,
    "usr/share/doc/datora/README.md": None,
    "usr/share/lintian/overrides/datora": None,
}
TAR_FILES = {"bin/datora", "share/man/man1/datora.1.gz", "share/bash-completion/completions/datora",
             "share/doc/datora/README.md", "share/doc/datora/LICENSE",
             "share/doc/datora/copyright"}
# The notice of the C library linked into the Linux binary (--runtime-notice).
RUNTIME_NOTICE = None
ZIP_FILES = {"datora.exe", "README.md", "LICENSE"}
# rpm -qpl of the .rpm, in its order.
RPM_FILES = """/usr/bin/datora
/usr/share/bash-completion/completions/datora
/usr/share/doc/datora
/usr/share/doc/datora/LICENSE
/usr/share/doc/datora/README.md
/usr/share/doc/datora/changelog.gz
/usr/share/doc/datora/copyright
/usr/share/man/man1/datora.1.gz"""

# The project's version (--version).
VERSION = None

failures = []
checks = 0


def check(condition, what):
    global checks
    checks += 1
    if not condition:
        failures.append(what)
        print(f"FAIL: {what}")


def make_packages(build_dir, out_dir, suffixes):
    """Runs CPack on a build tree; returns {suffix: package made}."""
    config = os.path.join(build_dir, "CPackConfig.cmake")
    if not os.path.exists(config):
        check(False, f"{config} is missing: build that tree first")
        return {}
    result = subprocess.run(["cpack", "--config", config, "-B", out_dir],
                            capture_output=True, text=True)
    made = {suffix: glob.glob(os.path.join(out_dir, "*" + suffix)) for suffix in suffixes}
    check(result.returncode == 0 and all(len(m) == 1 for m in made.values()),
          f"cpack in {build_dir} failed or made {made}:\n{result.stdout}{result.stderr}")
    return {suffix: m[0] for suffix, m in made.items() if len(m) == 1}


def read(path):
    with open(path, "rb") as f:
        return f.read()


def check_licence(text, where):
    check(read(os.path.join(SOURCE, "LICENSE")).strip() in text, f"{where} lacks the LICENSE text")


def check_notices(text, where):
    check_licence(text, where)
    if RUNTIME_NOTICE:
        check(read(RUNTIME_NOTICE).strip() in text, f"{where} lacks {RUNTIME_NOTICE}")


def run(command, cwd, env=None):
    return subprocess.run(command, cwd=cwd, capture_output=True, timeout=120, env=env)


def check_deb(deb, work):
    listing = subprocess.run(["dpkg-deb", "-c", deb], capture_output=True, text=True).stdout
    names = {line.split()[-1].lstrip("./") for line in listing.splitlines()}
    for name in DEB_FILES:
        check(name in names, f".deb lacks {name}")
    fields = subprocess.run(["dpkg-deb", "-f", deb, "Package", "Version"],
                            capture_output=True, text=True).stdout
    check("Package: datora" in fields, f".deb package name: {fields!r}")
    check(f"Version: {VERSION}\n" in fields, f".deb version: {fields!r}")

    root = os.path.join(work, "deb-root")
    subprocess.run(["dpkg", "-x", deb, root], check=True)
    for name, source in DEB_FILES.items():
        if source and os.path.exists(os.path.join(root, name)):
            data = read(os.path.join(root, name))
            if name.endswith(".gz"):
                data = gzip.decompress(data)
            check(data == read(os.path.join(SOURCE, source)), f".deb's {name} differs from {source}")
    if os.path.exists(os.path.join(root, MAN_PAGE)):
        title = gzip.decompress(read(os.path.join(root, MAN_PAGE))).split(b"\n")[0]
        check(f'"Datora {VERSION}"'.encode() in title, f".deb's manual page is titled {title!r}")
    if "usr/share/doc/datora/copyright" in names:
        check_notices(read(os.path.join(root, "usr/share/doc/datora/copyright")), ".deb's copyright")

    binary = os.path.join(root, "usr/bin/datora")
    files = os.path.join(work, "files")
    os.makedirs(files)
    for name, seconds in (("old.txt", 1_500_000_000), ("new.txt", 1_600_000_000)):
        path = os.path.join(files, name)
        open(path, "w").close()
        os.utime(path, (seconds, seconds))
    newer = run([binary, "new.txt", "after", "old.txt"], files)
    check(newer.returncode == 0, f"packaged datora: new after old gave {newer.returncode}")
    older = run([binary, "old.txt", "after", "new.txt"], files)
    check(older.returncode == 1, f"packaged datora: old after new gave {older.returncode}")
    missing = run([binary, "gone.txt", "after", "new.txt"], files)
    check(missing.returncode == 255 and
          missing.stderr == b"Not found or invalid: gone.txt\n",
          f"packaged datora: missing file gave {missing.returncode}, {missing.stderr!r}")
    report = run([binary, "new.txt", "after", "old.txt", "/debug"], files)
    check(report.stdout.startswith(b"Resp: true\nDiff: "),
          f"packaged datora: /debug wrote {report.stdout!r}")


def check_tar(archive, work):
    with tarfile.open(archive) as tar:
        entries = [m.name for m in tar.getmembers() if m.isfile()]
        folders = {n.split("/")[0] for n in entries}
        check(len(folders) == 1, f".tar.gz has several top folders: {folders}")
        inside = {n.split("/", 1)[-1] for n in entries}
        check(inside == TAR_FILES, f".tar.gz holds {sorted(entries)}")
        licence = [n for n in entries if n.endswith("/LICENSE")]
        if licence:
            check_licence(tar.extractfile(licence[0]).read(), ".tar.gz's LICENSE")
        copyright = [n for n in entries if n.endswith("/copyright")]
        if copyright:
            check_notices(tar.extractfile(copyright[0]).read(), ".tar.gz's copyright")

    # The read-me's command as written, into a home of its own. It names the
    # archive of any version.
    pattern = os.path.basename(archive).replace(f"-{VERSION}-", "-*-")
    check(pattern != os.path.basename(archive), f"{archive} is not named for version {VERSION}")
    command = f"mkdir -p ~/.local && tar -xzf {pattern} --strip-components=1 -C ~/.local"
    check(command in read(os.path.join(SOURCE, "README.md")).decode(), f"README.md lacks {command}")
    home = os.path.join(work, "home")
    os.makedirs(home)
    unpacked = run(["sh", "-c", command], os.path.dirname(archive), dict(os.environ, HOME=home))
    binary = os.path.join(home, ".local", "bin", "datora")
    check(unpacked.returncode == 0 and os.path.exists(binary),
          f"{command} left no {binary}: {unpacked.stderr!r}")
    if os.path.exists(binary):
        usage = run([binary], home)
        check(usage.returncode == 255 and
              usage.stderr == (BANNER + USAGE + "\n").replace("\r\n", "\n").encode(),
              f"datora from ~/.local gave {usage.returncode}, {usage.stderr[:40]!r}")


def check_zip(archive, work, wine):
    with zipfile.ZipFile(archive) as z:
        entries = [n for n in z.namelist() if not n.endswith("/")]
        folders = {n.split("/")[0] for n in entries if "/" in n}
        check(len(folders) <= 1, f".zip has several top folders: {folders}")
        base = {n.split("/")[-1] for n in entries}
        check(base == ZIP_FILES, f".zip holds {sorted(entries)}")
        z.extractall(os.path.join(work, "zip"))
    unpacked = {os.path.basename(p): p
                for p in glob.glob(os.path.join(work, "zip", "**", "*"), recursive=True)}
    if "LICENSE" in unpacked:
        check(read(unpacked["LICENSE"]) == read(os.path.join(SOURCE, "LICENSE")),
              ".zip's LICENSE differs from the source tree's")
    if "datora.exe" not in unpacked:
        return
    exe = unpacked["datora.exe"]
    check(read(exe)[:2] == b"MZ", ".zip's datora.exe is no Windows executable")
    if wine and shutil.which(wine):
        env = dict(os.environ, WINEDEBUG="-all")
        usage = run([wine, exe], os.path.dirname(exe), env)
        # A new Wine prefix announces itself on standard error first.
        check(usage.returncode == 255 and
              (BANNER + USAGE + "\n").encode("utf-16-le") in usage.stderr,
              f".zip's datora.exe under Wine gave {usage.returncode}, {usage.stderr[-80:]!r}")
    else:
        print("note: Wine not found, the packaged datora.exe was not run")


def make_package(build_dir, out_dir, generator, name_pattern):
    """Runs one CPack generator on a build tree; returns the one package
    whose name matches, or None after a failed check."""
    result = subprocess.run(["cpack", "--config", os.path.join(build_dir, "CPackConfig.cmake"),
                             "-G", generator, "-B", out_dir], capture_output=True, text=True)
    made = glob.glob(os.path.join(out_dir, name_pattern))
    check(result.returncode == 0 and len(made) == 1,
          f"cpack -G {generator} in {build_dir} made {made}, not one {name_pattern}:\n"
          f"{result.stdout}{result.stderr}")
    return made[0] if result.returncode == 0 and len(made) == 1 else None


def check_lintian(build_dir, work):
    """Fails on any error, warning or information tag lintian raises that the
    package does not override, and on an override that matches nothing
    (lintian's unused-override)."""
    deb = make_package(build_dir, os.path.join(work, "lintian"), "DEB", "*.deb")
    if not deb:
        return
    result = subprocess.run(["lintian", "--fail-on", "error,warning,info", "--display-info", deb],
                            capture_output=True, text=True)
    print(result.stdout + result.stderr, end="")
    check(result.returncode == 0, "lintian tags above")
    if result.returncode == 0:
        print("lintian: no tags")


def check_rpm(build_dir, arch, emulator, work):
    """Does the .rpm of a musl release build pass rpmlint, hold what the .deb
    holds, say the right things of itself, and install into an empty root
    where the binary answers the end-to-end table's usage and grammar rows
    and man reads the page?"""
    out = os.path.join(work, "rpm")
    package = make_package(build_dir, out, "RPM", f"datora-{VERSION}-1.{arch}.rpm")
    if not package:
        return

    lint = subprocess.run(["rpmlint", "-c", os.path.join(SOURCE, "packaging", "rpmlint.toml"),
                           "-r", os.path.join(SOURCE, "packaging", "datora.rpmlintrc"), package],
                          capture_output=True, text=True)
    log = lint.stdout + lint.stderr
    verdict = log.rstrip("\n").rsplit("\n", 1)[-1]
    print(f"rpmlint: {verdict}")
    check(" 0 errors, 0 warnings," in verdict, f"rpmlint:\n{log}")

    def query(*options):
        return subprocess.run(["rpm", *options, package], capture_output=True, text=True).stdout

    files = query("-qpl").rstrip("\n")
    check(files == RPM_FILES, f"the package holds: {files}")
    # A static binary needs nothing but rpm itself.
    requires = [line for line in query("-qpR").splitlines() if not line.startswith("rpmlib(")]
    check(not requires, f"the package requires: {requires}")
    info = query("-qpi")
    for field in ("Name *: datora", f"Version *: {VERSION}", "Release *: 1", f"Architecture: {arch}",
                  "License *: MIT", "Summary *: Compares file time stamps for batch scripts",
                  "URL *: https://datora.invalid/", "Build Host *: localhost"):
        check(re.search(f"^{field}$", info, re.MULTILINE), f"rpm -qpi lacks '{field}'")

    root = os.path.join(out, "root")
    os.makedirs(root)
    foreign = [] if arch == os.uname().machine else ["--ignorearch"]
    # Debian's rpm warns on standard error that it is not Debian's installer.
    for command in (["--initdb"], ["-i", "--nodeps", *foreign, package]):
        installed = subprocess.run(["rpm", "--root", root, *command], capture_output=True, text=True)
        if installed.returncode != 0:
            break
    check(installed.returncode == 0,
          f"rpm could not install the package into {root}:\n{installed.stdout}{installed.stderr}")
    runner = ["--emulator", emulator] if emulator else []
    e2e = subprocess.run([sys.executable, os.path.join(SOURCE, "tests", "e2e", "run_e2e.py"),
                          "--binary", os.path.join(root, "usr/bin/datora"), *runner,
                          "-k", "usage_and_grammar"],
                         stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    check(e2e.returncode == 0 and re.search("^Ran 1 test", e2e.stdout, re.MULTILINE),
          f"the installed datora fails the usage and grammar rows:\n{e2e.stdout}")
    page = subprocess.run(["man", "-l", os.path.join(root, "usr/share/man/man1/datora.1.gz")],
                          stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
                          env=dict(os.environ, MANWIDTH="80"))
    check(re.search("^NAME", page.stdout, re.MULTILINE),
          f"man -l read no page: {page.stdout[:200]}")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--native-build")
    parser.add_argument("--windows-build")
    parser.add_argument("--wine", default="wine")
    parser.add_argument("--runtime-notice", help="a C library's notice the copyright files hold")
    parser.add_argument("--lintian-build", help="a Linux build tree whose .deb lintian checks")
    parser.add_argument("--rpm-build", help="a musl build tree whose .rpm is checked")
    parser.add_argument("--rpm-arch", help="the .rpm's architecture (x86_64, aarch64)")
    parser.add_argument("--emulator", help="runs the installed binary of another architecture")
    parser.add_argument("--version", required=True, help="the version the packages carry")
    args = parser.parse_args()
    global RUNTIME_NOTICE, VERSION
    RUNTIME_NOTICE = args.runtime_notice
    VERSION = args.version
    if not (args.native_build or args.windows_build or args.lintian_build or args.rpm_build):
        parser.error("give --native-build, --windows-build, --lintian-build or --rpm-build")
    if args.rpm_build and not args.rpm_arch:
        parser.error("--rpm-build needs --rpm-arch")
    with tempfile.TemporaryDirectory(prefix="datora-packages-") as work:
        if args.native_build:
            DEB_FILES[MAN_PAGE] = os.path.abspath(os.path.join(args.native_build, "packaging",
                                                               "datora.1"))
            made = make_packages(args.native_build, os.path.join(work, "linux"), (".deb", ".tar.gz"))
            if ".deb" in made:
                check_deb(made[".deb"], work)
            if ".tar.gz" in made:
                check_tar(made[".tar.gz"], work)
        if args.windows_build:
            made = make_packages(args.windows_build, os.path.join(work, "windows"), (".zip",))
            if ".zip" in made:
                check_zip(made[".zip"], work, args.wine)
        if args.lintian_build:
            check_lintian(args.lintian_build, work)
        if args.rpm_build:
            check_rpm(args.rpm_build, args.rpm_arch, args.emulator, work)
    print(f"{checks - len(failures)} passed, {len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
