#!/usr/bin/env bash
# Installs the Debian packages the build needs; does nothing for those already there.
set -euo pipefail
packages=(cmake ninja-build g++ libgtest-dev libbenchmark-dev qt6-base-dev libgl-dev python3 clang-format
          cmark-gfm "$@")
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
if [ "$(id -u)" -eq 0 ]; then sudo=(); else sudo=(sudo); fi
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
