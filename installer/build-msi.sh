#!/usr/bin/env bash
# Builds an MSI package with wixl from the Windows build (scripts/test-windows.sh or cmake with
# cmake/mingw-w64-x86_64.cmake); the version is the build's.
#
#     installer/build-msi.sh [BUILD] [VERSION] [SCOPE]
#
# BUILD defaults to build/win, VERSION to the build's. SCOPE perMachine (the default) makes
# velt-converter-VERSION-x64.msi, for every user under Program Files; perUser makes
# velt-converter-VERSION-x64-user.msi, for the user who installs it, without administrator
# rights. The package goes into BUILD; its path is the last line written.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=$(cd "${1:-build/win}" && pwd)
version=${2:-$(cat "$build/velt-version.txt")}
scope=${3:-perMachine}
case "$scope" in
    perMachine) msi=velt-converter-$version-x64.msi ;;
    perUser) msi=velt-converter-$version-x64-user.msi ;;
    *) echo "build-msi.sh: SCOPE is perMachine or perUser, not $scope" >&2; exit 2 ;;
esac
scripts/install-deps.sh wixl
# wixl takes the files' paths relative to where it runs, and the included file from beside the
# package's source.
(cd "$build" && wixl -a x64 -D Version="$version" -D Build=. -D Scope="$scope" -o "$msi" \
    "$root/installer/velt-converter.wxs" 2>/dev/null)
echo "$build/$msi"
