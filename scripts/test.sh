#!/usr/bin/env bash
# Installs what is missing, builds under AddressSanitizer and UndefinedBehaviorSanitizer,
# and runs every test; then the Windows build's, under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh dosfstools mtools qt6-svg-dev dbus-daemon python3-dbusmock fuse3 python3-fusepy
build=${VELT_TEST_BUILD:-build/test}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVELT_SANITIZE=ON -DVELT_WERROR=ON \
      -DVELT_BENCH=ON >/dev/null
cmake --build "$build"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" --output-on-failure -j2

# The Debian package: built, validated, installed into a scratch folder and run on the sample.
bash scripts/package.sh

# The Windows programs and their setup file, cross-built and tested under Wine.
bash scripts/test-windows.sh
