#!/usr/bin/env bash
# Does docs/datora.1 render without warnings (groff, man, mandoc -T lint),
# and does the rendered page cover every keyword, option, expression form
# and exit code?
set -uo pipefail
page=${1:-$(dirname "$0")/../../docs/datora.1}
# shellcheck source=SCRIPTDIR/../test_lib.sh
source "$(dirname "$0")/../test_lib.sh"

# The warning check must see a broken page as broken.
broken=$(printf '.TH X 1\n.SH NAME\n.BOGUS macro\n\\fQ\n' | groff -man -ww -z 2>&1)
check "groff -ww reports a broken page" test -n "$broken"

warnings=$(groff -man -ww -z "$page" 2>&1)
if [ -z "$warnings" ]; then pass "groff: no warnings"; else fail "groff warnings: $warnings"; fi
lint=$(mandoc -T lint "$page" 2>&1)
if [ -z "$lint" ]; then pass "mandoc -T lint: clean"; else fail "mandoc -T lint: $lint"; fi

rendered=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>"${TMPDIR:-/tmp}/datora-man.$$")
man_warnings=$(cat "${TMPDIR:-/tmp}/datora-man.$$"); rm -f "${TMPDIR:-/tmp}/datora-man.$$"
if [ -z "$man_warnings" ]; then pass "man: no warnings"; else fail "man warnings: $man_warnings"; fi
check "man renders the page" test -n "$rendered"

# Rendered text, hyphenation undone, so words can be looked up whole.
text=$(printf '%s\n' "$rendered" | sed 's/\xe2\x80\x90$//; s/-$//' | tr -s ' \n' ' ')
# Every keyword of the grammar's table, as tests/consistency/keywords.py reads it.
mapfile -t keywords < <(python3 "$(dirname "$0")/../consistency/keywords.py" --list)
[ ${#keywords[@]} -gt 0 ] && pass || fail "no keywords read from cli/grammar.cpp"
for word in SYNOPSIS DESCRIPTION KEYWORDS OPTIONS "EXIT STATUS" "DEBUG REPORT" EXAMPLES \
    "LINUX BUILD" "${keywords[@]}" "today[-n]" "now[-n]" date: "Resp: true" "Resp: false" \
    "Diff:" seconds days \
    "Syntax error:" "Not found or invalid:" "Invalid date/time expression:" 255 \
    "birth time" UTF-16LE UTF-8 "symbolic link" "if ! datora"; do
  check "the page mentions '$word'" grep -qiF -- "$word" <<<"$text"
done
# Sets of files: both forms, their messages and their report line.
for word in "SETS OF FILES" newest: oldest: "No files in:" "Cannot read:" "File1:" "(not all read)"; do
  if grep -qiF -- "$word" <<<"$text"; then pass; else fail "the page never mentions '$word'"; fi
done

finish
