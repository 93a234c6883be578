#!/usr/bin/env bash
# Does the README's backup example, run as written (only the mount point is
# a scratch folder), copy what changed and leave alone a copy that reads one
# hour off, as FAT shows it after a change of daylight saving? Without /dst
# the same lines must copy it. The manual page must give the same example.
#   backup_example_test.sh DATORA README PAGE
set -uo pipefail
binary=$(realpath "$1") readme=$2 page=$3
# shellcheck source=SCRIPTDIR/../test_lib.sh
source "$(dirname "$0")/../test_lib.sh"

example=$(awk '/^```sh$/ { block = ""; inside = 1; next }
               /^```$/ { if (inside && block ~ /\/dst/) printf "%s", block; inside = 0; next }
               inside { block = block $0 "\n" }' "$readme")
check "the README has an sh example with /dst" [ -n "$example" ]
unescaped=$(sed 's/\\-/-/g' "$page")
while IFS= read -r line; do
  check "the manual page gives: $line" grep -qF -- "$line" <<<"$unescaped"
done <<<"$example"

make_work_dir
cd "$work" || exit 1
mkdir usb
backup() {  # backup LINES: runs them with datora on PATH and the stick in ./usb
  (PATH=$(dirname "$binary"):$PATH && eval "${1//\/media\/usb/$work/usb}")
}
same_stamp() { [ "$(stat -c %y report.pdf)" = "$(stat -c %y usb/report.pdf)" ]; }

echo "first" >report.pdf
backup "$example" 2>/dev/null
check "a missing copy is copied" same_stamp
touch -r report.pdf -d '+1 hour' usb/report.pdf
backup "$example"
check "a copy one hour off is left alone with /dst" test "$(cat usb/report.pdf)" = first -a \
  "$(stat -c %Y usb/report.pdf)" -eq $(($(stat -c %Y report.pdf) + 3600))
backup "${example// \/dst/}"
check "a copy one hour off is copied again without /dst" same_stamp
echo "older original" >report.pdf
touch -d '2020-01-01 12:00' report.pdf
backup "$example"
check "an older original is copied over a newer copy" same_stamp

finish
