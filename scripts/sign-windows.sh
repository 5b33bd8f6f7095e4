#!/usr/bin/env bash
# Signs Windows programs, setup files and MSI packages with osslsigncode, in place, when a
# code-signing certificate is given; without one, says so in one line and signs nothing.
#
#     scripts/sign-windows.sh FILE ...
#
#     VELT_SIGN_PKCS12     the certificate and its private key, a PKCS#12 (.p12/.pfx) file
#     VELT_SIGN_PASSWORD   its password
#     VELT_SIGN_TIMESTAMP  a time-stamping server's URL (RFC 3161); none: no time stamp
set -euo pipefail
if [ -z "${VELT_SIGN_PKCS12:-}" ]; then
    echo "Nothing is signed: no code-signing certificate (VELT_SIGN_PKCS12 is not set)."
    exit 0
fi
if [ ! -r "$VELT_SIGN_PKCS12" ]; then
    echo "sign-windows.sh: cannot read the certificate $VELT_SIGN_PKCS12" >&2
    exit 1
fi
command -v osslsigncode >/dev/null || "$(dirname "$0")/install-deps.sh" osslsigncode
timestamp=()
[ -n "${VELT_SIGN_TIMESTAMP:-}" ] && timestamp=(-ts "$VELT_SIGN_TIMESTAMP")
for file in "$@"; do
    signed=$file.signing
    rm -f "$signed"
    # The password through a pipe, never on a command line.
    if ! osslsigncode sign -pkcs12 "$VELT_SIGN_PKCS12" \
            -readpass <(printf '%s' "${VELT_SIGN_PASSWORD:-}") -h sha256 \
            -n "VELT Database Media Converter" "${timestamp[@]}" \
            -in "$file" -out "$signed" >"$signed.log" 2>&1; then
        cat "$signed.log" >&2
        rm -f "$signed" "$signed.log"
        echo "sign-windows.sh: $file could not be signed" >&2
        exit 1
    fi
    rm -f "$signed.log"
    mv "$signed" "$file"
    echo "Signed $file"
done
