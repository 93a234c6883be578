#!/usr/bin/env bash
# Does a certificate given to the Windows package sign the datora.exe in
# the .zip (after CPack's strip), the same bytes twice for one
# SOURCE_DATE_EPOCH, and does the default package stay unsigned?
#
#   signing_test.sh PATH/TO/WINDOWS/BUILD/TREE
set -euo pipefail

build=${1:?usage: signing_test.sh PATH/TO/WINDOWS/BUILD/TREE}
# shellcheck source=SCRIPTDIR/../test_lib.sh
source "$(dirname "$0")/../test_lib.sh"
make_work_dir

# A throwaway self-signed certificate, trusted by nothing but this test.
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Datora test signing" \
  -addext extendedKeyUsage=codeSigning -keyout "$work/key.pem" -out "$work/cert.pem" 2>/dev/null

# pack NAME [CPACK OPTION...]: packs the .zip and unpacks it into $work/NAME.
pack() {
  local name=$1
  shift
  SOURCE_DATE_EPOCH=1765000000 cpack --config "$build/CPackConfig.cmake" -B "$work/$name" "$@" \
    >"$work/$name.log" || { cat "$work/$name.log"; fatal "cpack could not make the $name package"; }
  (cd "$work/$name" && cmake -E tar xf ./*.zip)
}
pack unsigned
pack first -D "CPACK_DATORA_SIGN_CERT=$work/cert.pem" -D "CPACK_DATORA_SIGN_KEY=$work/key.pem"
pack second -D "CPACK_DATORA_SIGN_CERT=$work/cert.pem" -D "CPACK_DATORA_SIGN_KEY=$work/key.pem"
exe() { echo "$work/$1"/*/datora.exe; }

check "the packed datora.exe verifies against the certificate" \
  osslsigncode verify -CAfile "$work/cert.pem" -in "$(exe first)"
check "one SOURCE_DATE_EPOCH signs to the same bytes" cmp "$(exe first)" "$(exe second)"
no_signature() { ! osslsigncode extract-signature -in "$1" -out "$work/none.sig"; }
check "without a certificate datora.exe has no signature" no_signature "$(exe unsigned)"

finish
