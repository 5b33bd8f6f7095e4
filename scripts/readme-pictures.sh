#!/usr/bin/env bash
# Refreshes the pictures README.md shows (docs/pictures/*.png) from the screenshots the shared
# window suite takes with the Qt window on Qt's offscreen platform: start-up, choosing the card,
# success, and the log shown; and the technician's guide's pictures of the steps and of the card
# check (docs/guide/). Run after a change to the window; the test build is made if missing.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${VELT_TEST_BUILD:-build/test}
if [ ! -x "$build/tests/qt/velt-tests-qt" ]; then
    scripts/install-deps.sh dosfstools mtools qt6-svg-dev
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVELT_SANITIZE=ON > /dev/null
    cmake --build "$build" --target velt-tests-qt
fi
QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 "$build/tests/qt/velt-tests-qt" > /dev/null
mkdir -p docs/pictures
for name in startup success log-shown; do
    cp "$build/tests/qt/screenshots/$name.png" "docs/pictures/$name.png"
done
cp "$build/tests/qt/screenshots/step-3-card.png" docs/pictures/card.png
# The technician's guide's steps, from the Qt tests and, when the Windows run has taken them
# (scripts/test-windows.sh), from the Win32 window tests.
mkdir -p docs/guide/qt docs/guide/win32
# The guide's steps and the card check's dialog and boxes.
guide_pictures="step-*.png check-card-dialog.png box-check-card-*.png"
for name in $guide_pictures; do
    cp "$build"/tests/qt/screenshots/$name docs/guide/qt/
done
win=${VELT_WIN_BUILD:-build/win}/tests/win32/window/screenshots
if ls "$win"/step-*.png > /dev/null 2>&1; then
    for name in $guide_pictures; do
        cp "$win"/$name docs/guide/win32/
    done
fi
python3 scripts/squeeze-png.py docs/pictures/*.png docs/guide/*/*.png
ls -l docs/pictures docs/guide/qt docs/guide/win32
