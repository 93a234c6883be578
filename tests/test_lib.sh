# shellcheck shell=bash
# Sourced by the shell tests, so that each reports its checks the same way:
# one line per check, a summary line, and an exit code that ctest reads.
#
#   pass DESCRIPTION             a check that held: "ok: DESCRIPTION"
#   fail DESCRIPTION             a check that did not: "FAIL: DESCRIPTION"
#   check DESCRIPTION COMMAND... pass when COMMAND succeeds; otherwise fail
#                                and show what COMMAND printed
#   skip REASON                  "SKIPPED: REASON", then exit 77, which
#                                tests/CMakeLists.txt registers as
#                                SKIP_RETURN_CODE: neither pass nor failure
#   finish                       "N passed, M failed"; exit 0 when every
#                                check held, 1 when one failed or none ran
#   fatal DESCRIPTION            fail, then finish: nothing after it can be
#                                checked
#   make_work_dir                sets $work to a new folder, removed on exit
#
# Each function returns 0, so a test may run under set -e.

test_passed=0
test_failed=0
readonly test_skip_code=77

pass() {
  test_passed=$((test_passed + 1))
  echo "ok: $*"
}

fail() {
  test_failed=$((test_failed + 1))
  echo "FAIL: $*"
}

check() {
  local what=$1 output
  shift
  if output=$("$@" 2>&1); then
    pass "$what"
  else
    fail "$what"
    [ -z "$output" ] || printf '%s\n' "$output"
  fi
}

skip() {
  echo "SKIPPED: $*"
  exit "$test_skip_code"
}

finish() {
  echo "$test_passed passed, $test_failed failed"
  if [ "$test_failed" -gt 0 ]; then
    exit 1
  fi
  if [ "$test_passed" -eq 0 ]; then
    echo "FAIL: no check ran"
    exit 1
  fi
  exit 0
}

fatal() {
  fail "$@"
  finish
}

make_work_dir() {
  work=$(mktemp -d)
  # shellcheck disable=SC2064  # the folder's name is fixed now
  trap "rm -rf '$work'" EXIT
}
