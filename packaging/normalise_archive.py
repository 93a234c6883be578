#!/usr/bin/env python3
"""Rewrites .tar.gz and .zip archives so that their bytes depend on their
contents alone: members sorted by name, every time stamp EPOCH, owner
root, modes 0755 (directories and executables) or 0644, and no name or
time in the gzip header. CPack's archives otherwise carry the order in
which the file system lists the staging folder and the builder's user.

    normalise_archive.py EPOCH ARCHIVE...
"""
import gzip
import io
import sys
import tarfile
import time
import zipfile


def mode(executable):
    return 0o755 if executable else 0o644


def normalise_tar_gz(path, epoch):
    with tarfile.open(path) as old:
        members = sorted(old.getmembers(), key=lambda m: m.name)
        data = {m.name: old.extractfile(m).read() for m in members if m.isfile()}
    tar = io.BytesIO()
    with tarfile.open(fileobj=tar, mode="w", format=tarfile.GNU_FORMAT) as new:
        for member in members:
            member.mtime = epoch
            member.uid = member.gid = 0
            member.uname = member.gname = "root"
            member.mode = mode(member.isdir() or member.mode & 0o100)
            new.addfile(member, io.BytesIO(data[member.name]) if member.isfile() else None)
    with open(path, "wb") as out:
        with gzip.GzipFile(filename="", mode="wb", compresslevel=9, fileobj=out, mtime=0) as z:
            z.write(tar.getvalue())


def normalise_zip(path, epoch):
    with zipfile.ZipFile(path) as old:
        members = sorted(old.infolist(), key=lambda i: i.filename)
        data = {i.filename: old.read(i) for i in members}
    with zipfile.ZipFile(path, "w") as new:
        for member in members:
            info = zipfile.ZipInfo(member.filename, time.gmtime(epoch)[:6])
            info.create_system = 3  # Unix, so that unzip keeps the modes
            info.external_attr = (0o100000 | mode(member.external_attr >> 16 & 0o100)) << 16
            info.compress_type = zipfile.ZIP_DEFLATED
            new.writestr(info, data[member.filename], compresslevel=9)


def main():
    epoch = int(sys.argv[1])
    for path in sys.argv[2:]:
        if path.endswith(".tar.gz"):
            normalise_tar_gz(path, epoch)
        elif path.endswith(".zip"):
            normalise_zip(path, epoch)
    return 0


if __name__ == "__main__":
    sys.exit(main())
