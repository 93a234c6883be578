#!/usr/bin/env bash
# Does docs/datora.1 render without warnings (groff, man, mandoc -T lint),
# and does the rendered page cover every keyword, option, expression form
# and exit code?
set -uo pipefail
page=${1:-$(dirname "$0")/../../docs/datora.1}
passed=0
failed=0
pass() { passed=$((passed + 1)); }
fail() { failed=$((failed + 1)); echo "FAIL: $*"; }

# The warning check must see a broken page as broken.
broken=$(printf '.TH X 1\n.SH NAME\n.BOGUS macro\n\\fQ\n' | groff -man -ww -z 2>&1)
[ -n "$broken" ] && pass || fail "groff -ww reported nothing for a broken page"

warnings=$(groff -man -ww -z "$page" 2>&1)
[ -z "$warnings" ] && pass || fail "groff warnings: $warnings"
lint=$(mandoc -T lint "$page" 2>&1)
[ -z "$lint" ] && pass || fail "mandoc -T lint: $lint"

rendered=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>"${TMPDIR:-/tmp}/datora-man.$$")
man_warnings=$(cat "${TMPDIR:-/tmp}/datora-man.$$"); rm -f "${TMPDIR:-/tmp}/datora-man.$$"
[ -z "$man_warnings" ] && pass || fail "man warnings: $man_warnings"
[ -n "$rendered" ] && pass || fail "man rendered nothing"

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
  if grep -qiF -- "$word" <<<"$text"; then pass; else fail "the page never mentions '$word'"; fi
done

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
