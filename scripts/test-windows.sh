#!/usr/bin/env bash
# Cross-builds the Windows programs with mingw-w64 and runs every test program under Wine.
#
#     scripts/test-windows.sh        (build folder: $VELT_WIN_BUILD, default build/win)
#
# Installs what is missing (as scripts/install-deps.sh does), keeps its Wine prefix in the
# build folder, and starts the Wine server detached so that it holds no output of the job open.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh g++-mingw-w64-x86-64 mingw-w64 wine wine64 googletest
build=${VELT_WIN_BUILD:-build/win}
cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
      -DCMAKE_BUILD_TYPE=Release -DVELT_WERROR=ON >/dev/null
cmake --build "$build" ${VELT_BUILD_JOBS:+-j"$VELT_BUILD_JOBS"}

export WINEPREFIX=${WINEPREFIX:-$(cd "$build" && pwd)/wineprefix}
export WINEDEBUG=-all
# No Mono or Gecko installer dialogs on the prefix's first start.
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1 </dev/null
    wineserver -w
fi
# The machine's drives as the tests see them: a: a folder typed as a diskette drive, e: another.
drives=$(cd "$build" && pwd)/wine-drives
mkdir -p "$drives/a" "$drives/e"
ln -sfn "$drives/a" "$WINEPREFIX/dosdevices/a:"
ln -sfn "$drives/e" "$WINEPREFIX/dosdevices/e:"
if ! grep -q '^"a:"="floppy"' "$WINEPREFIX/system.reg"; then
    wine reg add 'HKLM\Software\Wine\Drives' /v a: /d floppy /f >/dev/null 2>&1
fi
export VELT_WINE_FLOPPY="Z:${drives//\//\\}\\a"
# Started after the drives are in place: the mount manager reads them as it starts.
wineserver -w
setsid wineserver -p </dev/null >/dev/null 2>&1 &
status=0
ctest --test-dir "$build" --output-on-failure -j"${VELT_TEST_JOBS:-2}" || status=$?
wineserver -k >/dev/null 2>&1 || true
exit "$status"
