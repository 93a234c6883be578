#!/usr/bin/env python3
"""Does datora.exe carry the version resource that Windows shows for it,
and the application manifest that Windows reads when it starts it?

Reads the PE file's resource section directly (no Windows tools), finds the
RT_VERSION resource, decodes its VS_VERSIONINFO block and checks the fixed
version numbers and the string table; finds the RT_MANIFEST resource the
loader reads (id 1) and checks the settings in it. Wine ignores most of a
manifest, so only the resource itself can show them.
"""
import argparse
import struct
import sys
from xml.etree import ElementTree

RT_VERSION = 16
RT_MANIFEST = 24
PROCESS_MANIFEST_ID = 1
FIXED_SIGNATURE = 0xFEEF04BD

# Windows ignores an element in a namespace other than its own, so the
# paths below name each one.
ASM_V3 = "{urn:schemas-microsoft-com:asm.v3}"
COMPATIBILITY = "{urn:schemas-microsoft-com:compatibility.v1}"
SETTINGS_2016 = "{http://schemas.microsoft.com/SMI/2016/WindowsSettings}"
EXECUTION_LEVEL = (f"{ASM_V3}trustInfo/{ASM_V3}security/{ASM_V3}requestedPrivileges/"
                   f"{ASM_V3}requestedExecutionLevel")
LONG_PATHS = f"{ASM_V3}application/{ASM_V3}windowsSettings/{SETTINGS_2016}longPathAware"
SUPPORTED_OS = f"{COMPATIBILITY}compatibility/{COMPATIBILITY}application/{COMPATIBILITY}supportedOS"
WINDOWS_7_TO_10 = {
    "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  # 7
    "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  # 8
    "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  # 8.1
    "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",  # 10 and 11
}

# The strings besides FileVersion and ProductVersion, which are --version.
EXPECTED_STRINGS = {
    "ProductName": "Datora",
    "OriginalFilename": "datora.exe",
}


class PeImage:
    def __init__(self, data):
        self.data = data
        if data[:2] != b"MZ":
            raise ValueError("no MZ header")
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("no PE signature")
        sections, optional_size = struct.unpack_from("<H12xH", data, pe + 6)
        optional = pe + 24
        magic = struct.unpack_from("<H", data, optional)[0]
        directories = optional + (112 if magic == 0x20B else 96)
        self.resource_rva, self.resource_size = struct.unpack_from(
            "<II", data, directories + 2 * 8)
        self.sections = []
        table = optional + optional_size
        for i in range(sections):
            virtual_size, rva, raw_size, raw_offset = struct.unpack_from(
                "<IIII", data, table + 40 * i + 8)
            self.sections.append((rva, max(virtual_size, raw_size), raw_offset))

    def offset(self, rva):
        for start, size, raw in self.sections:
            if start <= rva < start + size:
                return raw + rva - start
        raise ValueError(f"RVA {rva:#x} lies in no section")

    def resource(self, type_id, name_id=None):
        """The bytes of the resource of the given numeric type and id (by
        default its first one)."""
        if self.resource_rva == 0:
            raise ValueError("no resource directory")
        base = self.offset(self.resource_rva)

        def entries(directory):
            named, numbered = struct.unpack_from("<HH", self.data, base + directory + 12)
            for i in range(named + numbered):
                yield struct.unpack_from("<II", self.data, base + directory + 16 + 8 * i)

        node = None
        for name, target in entries(0):
            if not name & 0x80000000 and name == type_id:
                node = target
                break
        if node is None:
            raise ValueError(f"no resource of type {type_id}")
        if name_id is not None:
            names = dict(entries(node & 0x7FFFFFFF))
            if name_id not in names:
                raise ValueError(f"no resource {name_id} of type {type_id}")
            node = names[name_id]
        # Type -> name -> language -> data entry; take the first of each.
        while node & 0x80000000:
            node = next(entries(node & 0x7FFFFFFF))[1]
        rva, size = struct.unpack_from("<II", self.data, base + node)
        start = self.offset(rva)
        return self.data[start:start + size]


