#!/usr/bin/env python3
"""Does every parameter list end in 0, 1 or 255 with the right bytes on the
right channel?

Runs the native binary a few thousand times with parameter lists drawn at
random from the keywords, options (/tolerance with values well formed,
malformed and too large), TODAY/NOW shapes (huge counts, NOW's units and
garbage included), date: days and times (valid, impossible and
malformed), quotes, empty strings, control characters, bytes that are not
UTF-8, and names that exist or not. A small model of the grammar predicts,
for each list, whether the run ends in an error and which message it writes;
the run must agree, and:

  - 255: exactly that one message (or the usage text) on standard error as
    UTF-16LE ending in a single LF, nothing on standard output;
  - 0 or 1: nothing on standard error; with /debug exactly the two report
    lines on standard output (the first agreeing with the exit code),
    without it nothing.

    random_parameters.py --binary build/native/datora [--runs 3000] [--seed N]

Every run uses the same seed, printed first, unless --seed picks another,
so a failure repeats exactly.
"""
import argparse
import datetime
import os
import random
import re
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "consistency"))
import cases  # noqa: E402
from keywords import grammar_keywords  # noqa: E402

# The keywords of the grammar's table (cli/grammar.cpp), in its order, and
# the one option with a value, written "/tolerance:S".
KEYWORDS = [text for text, takes_value in grammar_keywords() if not takes_value]
(TOLERANCE,) = [text for text, takes_value in grammar_keywords() if takes_value]
RELATIONS = {"before": 2, "after": 4, "sametime": 1}
# Seconds up to seven decimals, as long as the ticks fit 63 bits; then
# values too large, and values malformed.
TOLERANCE_VALUES = ["0", "1", "3600", "1.5", "0.0000001", "007.25", "922337203685.4775807",
                    "922337203685.4775808", "922337203686", "9" * 25,
                    "", "-1", "+1", "1.", ".5", "1.12345678", "1.2.3", "1e3", " 5", "5s", ":5",
                    "1,5", "\u0661", "\uff11"]
EXISTING = ["old.txt", "new.txt", "folder", "with space.txt", "caf\u00e9.txt", "tab\there",
            os.fsdecode(b"bad\xff\xfe.txt"), 'q"uote', "back\\", "what?.txt"]
MISSING = ["missing.txt", "gone", "a*.txt", "a?.txt", "x" * 300, "\\", "folder\\\\",
           os.fsdecode(b"\xc3(\xed\xa0\x80"), "line\nbreak", "\x01\x1b[31m", "today.txt"]
# Each usage line ends in LF; the message's own LF follows the last.
USAGE = (cases.BANNER + cases.USAGE).replace("\r\n", "\n")
REPORT = re.compile(r"\AResp: (true|false)\nDiff: \d+ (days|seconds)( before| after)?\n\Z")


def platform_lower(text):
    """The Linux build's lower-case mapping: A-Z only."""
    return "".join(chr(ord(c) + 0x20) if "A" <= c <= "Z" else c for c in text)


def random_case(rng, word):
    return "".join(c.upper() if rng.random() < 0.3 else c for c in word)


def fixed_moment(rng):
    """date: with a day or a day and time, well formed or broken in one place."""
    if rng.random() < 0.1:  # at the start of the scale, in zones either side
        return "date:1601-01-01" + rng.choice(["", "T00:30+01:00", "T00:00-00:01", "T00:00Z"])
    parts = ["%04d" % rng.choice([1600, 1601, 2024, 2026, 9999]), "-",
             "%02d" % rng.choice([1, 2, 12, 13, 0]), "-", "%02d" % rng.choice([1, 28, 29, 31, 32])]
    if rng.random() < 0.7:
        parts += [rng.choice("Tt Xx"), "%02d" % rng.choice([0, 8, 23, 24]), ":",
                  "%02d" % rng.choice([0, 30, 59, 60])]
        if rng.random() < 0.6:
            parts += [":%02d" % rng.choice([0, 59, 60])]
            if rng.random() < 0.5:
                parts += ["." + "1234567890"[:rng.randrange(0, 10)]]
        parts += [rng.choice(["", "", "Z", "z", "+01:00", "-23:59", "+24:00", "+01", "+1:00"])]
    if rng.random() < 0.2:  # one character replaced by a lookalike or dropped
        at = rng.randrange(len(parts))
        parts[at] = rng.choice(["", "\u0661", "/", parts[at] + "0"])
    return random_case(rng, "date:") + "".join(parts)


