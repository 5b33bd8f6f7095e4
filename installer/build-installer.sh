#!/usr/bin/env bash
# Builds velt-converter-setup.exe with NSIS from the Windows build (scripts/test-windows.sh or
# cmake with cmake/mingw-w64-x86_64.cmake).
#
#     installer/build-installer.sh [BUILD]     (default build/win; the setup file goes there)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(cd "${1:-build/win}" && pwd)
scripts/install-deps.sh nsis
version=$(cat "$build/velt-version.txt")
makensis -V2 -DBUILD="$build" -DOUT="$build/velt-converter-setup.exe" -DVERSION="$version" \
    installer/velt-converter.nsi
echo "$build/velt-converter-setup.exe"
