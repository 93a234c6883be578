#!/usr/bin/env python3
"""Writes a Debian changelog's entries as the %changelog section that
rpmbuild reads, newest first: each entry as "* Tue Dec 08 2026 Name <address> -
VERSION-RELEASE" followed by its items, each item's first line begun with
"- " and its further lines indented by two spaces.

    rpm_changelog.py DEBIAN_CHANGELOG RELEASE OUTPUT
"""
import email.utils
import re
import sys

ENTRY = re.compile(r"^\S+ \((?P<version>[^)]+)\)[^\n]*\n(?P<items>.*?)\n -- (?P<who>.+?)  (?P<date>.+?)$",
                   re.MULTILINE | re.DOTALL)


def rpm_entry(entry, release):
    day = email.utils.parsedate_to_datetime(entry["date"]).strftime("%a %b %d %Y")
    lines = ["* %s %s - %s-%s" % (day, entry["who"], entry["version"], release)]
    for line in entry["items"].strip("\n").splitlines():
        if line.startswith("  * "):
            lines.append("- " + line[4:])
        elif line.strip():
            lines.append("  " + line.strip())
    return "\n".join(lines) + "\n"


def main():
    source, release, output = sys.argv[1:]
    with open(source, encoding="utf-8") as f:
        entries = list(ENTRY.finditer(f.read()))
    if not entries:
        sys.exit("rpm_changelog.py: no changelog entry in " + source)
    with open(output, "w", encoding="utf-8") as f:
        f.write("\n".join(rpm_entry(entry, release) for entry in entries))


if __name__ == "__main__":
    main()
