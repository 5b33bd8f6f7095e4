#!/usr/bin/env bash
# Runs a Windows test program under Wine for CTest, its output going through a file.
#
#     wine_run.sh PROGRAM.exe [ARGUMENTS]      (VELT_WINE: the wine to start it with)
#
# Wine's services, when a test program happens to start them, inherit its output and outlive
# it; on CTest's pipe they would keep the test running until its timeout.
set -uo pipefail
out=$(mktemp)
"${VELT_WINE:-wine}" "$@" >"$out" 2>&1
status=$?
cat "$out"
rm -f "$out"
exit "$status"