def expression(rng):
    if rng.random() < 0.3:
        return fixed_moment(rng)
    head = random_case(rng, rng.choice(["today", "now"]))
    shape = rng.randrange(10)
    if shape == 9:  # NOW's units, and a unit where none is taken
        minus = "-" if rng.random() < 0.9 else ""
        return head + minus + str(rng.randrange(0, 400)) * rng.randrange(2) + rng.choice("smhdSHDxy")
    if shape == 0:
        return head
    if shape == 1:
        return head + "-"
    if shape == 2:
        return head + "-" + str(rng.randrange(0, 40000))
    if shape == 3:
        return head + "-" + "".join(rng.choice("0123456789") for _ in range(rng.randrange(10, 60)))
    if shape == 4:
        return head + "-" + "9" * rng.randrange(19, 45)
    if shape == 5:
        return head + rng.choice(["+1", "-1.5", "-x", " 8", "8", "s.txt", "-\t3", "--3"])
    if shape == 6:
        return head + "-" + "0" * rng.randrange(1, 80) + str(rng.randrange(100))
    if shape == 7:
        return "\"" + head + "-" + str(rng.randrange(9)) + "\""
    return head + "-" + chr(rng.choice([0x660, 0xFF11, 0x2212]))  # digits and minus lookalikes


def tolerance(rng):
    shape = rng.randrange(8)
    name = random_case(rng, TOLERANCE)
    if shape == 0:
        return name  # no value at all
    if shape == 1:  # a keyword that takes no value, given one
        return random_case(rng, rng.choice(["/debug", "/dst", "before", "/dateutc"])) + rng.choice([":", ":1"])
    if shape == 2:
        return name + ":" + str(rng.randrange(10 ** rng.randrange(1, 16)))
    return name + ":" + rng.choice(TOLERANCE_VALUES)


def garbage(rng):
    pool = "ab\"\\/?*-. \t\x7f\u00e9\u00c9\u0130\u212a\u4e2d\U0001f600"
    return "".join(rng.choice(pool) for _ in range(rng.randrange(1, 12)))


def parameter(rng):
    kind = rng.randrange(100)
    if kind < 35:
        word = rng.choice(KEYWORDS)
        if word == "sametime" and rng.random() < 0.1:
            return "SAMET\u0130ME"  # no keyword: only A-Z are folded
        return random_case(rng, word)
    if kind < 40:
        return tolerance(rng)
    if kind < 55:
        return expression(rng)
    if kind < 70:
        return rng.choice(EXISTING)
    if kind < 80:
        return rng.choice(MISSING)
    if kind < 85:
        return rng.choice(["", "\"\"", "\"", "/?", "-", "- 3", "-3"])
    return garbage(rng)


def keyword(rng):
    if rng.random() < 0.15:
        return tolerance(rng)
    return random_case(rng, rng.choice(KEYWORDS))


def well_formed(rng):
    """A list shaped like real use, with the odd piece out of place."""
    first = rng.choice(EXISTING) if rng.random() < 0.85 else parameter(rng)
    words = [keyword(rng) for _ in range(rng.randrange(0, 3))]
    words.append(rng.choice(["before", "after", "sametime"]))
    if rng.random() < 0.3:
        words.insert(rng.randrange(len(words) + 1), "not")
    second = rng.choice(EXISTING) if rng.random() < 0.5 else expression(rng)
    tail = [keyword(rng) if rng.random() < 0.8 else parameter(rng)
            for _ in range(rng.randrange(0, 3))]
    return [first] + words + [second] + tail


