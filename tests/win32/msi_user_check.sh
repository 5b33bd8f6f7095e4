#!/usr/bin/env bash
# The per-user MSI package: what it declares, then a silent install and removal under Wine.
#
#     msi_user_check.sh PACKAGE-user.msi    (VELT_WINE: the wine to start msiexec with; the
#                                            package's build folder holds what it was made from)
#
# Wine runs every installer with an administrator's rights, so it cannot show that none are
# needed. The package's own declaration does: its summary information says that it needs no
# elevation, it sets no ALLUSERS, and it names no machine-wide folder or registry key. Under
# Wine it installs the programs and the guide under the user's %LOCALAPPDATA%\Programs with a
# Start menu shortcut in the user's menu, and its removal leaves nothing behind.
set -euo pipefail
msi=${1:?}
wine=${VELT_WINE:-wine}
fail() {
    echo "msi-user: $*" >&2
    exit 1
}
[ -f "$msi" ] || fail "no $msi: build it with installer/build-msi.sh BUILD '' perUser"
build=$(cd "$(dirname "$msi")" && pwd)
name='VELT Database Media Converter'
table() { msiinfo export "$msi" "$1" | tr -d '\r' | tail -n +4; }

# The declaration. Word Count (msiinfo calls it Source) bit 8: no elevated rights needed.
words=$(msiinfo suminfo "$msi" | awk '/^Source:/ { print $2 }')
[ -n "$words" ] && (( (words & 8) != 0 )) || fail "the summary information asks for elevation ($words)"
! table Property | grep -q '^ALLUSERS' || fail "the package sets ALLUSERS: $(table Property | grep ALLUSERS)"
for folder in ProgramFilesFolder ProgramFiles64Folder CommonFilesFolder WindowsFolder \
    SystemFolder System64Folder CommonAppDataFolder; do
    ! table Directory | cut -f1 | grep -qx "$folder" || fail "the package installs into $folder"
done
# Registry roots: 1 the user's keys; 2 the machine's, -1 the machine's when installed for all.
roots=$(table Registry | cut -f2 | sort -u | tr '\n' ' ')
[ "$roots" = "1 " ] || fail "the package writes registry roots other than the user's: $roots"

local=$("$wine" cmd /c echo %LOCALAPPDATA% 2>/dev/null | tr -d '\r')
appdata=$("$wine" cmd /c echo %APPDATA% 2>/dev/null | tr -d '\r')
programs=$(winepath -u "$local\\Programs" 2>/dev/null)
folder=$programs/$name
menu=$(winepath -u "$appdata\\Microsoft\\Windows\\Start Menu\\Programs\\$name" 2>/dev/null)
machine=$(winepath -u "C:\\Program Files\\$name" 2>/dev/null)
msiexec() { "$wine" msiexec "$@" </dev/null >/dev/null 2>&1; }
# What an earlier failed run may have left.
msiexec /x "$(winepath -w "$msi")" /qn || true
programs_before=$([ -d "$programs" ] && echo yes || echo no)
[ ! -e "$machine" ] || fail "$machine is there before the install (another test's?)"

msiexec /i "$(winepath -w "$msi")" /qn || fail "msiexec /i failed"
for file in velt-converter.exe velt-headless.exe; do
    cmp -s "$folder/$file" "$build/$file" || fail "$file not installed as built in $folder"
done
diff <(cd "$build/doc" && find . -type f | sort) <(cd "$folder" && find . -type f ! -name '*.exe' | sort) >&2 ||
    fail "the guide is not installed whole beside the programs"
cmp -s "$folder/guide.html" "$build/doc/guide.html" || fail "guide.html not installed as built"
[ -f "$menu/$name.lnk" ] || fail "no shortcut in the user's Start menu ($menu)"
{ strings -e l "$menu/$name.lnk" && strings "$menu/$name.lnk"; } |
    grep -qi 'AppData.Local.Programs.VELT Database Media Converter.velt-converter.exe' ||
    fail "the shortcut does not start the installed velt-converter.exe"
[ ! -e "$machine" ] || fail "the per-user package wrote into $machine"

msiexec /x "$(winepath -w "$msi")" /qn || fail "msiexec /x failed"
[ ! -e "$folder" ] || fail "left behind: $(cd "$folder" && find . | tr '\n' ' ')"
[ ! -e "$menu" ] || fail "left behind: the Start menu folder"
[ "$programs_before" = yes ] || [ ! -e "$programs" ] || fail "left behind: $programs"
! "$wine" reg query 'HKCU\Software\Halvex Networks\VELT Database Media Converter' >/dev/null 2>&1 ||
    fail "left behind: the user's registry key"
echo "msi-user: needs no elevation; installed for the user and removed ($(stat -c %s "$msi") bytes)"
