#!/usr/bin/env bash
# The signing step with a throw-away self-signed certificate made here: every file given is
# signed, and osslsigncode finds each signature valid (against that certificate) while the
# system does not trust its root; a file changed after signing fails. Without a certificate the
# step signs nothing and says so in one line.
#
#     signing_check.sh FILE ...       (the build's programs, setup file and MSI; copies are signed)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
sign=$here/../../scripts/sign-windows.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "signing: $*" >&2
    exit 1
}

openssl req -x509 -newkey rsa:2048 -nodes -keyout "$work/key.pem" -out "$work/cert.pem" \
    -days 2 -subj "/CN=VELT throw-away code signing" -addext extendedKeyUsage=codeSigning \
    2>/dev/null
openssl pkcs12 -export -inkey "$work/key.pem" -in "$work/cert.pem" -out "$work/cert.p12" \
    -passout pass:throw-away

copies=()
for file in "$@"; do
    [ -f "$file" ] || fail "no $file"
    cp "$file" "$work/"
    copies+=("$work/$(basename "$file")")
done

# No certificate: one line, nothing changed.
said=$(env -u VELT_SIGN_PKCS12 "$sign" "${copies[@]}")
[ "$(printf '%s\n' "$said" | wc -l)" -eq 1 ] || fail "more than one line without a certificate"
printf '%s\n' "$said" | grep -q "Nothing is signed" || fail "unsigned, but not said: $said"
originals=("$@")
for i in "${!copies[@]}"; do
    cmp -s "${copies[$i]}" "${originals[$i]}" ||
        fail "$(basename "${copies[$i]}") changed without a certificate"
done

VELT_SIGN_PKCS12=$work/cert.p12 VELT_SIGN_PASSWORD=throw-away "$sign" "${copies[@]}" >/dev/null
for copy in "${copies[@]}"; do
    name=$(basename "$copy")
    osslsigncode verify -CAfile "$work/cert.pem" -in "$copy" >"$work/ok.txt" 2>&1 ||
        { cat "$work/ok.txt" >&2; fail "$name: the signature is not valid"; }
    grep -q "Signature verification: ok" "$work/ok.txt" || fail "$name: no valid signature"
    if osslsigncode verify -in "$copy" >"$work/system.txt" 2>&1 &&
        grep -q "Signature verification: ok" "$work/system.txt"; then
        fail "$name: the throw-away certificate is trusted by the system"
    fi
    grep -q "self-signed certificate" "$work/system.txt" ||
        fail "$name: not refused for its untrusted root"
    # A byte changed after signing breaks the signature (of a program: an MSI's digest covers
    # its streams, not every byte of the file).
    case $name in *.exe) ;; *) echo "signing: $name signed, valid, untrusted root"; continue ;; esac
    cp "$copy" "$work/changed"
    size=$(stat -c %s "$copy")
    printf '\x5a' | dd of="$work/changed" bs=1 seek=$((size / 3)) conv=notrunc 2>/dev/null
    if osslsigncode verify -CAfile "$work/cert.pem" -in "$work/changed" >/dev/null 2>&1; then
        fail "$name: still valid after a change"
    fi
    echo "signing: $name signed, valid, untrusted root"
done
