#!/usr/bin/env bash
# Does the .rpm of a musl release build pass rpmlint, hold what the .deb
# holds, say the right things of itself, and install into an empty root
# where the binary answers the end-to-end table's usage and grammar rows
# and man reads the page?
#
#   rpm_test.sh BUILD_DIR ARCH VERSION [EMULATOR]
#   e.g. build/musl-arm64 aarch64 VERSION qemu-aarch64-static, VERSION being
#   the one in the project() call of CMakeLists.txt
set -uo pipefail
build=${1:?usage: rpm_test.sh BUILD_DIR ARCH VERSION [EMULATOR]}
arch=${2:?usage: rpm_test.sh BUILD_DIR ARCH VERSION [EMULATOR]}
version=${3:?usage: rpm_test.sh BUILD_DIR ARCH VERSION [EMULATOR]}
emulator=${4-}
source=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0
failed=0
pass() { passed=$((passed + 1)); }
fail() { failed=$((failed + 1)); echo "FAIL: $*"; }

package=$work/datora-$version-1.$arch.rpm
if ! cpack --config "$build/CPackConfig.cmake" -G RPM -B "$work" >"$work/cpack.log" 2>&1 ||
  [ ! -f "$package" ]; then
  cat "$work/cpack.log"
  echo "FAIL: cpack made no $(basename "$package")"
  exit 1
fi

rpmlint -c "$source/packaging/rpmlint.toml" -r "$source/packaging/datora.rpmlintrc" "$package" \
  >"$work/rpmlint.log" 2>&1
verdict=$(tail -n 1 "$work/rpmlint.log")
echo "rpmlint: $verdict"
if [[ $verdict == *" 0 errors, 0 warnings,"* ]]; then pass; else cat "$work/rpmlint.log"; fail rpmlint; fi

files=$(rpm -qpl "$package")
expected="/usr/bin/datora
/usr/share/bash-completion/completions/datora
/usr/share/doc/datora
/usr/share/doc/datora/LICENSE
/usr/share/doc/datora/README.md
/usr/share/doc/datora/changelog.gz
/usr/share/doc/datora/copyright
/usr/share/man/man1/datora.1.gz"
[ "$files" = "$expected" ] && pass || fail "the package holds: $files"
# A static binary needs nothing but rpm itself.
requires=$(rpm -qpR "$package" | grep -v '^rpmlib(')
[ -z "$requires" ] && pass || fail "the package requires: $requires"
info=$(rpm -qpi "$package")
for field in "Name *: datora" "Version *: $version" "Release *: 1" "Architecture: $arch" \
  "License *: MIT" "Summary *: Compares file time stamps for batch scripts" \
  "URL *: https://datora.invalid/" "Build Host *: localhost"; do
  grep -qx "$field" <<<"$info" && pass || fail "rpm -qpi lacks '$field'"
done

root=$work/root
mkdir "$root"
foreign=()
[ "$arch" = "$(uname -m)" ] || foreign=(--ignorearch)
# Debian's rpm warns on standard error that it is not Debian's installer.
if rpm --root "$root" --initdb && rpm --root "$root" -i --nodeps "${foreign[@]}" "$package" \
  2>"$work/rpm.log"; then
  pass
else
  cat "$work/rpm.log"
  fail "rpm could not install the package into $root"
fi
runner=()
[ -n "$emulator" ] && runner=(--emulator "$emulator")
if python3 "$source/tests/e2e/run_e2e.py" --binary "$root/usr/bin/datora" "${runner[@]}" \
  -k usage_and_grammar >"$work/e2e.log" 2>&1 && grep -q '^Ran 1 test' "$work/e2e.log"; then
  pass
else
  cat "$work/e2e.log"
  fail "the installed datora fails the usage and grammar rows"
fi
page=$(MANWIDTH=80 man -l "$root/usr/share/man/man1/datora.1.gz" 2>&1)
grep -q "^NAME" <<<"$page" && pass || fail "man -l read no page: ${page:0:200}"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
