#!/usr/bin/env bash
# The portable zip: whole, holding exactly both programs as built, the guide with its pictures
# and the licence in one folder; unpacked under Wine, its programs run from there.
#
#     portable_check.sh PACKAGE-portable.zip   (VELT_WINE: the wine to start the programs with;
#                                               the zip's build folder holds what it was made of)
set -euo pipefail
zip=${1:?}
wine=${VELT_WINE:-wine}
fail() {
    echo "portable: $*" >&2
    exit 1
}
[ -f "$zip" ] || fail "no $zip: build it with installer/build-zip.sh"
build=$(cd "$(dirname "$zip")" && pwd)
version=$(cat "$build/velt-version.txt")
unzip -tq "$zip" >/dev/null || fail "the zip file is damaged"

expected=$( (printf '%s\n' velt-converter.exe velt-headless.exe LICENCE.txt &&
    cd "$build/doc" && find . -type f | sed 's|^\./||') | sed "s|^|velt-converter-$version/|" | sort)
listed=$(unzip -Z1 "$zip" | grep -v '/$' | sort)
diff <(echo "$expected") <(echo "$listed") >&2 || fail "the zip does not hold what it should"

# Unpacked on drive C:, as a technician unpacks it into a folder of their own.
unix=$(winepath -u 'C:\velt-portable-check' 2>/dev/null)
rm -rf "$unix" && mkdir -p "$unix"
trap 'rm -rf "$unix"' EXIT
unzip -q "$zip" -d "$unix"
here=$unix/velt-converter-$version
for file in velt-converter.exe velt-headless.exe; do
    cmp -s "$here/$file" "$build/$file" || fail "$file differs from the build's"
done
cmp -s "$here/guide.html" "$build/doc/guide.html" || fail "guide.html differs from the build's"
grep -q 'Halvex Networks' "$here/LICENCE.txt" || fail "LICENCE.txt does not name the maker"
out=$("$wine" "$(winepath -w "$here/velt-headless.exe" 2>/dev/null)" --version 2>/dev/null | tr -d '\r')
[ "$out" = "velt-headless $version" ] || fail "the unpacked velt-headless.exe answers '$out'"
echo "portable: $(basename "$zip") holds both programs, the guide and the licence, and runs unpacked"
