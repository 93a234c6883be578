#!/usr/bin/env bash
# Does Debian's lintian accept the .deb? Makes it with CPack from the Linux
# build tree and fails on any error, warning or information tag lintian
# raises that the package does not override, and on an override that
# matches nothing (lintian's unused-override).
#
#   lintian_test.sh BUILD_DIR
set -uo pipefail
build=${1:?usage: lintian_test.sh BUILD_DIR}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; echo "FAIL: cpack could not make the .deb"; exit 1; }
if lintian --fail-on error,warning,info --display-info "$work"/*.deb; then
  echo "lintian: no tags"
else
  echo "FAIL: lintian tags above"
  exit 1
fi