def align4(n):
    return (n + 3) & ~3


def read_block(data, at):
    """One VS_VERSIONINFO-style node: (key, value bytes, value is text, children, end)."""
    length, value_length, value_type = struct.unpack_from("<HHH", data, at)
    end = at + length
    key_start = at + 6
    key_end = key_start
    while data[key_end:key_end + 2] != b"\0\0":
        key_end += 2
    key = data[key_start:key_end].decode("utf-16-le")
    value_start = align4(key_end + 2)
    value_bytes = value_length * 2 if value_type == 1 else value_length
    value = data[value_start:value_start + value_bytes]
    children = []
    child = align4(value_start + value_bytes)
    while child < end:
        node = read_block(data, child)
        children.append(node)
        child = align4(node[4])
    return key, value, value_type == 1, children, end


def version_info(resource):
    key, fixed, _, children, _ = read_block(resource, 0)
    if key != "VS_VERSION_INFO":
        raise ValueError(f"root key is {key!r}")
    signature, _, ms, ls, product_ms, product_ls = struct.unpack_from("<IIIIII", fixed)
    if signature != FIXED_SIGNATURE:
        raise ValueError("VS_FIXEDFILEINFO signature missing")
    numbers = lambda hi, lo: (hi >> 16, hi & 0xFFFF, lo >> 16, lo & 0xFFFF)
    strings = {}
    for child_key, _, _, tables, _ in children:
        if child_key != "StringFileInfo":
            continue
        for _, _, _, entries, _ in tables:
            for name, value, _, _, _ in entries:
                strings[name] = value.decode("utf-16-le").rstrip("\0")
    return numbers(ms, ls), numbers(product_ms, product_ls), strings


def manifest_failures(text):
    root = ElementTree.fromstring(text)
    levels = [e.get("level") for e in root.findall(EXECUTION_LEVEL)]
    long_paths = [(e.text or "").strip() for e in root.findall(LONG_PATHS)]
    systems = {e.get("Id", "").lower() for e in root.findall(SUPPORTED_OS)}
    print(f"manifest: level {levels}, longPathAware {long_paths}, {len(systems)} supportedOS")
    failures = []
    if levels != ["asInvoker"]:
        failures.append(f"requestedExecutionLevel is {levels}, expected asInvoker")
    if long_paths != ["true"]:
        failures.append(f"longPathAware is {long_paths}, expected true")
    if systems != WINDOWS_7_TO_10:
        failures.append(f"supportedOS ids are {sorted(systems)}, expected Windows 7 to 10")
    return failures


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("exe")
    parser.add_argument("--version", required=True, help="the project's version, e.g. 1.2")
    args = parser.parse_args()
    expected_strings = dict(EXPECTED_STRINGS, FileVersion=args.version,
                            ProductVersion=args.version)
    # The fixed versions have four numbers; the project's missing ones are 0.
    expected_numbers = (tuple(int(n) for n in args.version.split(".")) + (0, 0, 0, 0))[:4]
    try:
        with open(args.exe, "rb") as f:
            image = PeImage(f.read())
        file_version, product_version, strings = version_info(image.resource(RT_VERSION))
        failures = manifest_failures(image.resource(RT_MANIFEST, PROCESS_MANIFEST_ID))
    except (OSError, ValueError, struct.error, ElementTree.ParseError) as error:
        print(f"FAIL: {args.exe}: {error}")
        return 1

    if file_version != expected_numbers:
        failures.append(f"fixed file version is {file_version}, expected {expected_numbers}")
    if product_version != expected_numbers:
        failures.append(f"fixed product version is {product_version}, expected {expected_numbers}")
    for name, expected in expected_strings.items():
        if strings.get(name) != expected:
            failures.append(f"{name} is {strings.get(name)!r}, expected {expected!r}")
    if not strings.get("FileDescription"):
        failures.append("FileDescription is missing or empty")

    for name in sorted(strings):
        print(f"{name}: {strings[name]}")
    for failure in failures:
        print(f"FAIL: {failure}")
    print(f"{len(expected_strings) + 6 - len(failures)} passed, {len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
