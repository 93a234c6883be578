#!/usr/bin/env python3
"""Do the .deb and the .zip hold what a user installs, and does it run?

Makes both packages with CPack from the two build trees into a temporary
folder, lists and unpacks them, and runs the packaged binaries.
"""
import argparse
import glob
import os
import shutil
import subprocess
import sys
import tempfile
import zipfile

SOURCE = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))

DEB_FILES = {
    "usr/bin/datora": None,
    "usr/share/man/man1/datora.1": "docs/datora.1",
    "usr/share/bash-completion/completions/datora": "completion/datora.bash",
    "usr/share/doc/datora/copyright": "LICENSE",
    "usr/share/doc/datora/README.md": None,
}
ZIP_FILES = {"datora.exe", "README.md", "LICENSE"}

failures = []
checks = 0


def check(condition, what):
    global checks
    checks += 1
    if not condition:
        failures.append(what)
        print(f"FAIL: {what}")


def make_package(build_dir, out_dir):
    config = os.path.join(build_dir, "CPackConfig.cmake")
    if not os.path.exists(config):
        check(False, f"{config} is missing: build that tree first")
        return None
    result = subprocess.run(["cpack", "--config", config, "-B", out_dir],
                            capture_output=True, text=True)
    made = glob.glob(os.path.join(out_dir, "*.deb")) + glob.glob(os.path.join(out_dir, "*.zip"))
    check(result.returncode == 0 and len(made) == 1,
          f"cpack in {build_dir} failed:\n{result.stdout}{result.stderr}")
    return made[0] if made else None


def read(path):
    with open(path, "rb") as f:
        return f.read()


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
    check("Version: 2.4" in fields, f".deb version: {fields!r}")

    root = os.path.join(work, "deb-root")
    subprocess.run(["dpkg", "-x", deb, root], check=True)
    for name, source in DEB_FILES.items():
        if source and os.path.exists(os.path.join(root, name)):
            check(read(os.path.join(root, name)) == read(os.path.join(SOURCE, source)),
                  f".deb's {name} differs from {source}")

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
          missing.stderr == "Not found or invalid: gone.txt\n".encode("utf-16-le"),
          f"packaged datora: missing file gave {missing.returncode}, {missing.stderr!r}")
    report = run([binary, "new.txt", "after", "old.txt", "/debug"], files)
    check(report.stdout.decode("utf-16-le").startswith("Resp: true\r\n"),
          f"packaged datora: /debug wrote {report.stdout!r}")


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
              "Datora, ver. 2.4".encode("utf-16-le") in usage.stderr,
              f".zip's datora.exe under Wine gave {usage.returncode}, {usage.stderr[-80:]!r}")
    else:
        print("note: Wine not found, the packaged datora.exe was not run")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--native-build", required=True)
    parser.add_argument("--windows-build", required=True)
    parser.add_argument("--wine", default="wine")
    args = parser.parse_args()
    with tempfile.TemporaryDirectory(prefix="datora-packages-") as work:
        deb = make_package(args.native_build, os.path.join(work, "deb"))
        if deb:
            check_deb(deb, work)
        archive = make_package(args.windows_build, os.path.join(work, "zip-out"))
        if archive:
            check_zip(archive, work, args.wine)
    print(f"{checks - len(failures)} passed, {len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