def parameter_list(rng):
    shape = rng.randrange(10)
    if shape < 6:
        return well_formed(rng)
    if shape == 6:
        return [parameter(rng) for _ in range(rng.randrange(0, 4))]
    first = rng.choice(EXISTING + MISSING + [parameter(rng)])
    rest = [rng.choice(["before", "after", "sametime", "not"])]
    rest += [parameter(rng) for _ in range(rng.randrange(0, 7))]
    if shape == 9:
        rng.shuffle(rest)
    return [first] + rest


def match_keyword(token):
    """(keyword, value) for a keyword, the value being what follows the
    first colon (empty without one); None for a piece of the second operand.
    Only /tolerance takes a value."""
    name, colon, value = token.partition(":")
    key = platform_lower(name)
    if key == TOLERANCE or (key in KEYWORDS and not colon):
        return key, value
    return None


def tolerance_valid(value):
    whole, dot, fraction = value.partition(".")

    def digits(text):
        return text != "" and all("0" <= c <= "9" for c in text)

    if not digits(whole) or (dot and (not digits(fraction) or len(fraction) > 7)):
        return False
    return int(whole) * 10**7 + int(fraction.ljust(7, "0")) <= 2**63 - 1


MOMENT = re.compile(r"([0-9]{4})-([0-9]{2})-([0-9]{2})(?:[Tt ]([0-9]{2}):([0-9]{2})"
                    r"(?::([0-9]{2})(?:\.([0-9]{1,7}))?)?(Z|[+-][0-9]{2}:[0-9]{2})?)?\Z")


def moment_valid(text):
    """A day or a day and time of date:, read by Python's own calendar. The
    runs use TZ=UTC0, so no local time is skipped or repeated."""
    match = MOMENT.match(text)
    if not match:
        return False
    year, month, day, hour, minute, second, _, zone = match.groups()
    try:
        moment = datetime.datetime(int(year), int(month), int(day), int(hour or 0),
                                   int(minute or 0), int(second or 0))
    except ValueError:
        return False
    if zone and zone != "Z":
        zone_hours, zone_minutes = int(zone[1:3]), int(zone[4:6])
        if zone_hours > 23 or zone_minutes > 59:
            return False
        sign = 1 if zone[0] == "+" else -1
        moment -= sign * datetime.timedelta(hours=zone_hours, minutes=zone_minutes)
    return year >= "1601" and moment >= datetime.datetime(1601, 1, 1)


def expression_valid(lowered5, text):
    if lowered5 == "date:":
        return moment_valid(text[5:])
    rest = text[5:] if lowered5 == "today" else text[3:]
    if lowered5 != "today" and rest[:1] == "-" and platform_lower(rest[-1]) in "smhd":
        rest = rest[:-1]  # NOW's unit
    return not rest or (rest[0] == "-" and all("0" <= c <= "9" for c in rest[1:]))


class Model:
    """What the run must do, worked out from the parameters alone."""

    def __init__(self, workdir, created_known):
        self.workdir = os.fsencode(workdir)
        self.created_known = created_known

    def found(self, name, stamp):
        """Names are looked up exactly as given."""
        if name == "" or not os.path.lexists(os.path.join(self.workdir, os.fsencode(name))):
            return False
        return stamp != 0 or self.created_known

    def message(self, arguments):
        """The error text, or None when the run reaches a verdict."""
        parameters = list(arguments)
        first = parameters[0] if parameters else ""
        if first in ("", "/?"):
            return "usage"
        current, stamp1, stamp2 = 2, 0, 0
        relation, file2, subfolders = 0, "", None
        for token in parameters[1:] + [""]:
            if token == "":
                stamp2 = current
                break
            key, value = match_keyword(token) or (None, None)
            if key == TOLERANCE:
                if not tolerance_valid(value):
                    return "Syntax error: " + token
            elif key in ("created", "accessed", "modified", "changed"):
                current = ("created", "accessed", "modified", "changed").index(key)
            elif key in RELATIONS:
                relation ^= RELATIONS[key]
            elif key == "/s":
                subfolders = subfolders or token
            elif key in KEYWORDS:
                pass
            elif relation == 0:
                return "Syntax error: " + token
            else:
                if file2 == "":
                    stamp1 = current
                file2 += token
        sets = [o for o in (first, file2) if platform_lower(o).startswith(("newest:", "oldest:"))]
        if subfolders and not sets:
            return "Syntax error: " + subfolders
        if not self.found(first, stamp1):
            return "Not found or invalid: " + first
        lowered5, lowered3 = platform_lower(file2[:5]), platform_lower(file2[:3])
        if lowered5 == "today" or lowered3 == "now" or lowered5 == "date:":
            if not expression_valid(lowered5, file2):
                return "Invalid date/time expression: " + file2
            return None
        if not self.found(file2, stamp2):
            return "Not found or invalid: " + file2
        return None


