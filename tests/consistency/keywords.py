#!/usr/bin/env python3
"""Do the bash completion and the manual page name exactly the keywords of
the grammar's table?

The table `Keywords[]` in cli/grammar.cpp is the one list of keywords. The
property test and the fuzz seeds read it through `grammar_keywords()`, and
so does the manual page's test; the completion and the page are compared
with it here. A keyword that takes a value is written with its colon
("/tolerance:"), as the completion offers it and the page heads its entry.

    keywords.py            compares, and names each list that differs
    keywords.py --list     prints the keywords, one a line, as written
"""
import os
import re
import subprocess
import sys
import tempfile

SOURCE = os.path.abspath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
GRAMMAR = os.path.join(SOURCE, "cli", "grammar.cpp")
COMPLETION = os.path.join(SOURCE, "completion", "datora.bash")
PAGE = os.path.join(SOURCE, "docs", "datora.1")

TABLE = re.compile(r"constexpr KeywordEntry Keywords\[\] = \{(.*?)\n\};", re.S)
ENTRY = re.compile(r'\{u"([^"]+)", Keyword::\w+(, true)?\}')


def grammar_keywords():
    """[(text, takes a value)] of the grammar's table, in its order."""
    with open(GRAMMAR, encoding="utf-8") as f:
        table = TABLE.search(f.read())
    entries = [(text, bool(value)) for text, value in ENTRY.findall(table.group(1))] if table else []
    if not entries:
        sys.exit(f"no keyword table Keywords[] in {GRAMMAR}")
    return entries


def written(text, takes_value):
    return text + ":" if takes_value else text


def completion_offer():
    """What the completion offers after the first operand, before any
    relation keyword: the keywords alone, no file names."""
    script = ('source "$1"; COMP_WORDS=(datora file1 ""); COMP_LINE="datora file1 "; '
              'COMP_POINT=${#COMP_LINE}; COMP_CWORD=2; _datora; printf "%s\\n" "${COMPREPLY[@]}"')
    with tempfile.TemporaryDirectory() as empty:
        offer = subprocess.run(["bash", "-c", script, "bash", COMPLETION], cwd=empty,
                               capture_output=True, text=True, check=True).stdout
    return offer.split()


def page_entries():
    """The head word of each tagged paragraph under KEYWORDS and OPTIONS."""
    entries, section, tagged = [], None, False
    with open(PAGE, encoding="utf-8") as f:
        for line in f:
            if line.startswith(".SH "):
                section = line[4:].strip()
            elif section in ("KEYWORDS", "OPTIONS"):
                if tagged and line.startswith("."):
                    entries.append(line.split()[1])
                tagged = line.startswith(".TP")
    return entries


def main():
    keywords = [written(text, takes_value) for text, takes_value in grammar_keywords()]
    if sys.argv[1:] == ["--list"]:
        print("\n".join(keywords))
        return 0
    lists = {"completion/datora.bash, the words offered after file1": completion_offer(),
             "docs/datora.1, the entries under KEYWORDS and OPTIONS": page_entries()}
    failures = 0
    for where, found in lists.items():
        for keyword in keywords:
            if keyword not in found:
                failures += 1
                print(f"FAIL: {where}: lacks the keyword {keyword}")
        for word in found:
            if word not in keywords:
                failures += 1
                print(f"FAIL: {where}: has {word}, which cli/grammar.cpp's Keywords[] lacks")
    print(f"{len(keywords)} keywords in cli/grammar.cpp, {len(lists)} lists compared, "
          f"{failures} differences")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
