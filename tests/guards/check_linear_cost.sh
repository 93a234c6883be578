#!/usr/bin/env bash
# Guards against work that grows faster than the parameter list: the
# instructions of `PROGRAM a before` followed by 200,000 one-character
# parameters (about 400 KB) stay within 15 times those with 20,000. Ten
# times the parameters should cost about ten times the instructions; code
# that rescanned the list or the line from its start for every parameter
# would grow with the square of the count.
#
# PROGRAM is the Linux datora, whose parameters the kernel has split: this
# measures the grammar (guard.linear_grammar). Or it is
# windows_split_cost, which joins its arguments into a Windows command line
# and splits it with datora.exe's splitter (guard.linear_windows_split).
#
# Instruction counts from callgrind are deterministic, so this runs in CI
# without the flakiness of a timed test.
#
#   check_linear_cost.sh PROGRAM
set -euo pipefail

program=$(realpath "${1:?usage: check_linear_cost.sh PROGRAM}")
max_ratio=15
# shellcheck source=SCRIPTDIR/../test_lib.sh
source "$(dirname "$0")/../test_lib.sh"

if ! command -v valgrind >/dev/null; then
  fatal "valgrind is not installed (scripts/install-deps installs it)"
fi

make_work_dir

# 200,000 parameters take about 2 MB of argument space; the kernel allows a
# quarter of the stack limit, so raise it where the hard limit permits.
ulimit -s 65536 2>/dev/null || ulimit -s unlimited 2>/dev/null || true

instructions() {  # instructions PARAMETER_COUNT
  local parameters
  mapfile -t parameters < <(yes x | head -n "$1")
  rm -f "$work/callgrind.out"
  (cd "$work" && env -u TZ valgrind --tool=callgrind --callgrind-out-file="$work/callgrind.out" \
    "$program" a before "${parameters[@]}" >/dev/null 2>"$work/valgrind.log") || true
  awk '/^summary:/ {print $2; exit}' "$work/callgrind.out" 2>/dev/null || true
}

small=$(instructions 20000)
large=$(instructions 200000)
if [ -z "$small" ] || [ -z "$large" ]; then
  cat "$work/valgrind.log"
  fatal "callgrind gave no instruction count"
fi

ratio=$(awk -v a="$large" -v b="$small" 'BEGIN {printf "%.2f", a / b}')
echo "20,000 parameters: $small instructions"
echo "200,000 parameters: $large instructions"
if awk -v r="$ratio" -v m="$max_ratio" 'BEGIN {exit !(r <= m)}'; then
  pass "ratio $ratio (at most $max_ratio)"
else
  fail "ratio $ratio exceeds $max_ratio"
fi
finish
