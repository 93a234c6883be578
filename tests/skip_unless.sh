#!/usr/bin/env bash
# Runs a test only when what it needs is there. Otherwise it prints why and
# ends with 77, which ctest reports as skipped (SKIP_RETURN_CODE): a missing
# Windows build or tool is neither a pass nor a failure.
#
#   skip_unless.sh [file PATH | program NAME | runs PROGRAM]... -- COMMAND [ARG]...
#
# "runs" asks more than "program": that `PROGRAM --version` starts at all
# (an installed 32-bit Wine does not where the kernel runs no 32-bit code).

# shellcheck source=SCRIPTDIR/test_lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/test_lib.sh"
while [ $# -gt 1 ] && [ "$1" != -- ]; do
  case $1 in
    file) [ -e "$2" ] || skip "$2 does not exist (not built)" ;;
    program) command -v "$2" >/dev/null || skip "$2 is not installed" ;;
    runs)
      if ! failure=$("$2" --version 2>&1 >/dev/null); then
        skip "$2 does not run on this machine: ${failure:-no reason given}"
      fi
      ;;
    *) echo "skip_unless.sh: unknown need '$1'"; exit 2 ;;
  esac
  shift 2
done
[ "${1-}" = -- ] || { echo "skip_unless.sh: no -- before the command"; exit 2; }
shift
exec "$@"
