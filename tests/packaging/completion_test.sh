#!/usr/bin/env bash
# Does the bash completion offer the right words at each place?
set -uo pipefail
script=$(realpath "${1:-$(dirname "$0")/../../completion/datora.bash}")
# shellcheck source=SCRIPTDIR/../test_lib.sh
source "$(dirname "$0")/../test_lib.sh"
# shellcheck source=/dev/null
source "$script"

make_work_dir
cd "$work" || exit 1
mkdir year=2024
touch this.zip that.zip todo.txt today.txt nowhere.log NOW.txt backup-10:30.log \
  year=2024/month=01.csv user@host.txt date:x.log oldest:x.log

# No offer at all reads "", one empty word " ".
sorted() { (($#)) && printf '%s\n' "$@" | sort | tr '\n' ' '; }

# offered EXPECTED WORD...: completes the last WORD and compares the sorted offer.
# Each WORD reaches the function in pieces, as bash splits it at ":", "="
# and "@".
offered() {
  local expected=$1 word pieces
  shift
  COMP_WORDS=(datora)
  for word in "$@"; do
    pieces=()
    while [[ $word =~ ^([^:=@]*)([:=@]+)(.*)$ ]]; do
      pieces+=(${BASH_REMATCH[1]:+"${BASH_REMATCH[1]}"} "${BASH_REMATCH[2]}")
      word=${BASH_REMATCH[3]}
    done
    [[ -n $word || ${#pieces[@]} -eq 0 ]] && pieces+=("$word")
    COMP_WORDS+=("${pieces[@]}")
  done
  COMP_LINE="datora $*"
  COMP_POINT=${#COMP_LINE}
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMPREPLY=()
  _datora
  local got
  got=$(sorted "${COMPREPLY[@]}")
  expected=$(sorted $expected)
  if [ "$got" = "$expected" ]; then
    pass "datora $* <tab>: offered '$got'"
  else
    fail "datora $* <tab>: offered '$got', expected '$expected'"
  fi
}

check "a completion for datora" \
  test "$(complete -p datora 2>/dev/null)" = "complete -o filenames -F _datora datora"

offered "this.zip that.zip" th
offered "created modified accessed changed before after sametime not /datelocal /dateutc /debug /dst /tolerance: /s" \
  this.zip ""
# Only the piece after the last ":", "=" or "@" is replaced.
offered "30.log" backup-10:3
offered "2024/month=01.csv" year=2024/mon
offered "2024" year=
offered "@host.txt" this.zip before user@h
offered "/tolerance:" this.zip /TOL
offered "" this.zip /tolerance:
offered "before" this.zip BEF
offered "after accessed" this.zip a
offered "/datelocal /dateutc /debug /dst" this.zip /d
offered "/dateutc" this.zip /DateU
offered "/s" this.zip /S
# No second operand before a relation keyword.
offered "" this.zip th
# Names that would read as expressions come with a path.
offered "today today- ./today.txt todo.txt" this.zip before to
offered "now now- newest: not ./nowhere.log" this.zip created not after n
offered "now now- newest: not ./NOW.txt" this.zip after N
offered "date: ./date:x.log" this.zip before d
offered "oldest: ./oldest:x.log" this.zip after o
# A set, first or second: the prefix, then the files and folders after it.
offered "newest:" NEW
offered "oldest: ./oldest:x.log" o
offered "this.zip that.zip" newest:th
offered "year=2024" OLDEST:ye
offered "2024" this.zip before oldest:year=
offered "newest:" this.zip sametime NEWE
# No set before a relation keyword.
offered "" this.zip new
# A relation named twice cancels: no operand until one is named again.
offered "" this.zip before before th
offered "this.zip that.zip" this.zip before BEFORE after th
offered "this.zip that.zip" this.zip sametime th
offered "today today-" this.zip AFTER TOD
offered "created" this.zip before that.zip cr

# A lone today- or now- waits for its count: no space after it.
offered "now-" this.zip before now-

# In a real interactive bash, the command receives each whole name once.
received=$(printf 'source %q; datora() { printf "<%%s>" "$@"; echo; }\n%s\n%s\n%s\nexit\n' "$script" \
  $'datora year=2024/mon\t' $'datora this.zip before user@h\t' $'datora NEW\tyear\t' |
  INPUTRC=/dev/null timeout 20 script -qc 'bash --norc --noprofile -i' /dev/null |
  tr -d '\r' | grep -o '<.*>$' | tr '\n' ' ')
expected="<year=2024/month=01.csv> <this.zip><before><user@host.txt> <newest:year=2024/> "
if [ "$received" = "$expected" ]; then
  pass "in bash, datora receives $received"
else
  fail "in bash, '$received' instead of '$expected'"
fi

finish
