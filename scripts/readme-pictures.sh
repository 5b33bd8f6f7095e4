#!/usr/bin/env bash
# Refreshes the pictures README.md shows (docs/pictures/*.png) from the screenshots the Qt
# window tests take on Qt's offscreen platform: start-up, a card being written, success, and
# the log shown. Run after a change to the window; the test build is made if missing.
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
for name in startup in-progress success log-shown; do
    cp "$build/tests/qt/screenshots/$name.png" "docs/pictures/$name.png"
done
ls -l docs/pictures
