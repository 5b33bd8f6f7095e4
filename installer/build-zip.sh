#!/usr/bin/env bash
# Builds the portable package, velt-converter-VERSION-x64-portable.zip, from the Windows build
# (scripts/test-windows.sh or cmake with cmake/mingw-w64-x86_64.cmake): one folder with both
# programs, the guide as a web page with its pictures, and the licence. Unpacked anywhere, the
# programs run from there without being installed; logs and the state folder go to
# %LOCALAPPDATA% as when installed.
#
#     installer/build-zip.sh [BUILD]     (default build/win; the zip file goes there and its
#                                         path is the last line written)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=$(cd "${1:-build/win}" && pwd)
scripts/install-deps.sh zip
version=$(cat "$build/velt-version.txt")
folder=velt-converter-$version
zip=$build/velt-converter-$version-x64-portable.zip
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
mkdir -p "$stage/$folder"
cp "$build/velt-converter.exe" "$build/velt-headless.exe" "$build/doc/guide.html" "$stage/$folder/"
cp -r "$build/doc/guide" "$stage/$folder/"
# The licence with Windows line ends, for Notepad.
sed 's/$/\r/' "$root/packaging/copyright" > "$stage/$folder/LICENCE.txt"
rm -f "$zip"
# Entries in a fixed order with no extra file attributes: the same build gives the same bytes.
(cd "$stage" && find "$folder" -exec touch -d "@$(stat -c %Y "$build/velt-converter.exe")" {} + &&
    find "$folder" | LC_ALL=C sort | zip -q -X -D "$zip" -@)
echo "$zip"
