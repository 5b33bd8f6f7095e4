#!/usr/bin/env bash
# The bundled sample converted by velt-headless.exe under Wine and by the Linux program: the
# same transcript, byte for byte, and the same card.
#
#     same_as_linux.sh LINUX_VELT_HEADLESS VELT_HEADLESS_EXE WORK     (VELT_WINE: the wine)
set -euo pipefail
linux=$1
exe=$2
work=$3
here=$(cd "$(dirname "$0")" && pwd)
rm -rf "$work"
mkdir -p "$work"
ASAN_OPTIONS=detect_leaks=0 VELT_HEADLESS="$linux" VELT_SAMPLE_DIR="$work/linux" \
    bash "$here/../../scripts/sample.sh" >"$work/linux.txt"
VELT_HEADLESS="$here/wine_headless.sh" VELT_HEADLESS_EXE="$exe" VELT_SAMPLE_DIR="$work/windows" \
    bash "$here/../../scripts/sample.sh" >"$work/windows.txt"
cmp "$work/linux/run/transcript.jsonl" "$work/windows/run/transcript.jsonl"
diff -r "$work/linux/card" "$work/windows/card"
echo "same transcript ($(wc -l <"$work/linux/run/transcript.jsonl") lines) and same card"
