#!/usr/bin/env bash
# Does the bash completion offer the right words at each place?
set -uo pipefail
script=${1:-$(dirname "$0")/../../completion/datora.bash}
# shellcheck source=/dev/null
source "$script"
passed=0
failed=0

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
touch this.zip that.zip todo.txt today.txt nowhere.log NOW.txt

# offered EXPECTED WORD...: completes the last WORD and compares the sorted offer.
offered() {
  local expected=$1
  shift
  COMP_WORDS=(datora "$@")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMPREPLY=()
  _datora
  local got
  got=$(printf '%s\n' "${COMPREPLY[@]}" | sort | tr '\n' ' ')
  expected=$(printf '%s\n' $expected | sort | tr '\n' ' ')
  if [ "$got" = "$expected" ]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAIL: datora $* <tab>: offered '$got', expected '$expected'"
  fi
}

[ "$(complete -p datora 2>/dev/null)" = "complete -o filenames -F _datora datora" ] &&
  passed=$((passed + 1)) || { failed=$((failed + 1)); echo "FAIL: no completion for datora"; }

offered "this.zip that.zip" th
offered "created modified accessed before after sametime not /datelocal /dateutc /debug" this.zip ""
offered "before" this.zip BEF
offered "after accessed" this.zip a
offered "/datelocal /dateutc /debug" this.zip /d
offered "/dateutc" this.zip /DateU
# No second operand before a relation keyword.
offered "" this.zip th
# Names that would read as expressions come with a path.
offered "today today- ./today.txt todo.txt" this.zip before to
offered "now now- not ./nowhere.log" this.zip created not after n
offered "now now- not ./NOW.txt" this.zip after N
# A relation named twice cancels: no operand until one is named again.
offered "" this.zip before before th
offered "this.zip that.zip" this.zip before BEFORE after th
offered "this.zip that.zip" this.zip sametime th
offered "today today-" this.zip AFTER TOD
offered "created" this.zip before that.zip cr

# A lone today- or now- waits for its count: no space after it.
COMP_WORDS=(datora this.zip before now-); COMP_CWORD=3; COMPREPLY=(); _datora
[ "${COMPREPLY[*]}" = "now-" ] && passed=$((passed + 1)) ||
  { failed=$((failed + 1)); echo "FAIL: now- offered '${COMPREPLY[*]}'"; }

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
