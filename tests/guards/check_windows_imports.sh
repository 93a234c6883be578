#!/usr/bin/env bash
# Guards the Windows executable's footprint: once stripped it stays within
# 128 KiB and imports only KERNEL32 and msvcrt, which every Windows ships:
# no C++ runtime, libgcc or winpthread DLL has to travel with it, and no
# USER32, whose load alone makes every start and exit of the process dearer.
# It also loads at a random address and keeps data out of execution
# (DYNAMIC_BASE, NX_COMPAT, and HIGH_ENTROPY_VA for the 64-bit build).
#
#   check_windows_imports.sh PATH/TO/datora.exe [TOOL_PREFIX]
#
# TOOL_PREFIX names the mingw-w64 binutils of the executable's architecture
# (default x86_64-w64-mingw32; i686-w64-mingw32 for the 32-bit build).
set -euo pipefail

exe=${1:?usage: check_windows_imports.sh PATH/TO/datora.exe [TOOL_PREFIX]}
tools=${2:-x86_64-w64-mingw32}
max_bytes=$((128 * 1024))
# shellcheck source=SCRIPTDIR/../test_lib.sh
source "$(dirname "$0")/../test_lib.sh"

if [ ! -f "$exe" ]; then
  fatal "$exe does not exist (build the windows preset first)"
fi

make_work_dir
cp "$exe" "$work/datora.exe"
"$tools-strip" "$work/datora.exe"

size=$(stat -c %s "$work/datora.exe")
if [ "$size" -le "$max_bytes" ]; then
  pass "stripped size $size bytes (at most $max_bytes)"
else
  fail "stripped size $size bytes exceeds $max_bytes"
fi

headers=$("$tools-objdump" -p "$work/datora.exe")
dlls=$(awk '/DLL Name:/ {print $3}' <<<"$headers")
if [ -z "$dlls" ]; then
  fail "objdump lists no imported DLL; is this a PE executable?"
fi
for dll in $dlls; do
  case "${dll,,}" in
    kernel32.dll | msvcrt.dll) pass "imports $dll" ;;
    *) fail "imports $dll (only KERNEL32.dll and msvcrt.dll are allowed)" ;;
  esac
done

wanted="DYNAMIC_BASE NX_COMPAT"
grep -q 'PE32+' <<<"$headers" && wanted+=" HIGH_ENTROPY_VA"
for flag in $wanted; do
  if grep -Eq "^\s+$flag\$" <<<"$headers"; then
    pass "$flag"
  else
    fail "no $flag in the DLL characteristics"
  fi
done

finish
