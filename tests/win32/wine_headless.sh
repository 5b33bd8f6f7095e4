#!/usr/bin/env bash
# Stands in for velt-headless in the end-to-end runner: starts velt-headless.exe under Wine.
# The runner's Linux paths are taken by the program as paths on the current drive, which Wine
# maps to the root of the Linux file system (Z:).
set -uo pipefail
exec "${VELT_WINE:-wine}" "${VELT_HEADLESS_EXE:?}" "$@"
