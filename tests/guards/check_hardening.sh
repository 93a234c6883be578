#!/usr/bin/env bash
# Is the Linux binary hardened? A static-pie (type DYN, no interpreter),
# read-only relocations, a stack that cannot execute, stack-protector
# checks in Datora's own code, and Debian's hardening-check on the rest.
# hardening-check cannot see the stack protector of a static binary (the
# binary defines __stack_chk_fail itself), and Debian 12's static start
# files carry no control-flow notes, so those two of its checks are off.
#
# On arm64, RunDatora must also sign its return address and mark its entry
# as a branch target (-mbranch-protection).
#
#   check_hardening.sh PATH/TO/datora   (the unstripped build output)
set -uo pipefail
binary=${1:?usage: check_hardening.sh PATH/TO/datora}
failures=0
expect() {  # expect DESCRIPTION COMMAND...: counts a failure when COMMAND fails
  local what=$1
  shift
  if "$@" >/dev/null; then echo "ok: $what"; else echo "FAIL: $what"; failures=$((failures + 1)); fi
}

header=$(readelf -hW "$binary")
objdump=objdump
call=call
if grep -q 'Machine: *AArch64' <<<"$header"; then
  objdump=aarch64-linux-gnu-objdump
  call=bl
fi
run_datora=$("$objdump" -d --no-show-raw-insn "$binary" |
  awk '/^[0-9a-f]+ <.*>:$/ {f = ($2 ~ /RunDatora/)} f')
segments=$(readelf -lW "$binary")
expect "position-independent (type DYN)" grep -q 'Type: *DYN' <<<"$header"
expect "no program interpreter (static)" eval '! grep -q INTERP <<<"$segments"'
expect "GNU_RELRO segment" grep -q GNU_RELRO <<<"$segments"
expect "GNU_STACK not executable" grep -Eq 'GNU_STACK( +[^ ]+){5} +RW ' <<<"$segments"
expect "__stack_chk_fail defined" grep -Eq 'FUNC +GLOBAL +DEFAULT +[0-9]+ __stack_chk_fail$' \
  < <(readelf -sW "$binary")
# Called from RunDatora, so Datora's own code carries the checks, not
# only the C library's.
expect "RunDatora checks its stack" grep -Eq "$call"'\s.*<__stack_chk_fail>' <<<"$run_datora"
if [ "$call" = bl ]; then
  expect "RunDatora signs its return address" grep -Eq 'paciasp' <<<"$run_datora"
  expect "RunDatora is a branch target" grep -Eq 'bti' <<<"$run_datora"
fi
expect "hardening-check" hardening-check --nostackprotector --nocfprotection "$binary"

[ "$failures" -eq 0 ]
