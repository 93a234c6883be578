#!/usr/bin/env python3
"""Writes seed inputs for the fuzz targets from the end-to-end case table.

    make_seeds.py OUTPUT_DIR

OUTPUT_DIR/parse gets each case as a UTF-16LE command line, OUTPUT_DIR/reference
each TODAY/NOW/date: operand behind a current time, a first time, a UTC offset and
a choice byte, OUTPUT_DIR/stamp each operand name behind a choice byte and
three stamps: the layouts the targets read.
"""
import hashlib
import os
import struct
import sys

TESTS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests")
sys.path.insert(0, os.path.join(TESTS, "e2e"))
sys.path.insert(0, os.path.join(TESTS, "consistency"))
import cases  # noqa: E402
from keywords import grammar_keywords  # noqa: E402

NOW = 133_500_000_000_000_000
# The grammar's keywords (cli/grammar.cpp); those that take a value are
# written with a colon and the value.
KEYWORDS = {text for text, _ in grammar_keywords()}
VALUED = {text for text, takes_value in grammar_keywords() if takes_value}


def command_line(arguments):
    """The Windows command line that hands these arguments back one by one."""
    parts = ["datora.exe"]
    for argument in arguments:
        argument = argument.replace('"', "")
        parts.append('"%s"' % argument if argument == "" or " " in argument else argument)
    return " ".join(parts)


def utf16(text):
    return text.encode("utf-16-le", "surrogatepass")


def fixture():
    stamps = {"old.txt": cases.ticks(2020, 1, 1, 12)}
    return cases.Fixture(now=NOW, tz="UTC0", offset=0, stamps=stamps,
                         long_name="d/f.txt", workdir="/tmp/datora",
                         far_name="/tmp/datora/far.txt")


def operands(arguments):
    """Every parameter after the first that is not a keyword."""
    return [a for a in arguments[1:]
            if a.lower() not in KEYWORDS and a.lower().partition(":")[0] not in VALUED]


def seeds():
    fx = fixture()
    table = cases.file_cases(fx) + cases.reference_cases(fx)
    for case in table:
        yield "parse", utf16(command_line(case.args))
        names = operands(case.args) + case.args[:1]
        for name in names:
            yield "stamp", bytes([0x82]) + struct.pack(">qqq", 1, 2, 3) + utf16(name)
            if name.lower().startswith(("today", "now", "date:")):
                head = struct.pack(">qqq", NOW, NOW - 3 * cases.TICKS_PER_DAY, 0)
                for choice in (0, 1, 2, 0x1D):
                    yield "reference", head + bytes([choice]) + utf16(name)
    for case in cases.line_cases(fx):
        yield "parse", utf16(case.line)


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    written = 0
    for target, data in seeds():
        folder = os.path.join(sys.argv[1], target)
        os.makedirs(folder, exist_ok=True)
        path = os.path.join(folder, hashlib.sha1(data).hexdigest())
        if not os.path.exists(path):
            with open(path, "wb") as handle:
                handle.write(data)
            written += 1
    print("seeds written:", written)


if __name__ == "__main__":
    main()