def make_fixture(workdir):
    for name in EXISTING:
        path = os.path.join(os.fsencode(workdir), os.fsencode(name))
        if name == "folder":
            os.mkdir(path)
        else:
            with open(path, "wb") as handle:
                handle.write(b"x")


def run(binary, workdir, arguments):
    completed = subprocess.run([binary] + [os.fsencode(a) for a in arguments], cwd=workdir,
                               env=dict(os.environ, TZ="UTC0"),
                               stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                               stderr=subprocess.PIPE, timeout=30)
    return completed.returncode, completed.stdout, completed.stderr


def check(model, arguments, code, out, err):
    """The list of broken properties (empty when the run is right)."""
    problems = []
    expected = model.message(arguments)
    if code not in (0, 1, 255):
        return ["exit code %d" % code]
    if code == 255:
        if out:
            problems.append("standard output written on an error")
        if not err.endswith(b"\n"):
            problems.append("standard error does not end in LF")
        text = err.decode("utf-8", "surrogateescape")[:-1]
        if expected is None:
            problems.append("error %r where the model expects a verdict" % text[:200])
        elif expected == "usage":
            if text != USAGE:
                problems.append("usage text expected, got %r" % text[:200])
        elif text != expected:
            problems.append("message %r, expected %r" % (text[:200], expected[:200]))
        return problems
    if err:
        problems.append("standard error written on a verdict")
    if expected is not None:
        problems.append("verdict %d where the model expects %r" % (code, expected[:200]))
    debug = False
    for parameter in arguments[1:]:
        if parameter == "":
            break  # an empty parameter ends the list; later ones are never read
        debug = debug or platform_lower(parameter) == "/debug"
    if not debug:
        if out:
            problems.append("standard output written without /debug")
        return problems
    text = out.decode("utf-8", "surrogateescape")
    match = REPORT.match(text)
    if not match:
        problems.append("report %r is not two lines" % text)
    elif (match.group(1) == "true") != (code == 0):
        problems.append("report says %s with exit code %d" % (match.group(1), code))
    return problems


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--binary", required=True)
    parser.add_argument("--runs", type=int, default=3000)
    parser.add_argument("--seed", type=int, default=20261208)
    args = parser.parse_args()
    seed = args.seed
    print("seed", seed, "(repeat with --seed %d)" % seed, flush=True)
    rng = random.Random(seed)
    binary = os.path.abspath(args.binary)
    workdir = tempfile.mkdtemp(prefix="datora-property-")
    failures = 0
    counts = {0: 0, 1: 0, 255: 0}
    try:
        make_fixture(workdir)
        probe = run(binary, workdir, ["old.txt", "created", "sametime", "old.txt"])[0]
        model = Model(workdir, created_known=probe == 0)
        for number in range(args.runs):
            arguments = parameter_list(rng)
            code, out, err = run(binary, workdir, arguments)
            counts[code] = counts.get(code, 0) + 1
            problems = check(model, arguments, code, out, err)
            if problems:
                failures += 1
                if failures <= 10:
                    print("FAIL run %d %r: %s" % (number, arguments, "; ".join(problems)))
    finally:
        shutil.rmtree(workdir, ignore_errors=True)
    print("runs %d: exit 0 x%d, 1 x%d, 255 x%d; failures %d"
          % (args.runs, counts.get(0, 0), counts.get(1, 0), counts.get(255, 0), failures))
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
