#!/usr/bin/env bash
# Builds velt-converter-VERSION-x64.msi with wixl from the Windows build (scripts/test-windows.sh
# or cmake with cmake/mingw-w64-x86_64.cmake); the version is the build's.
#
#     installer/build-msi.sh [BUILD] [VERSION]   (default build/win and the build's version;
#                                                 the package goes into BUILD)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=$(cd "${1:-build/win}" && pwd)
version=${2:-$(cat "$build/velt-version.txt")}
scripts/install-deps.sh wixl
msi=velt-converter-$version-x64.msi
# wixl takes the files' paths relative to where it runs.
docs=$(realpath --relative-to="$build" "$root/docs")
(cd "$build" && wixl -a x64 -D Version="$version" -D Build=. -D Docs="$docs" -o "$msi" \
    "$root/installer/velt-converter.wxs" 2>/dev/null)
echo "$build/$msi"
