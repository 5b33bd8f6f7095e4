#!/usr/bin/env bash
# Cross-builds the Windows programs with mingw-w64 and runs every test program under Wine.
#
#     scripts/test-windows.sh [CTEST ARGUMENTS]   (build folder: $VELT_WIN_BUILD, default
#                                                   build/win; e.g. -R window for one test)
#
# Installs what is missing (as scripts/install-deps.sh does) and draws the window's pictures
# with the native picture tool first. Keeps its Wine prefix in the build folder. The Wine server,
# Wine's own services and the X server the window's tests draw on are started detached, so that
# none of them holds an output of the job (or of a test) open.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh g++-mingw-w64-x86-64 mingw-w64 wine wine64 googletest xvfb fonts-wine \
    fonts-liberation nsis wixl msitools osslsigncode openssl zip unzip
build=${VELT_WIN_BUILD:-build/win}
jobs=()
[ -n "${VELT_BUILD_JOBS:-}" ] && jobs=(-j"$VELT_BUILD_JOBS")

# The pictures, drawn by the Qt program's own code: with the test build's tool when there is
# one, else with a small native build of the tool alone.
native=${VELT_NATIVE_BUILD:-build/test}
if [ ! -f "$native/CMakeCache.txt" ]; then
    native=build/native
    if [ ! -f "$native/CMakeCache.txt" ]; then
        cmake -S . -B "$native" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELT_BENCH=OFF >/dev/null
    fi
fi
# The Linux velt-headless, whose output for the sample the Windows one must repeat.
cmake --build "$native" --target velt-make-pictures velt-headless "${jobs[@]}"
native=$(cd "$native" && pwd)
mkdir -p "$build"
build=$(cd "$build" && pwd)
ASAN_OPTIONS=detect_leaks=0 QT_QPA_PLATFORM=offscreen \
    "$native/src/frontends/qt/velt-make-pictures" "$build/pictures"

cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
      -DCMAKE_BUILD_TYPE=Release -DVELT_WERROR=ON -DVELT_PICTURES_DIR="$build/pictures" \
      -DVELT_LINUX_HEADLESS="$native/velt-headless" >/dev/null
cmake --build "$build" "${jobs[@]}"
# With a code-signing certificate (README), the programs are signed before the setup file and
# the package take them in, and those two after; without one, a line says nothing is signed.
if [ -n "${VELT_SIGN_PKCS12:-}" ]; then
    scripts/sign-windows.sh "$build/velt-converter.exe" "$build/velt-headless.exe"
fi
# The setup file, the MSI packages (for all users, and for one without administrator rights)
# and the portable zip, which the tests install, uninstall and unpack.
installer/build-installer.sh "$build" >/dev/null
msi=$(installer/build-msi.sh "$build" | tail -1)
msi_user=$(installer/build-msi.sh "$build" "" perUser | tail -1)
scripts/sign-windows.sh "$build/velt-converter-setup.exe" "$msi" "$msi_user"
installer/build-zip.sh "$build" >/dev/null

export WINEPREFIX=${WINEPREFIX:-$build/wineprefix}
export WINEDEBUG=-all
# No Mono or Gecko installer dialogs on the prefix's first start.
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
# A server left from an interrupted run would keep the waits below from ever returning.
wineserver -k >/dev/null 2>&1 || true
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1 </dev/null
    wineserver -w
fi
# Wine draws the title bar's buttons with Marlett's symbols; this Wine does not find the font
# (fonts-wine) by itself, and without it the buttons show the letters "0 1 r".
if ! grep -q '"Marlett (TrueType)"' "$WINEPREFIX/system.reg"; then
    cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
    wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\Fonts' \
        /v 'Marlett (TrueType)' /d marlett.ttf /f >/dev/null 2>&1
fi
# The machine's drives as the tests see them: a: a folder typed as a diskette drive, e: another.
drives=$build/wine-drives
mkdir -p "$drives/a" "$drives/e"
ln -sfn "$drives/a" "$WINEPREFIX/dosdevices/a:"
ln -sfn "$drives/e" "$WINEPREFIX/dosdevices/e:"
if ! grep -q '^"a:"="floppy"' "$WINEPREFIX/system.reg"; then
    wine reg add 'HKLM\Software\Wine\Drives' /v a: /d floppy /f >/dev/null 2>&1
fi
# Windows on a desktop of Wine's own, which draws their frames and title bars as Windows does
# (there is no window manager on the X server).
if ! grep -q '^"Desktop"="Default"' "$WINEPREFIX/user.reg"; then
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f \
        >/dev/null 2>&1
fi
export VELT_WINE_FLOPPY="Z:${drives//\//\\}\\a"
# Drive b: is a floppy drive whose raw device (\\.\B:) Wine serves from a diskette image.
mkdir -p "$drives/b"
cp samples/site42/images/disk1.img "$drives/b.img"
ln -sfn "$drives/b" "$WINEPREFIX/dosdevices/b:"
ln -sfn "$drives/b.img" "$WINEPREFIX/dosdevices/b::"
if ! grep -q '^"b:"="floppy"' "$WINEPREFIX/system.reg"; then
    wine reg add 'HKLM\Software\Wine\Drives' /v b: /d floppy /f >/dev/null 2>&1
fi
export VELT_WINE_RAW_FLOPPY=B
# Started after the drives are in place: the mount manager reads them as it starts.
wineserver -w

# The X server for the window's tests, on a display number of its own.
display_file=$build/xvfb-display
rm -f "$display_file"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$display_file" </dev/null \
    >/dev/null 2>&1 &
xvfb=$!
cleanup() {
    wineserver -k >/dev/null 2>&1 || true
    kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
for _ in $(seq 100); do
    [ -s "$display_file" ] && break
    sleep 0.1
done
export DISPLAY=":$(cat "$display_file")"

setsid wineserver -p </dev/null >/dev/null 2>&1 &
# Wine's services (the mount manager, the device and desktop processes) are started by the
# first program that needs them, inherit its output, and end only when no program of the
# prefix is left, which never happens while tests run side by side. Started here by a program
# that outlives the run and has no output to hold, they stay up for the whole run (and a test
# program's own output goes through a file, tests/win32/wine_run.sh, so that services started
# by it could not keep CTest waiting either). It waits on a pipe that nothing writes to, until
# the clean-up ends the server.
keeper=$build/wine-keeper
rm -f "$keeper"
mkfifo "$keeper"
setsid wine cmd.exe /c "vol a: & vol c: & vol e: & pause" <"$keeper" >/dev/null 2>&1 &
exec 5>"$keeper"

status=0
ctest --test-dir "$build" --output-on-failure -j"${VELT_TEST_JOBS:-2}" "$@" || status=$?
exit "$status"
