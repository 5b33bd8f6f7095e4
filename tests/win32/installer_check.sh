#!/usr/bin/env bash
# Installs velt-converter-setup.exe silently under Wine into a folder of its own, checks the
# programs, the Start menu entry and the uninstaller it put there, then uninstalls and checks
# that they are gone.
#
#     installer_check.sh SETUP.exe      (VELT_WINE: the wine to start it with)
set -euo pipefail
setup=${1:?}
wine=${VELT_WINE:-wine}
if [ ! -f "$setup" ]; then
    echo "no $setup: build it with installer/build-installer.sh" >&2
    exit 1
fi
folder='C:\velt-installer-check'
unix=$(winepath -u "$folder" 2>/dev/null)
rm -rf "$unix"
entries=$(winepath -u 'C:\' 2>/dev/null)

"$wine" "$setup" /S "/D=$folder"
for file in velt-converter.exe velt-headless.exe uninstall.exe guide.html guide/qt/step-0-floppy-drive.png \
    guide/win32/step-4-done.png; do
    [ -f "$unix/$file" ] || { echo "not installed: $file" >&2; exit 1; }
done
cmp -s "$unix/velt-converter.exe" "$(dirname "$setup")/velt-converter.exe" \
    || { echo "velt-converter.exe installed differs from the build's" >&2; exit 1; }
link=$(find "$entries" -name 'VELT Database Media Converter.lnk' -path '*Start Menu*' | head -1)
[ -n "$link" ] || { echo "no Start menu entry" >&2; exit 1; }

# _?= runs the uninstaller in place, so that it is done when it returns.
"$wine" "$unix/uninstall.exe" /S "_?=$folder"
for file in velt-converter.exe velt-headless.exe guide.html guide; do
    [ ! -e "$unix/$file" ] || { echo "left behind: $file" >&2; exit 1; }
done
[ ! -e "$link" ] || { echo "left behind: the Start menu entry" >&2; exit 1; }
rm -rf "$unix"
echo "installer: installed and uninstalled"
