#!/usr/bin/env bash
# Is the Linux binary hardened (glibc or musl)? A static-pie (type DYN, no
# interpreter), read-only relocations, a stack that cannot execute,
# stack-protector checks in Datora's own code, control-flow protection at
# RunDatora's entry, and Debian's hardening-check on the rest.
#
# On x86_64 RunDatora must begin with endbr64 (-fcf-protection); on arm64
# it must sign its return address and begin with a branch-target landing
# pad: bti c, or paciasp, which serves as one (clang emits the latter).
#
#   check_hardening.sh PATH/TO/datora   (the unstripped build output)
set -uo pipefail
binary=${1:?usage: check_hardening.sh PATH/TO/datora}
# shellcheck source=SCRIPTDIR/../test_lib.sh
source "$(dirname "$0")/../test_lib.sh"

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
check "position-independent (type DYN)" grep -q 'Type: *DYN' <<<"$header"
check "no program interpreter (static)" eval '! grep -q INTERP <<<"$segments"'
check "GNU_RELRO segment" grep -q GNU_RELRO <<<"$segments"
check "GNU_STACK not executable" grep -Eq 'GNU_STACK( +[^ ]+){5} +RW ' <<<"$segments"
check "__stack_chk_fail defined" grep -Eq 'FUNC +GLOBAL +DEFAULT +[0-9]+ __stack_chk_fail$' \
  < <(readelf -sW "$binary")
# Called from RunDatora, so Datora's own code carries the checks, not
# only the C library's.
check "RunDatora checks its stack" grep -Eq "$call"'\s.*<__stack_chk_fail>' <<<"$run_datora"
first=$(sed -n '2s/^ *[0-9a-f]*:\s*//p' <<<"$run_datora")
if [ "$call" = bl ]; then
  check "RunDatora signs its return address" grep -Eq 'paciasp' <<<"$run_datora"
  check "RunDatora is a branch target (bti c or paciasp first)" \
    grep -Eqx '(bti\s+c|paciasp)\s*' <<<"$first"
else
  check "RunDatora is a branch target (endbr64 first)" grep -Eqx 'endbr64\s*' <<<"$first"
fi
# hardening-check, less the checks that cannot see a static binary's state:
skipped=(
  # It looks for __stack_chk_fail as an imported symbol; a static binary
  # defines it itself (checked above, and RunDatora's call to it).
  --nostackprotector
  # It wants the control-flow property note in the binary, which the linker
  # keeps only if every object has it; the static start files of glibc 2.36
  # and musl 1.2.3 carry none (RunDatora's landing pad is checked above).
  --nocfprotection
)
check "hardening-check" hardening-check "${skipped[@]}" "$binary"

finish
