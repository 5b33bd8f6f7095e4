#!/usr/bin/env bash
# Installs the MSI package silently under Wine, checks the programs under Program Files (the same
# files as the NSIS setup file beside it installs), the Start menu shortcut and the Add/Remove
# Programs entries; installs a later version over it (the
# same UpgradeCode) and checks that it took the place of the first; uninstalls and checks that
# nothing is left.
#
#     msi_check.sh PACKAGE.msi       (VELT_WINE: the wine to start msiexec with; the package's
#                                     build folder holds the programs it was made from)
set -euo pipefail
msi=${1:?}
wine=${VELT_WINE:-wine}
build=$(cd "$(dirname "$msi")" && pwd)
if [ ! -f "$msi" ]; then
    echo "no $msi: build it with installer/build-msi.sh" >&2
    exit 1
fi
fail() {
    echo "msi: $*" >&2
    exit 1
}
name='VELT Database Media Converter'
folder=$(winepath -u "C:\\Program Files\\$name" 2>/dev/null)
# The shortcut of a per-machine package belongs in the common Start menu; Wine's installer puts
# it in the user's (it runs everything with an administrator's rights, for the one user).
menus=("$(winepath -u "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\$name" 2>/dev/null)"
       "$(winepath -u "C:\\users\\$(id -un)\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\$name" 2>/dev/null)")
uninstall='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'

code_of() { msiinfo export "$1" Property | awk -F'\t' '$1 == "ProductCode" { print $2 }' | tr -d '\r'; }
# The value NAME of the Add/Remove Programs entry of product CODE ("" when there is none).
arp() {
    "$wine" reg query "$uninstall\\$1" /v "$2" 2>/dev/null | tr -d '\r' |
        awk -v name="$2" '$1 == name { $1 = ""; $2 = ""; sub(/^ +/, ""); print }'
}
msiexec() { "$wine" msiexec "$@" </dev/null >/dev/null 2>&1; }

first=$(code_of "$msi")
version=$(msiinfo export "$msi" Property | awk -F'\t' '$1 == "ProductVersion" { print $2 }' | tr -d '\r')
[ -n "$first" ] && [ -n "$version" ] || fail "no ProductCode or ProductVersion in $msi"
# What an earlier failed run may have left.
msiexec /x "$(winepath -w "$msi")" /qn || true

msiexec /i "$(winepath -w "$msi")" /qn || fail "msiexec /i failed"
for file in velt-converter.exe velt-headless.exe; do
    cmp -s "$folder/$file" "$build/$file" || fail "$file not installed as built in $folder"
done
menu=
for place in "${menus[@]}"; do
    [ -f "$place/$name.lnk" ] && menu=$place
done
[ -n "$menu" ] || fail "no Start menu shortcut in ${menus[*]}"
# The shortcut starts the installed program and carries the icon.
strings -e l "$menu/$name.lnk" | grep -qi 'Program Files.VELT Database Media Converter.velt-converter.exe' ||
    strings "$menu/$name.lnk" | grep -qi 'velt-converter.exe' || fail "the shortcut does not start velt-converter.exe"

# The NSIS setup file installs the same files (and its uninstaller).
setup=$build/velt-converter-setup.exe
if [ -f "$setup" ]; then
    nsis='C:\velt-msi-compare'
    nsis_unix=$(winepath -u "$nsis" 2>/dev/null)
    rm -rf "$nsis_unix"
    "$wine" "$setup" /S "/D=$nsis" </dev/null >/dev/null 2>&1 || fail "the setup file failed"
    diff <(cd "$folder" && find . -type f | sort) \
        <(cd "$nsis_unix" && find . -type f ! -name uninstall.exe | sort) >&2 ||
        fail "the MSI and the setup file install different files"
    (cd "$folder" && find . -type f -exec cmp {} "$nsis_unix/{}" \;) >&2 ||
        fail "the MSI and the setup file install different bytes"
    "$wine" "$nsis_unix/uninstall.exe" /S "_?=$nsis" </dev/null >/dev/null 2>&1 || true
    rm -rf "$nsis_unix"
fi
[ "$(arp "$first" DisplayVersion)" = "$version" ] || fail "Add/Remove Programs: no version $version"
[ "$(arp "$first" Publisher)" = "Halvex Networks" ] || fail "Add/Remove Programs: no publisher"
# The entry's icon: the package names it (ARPPRODUCTICON) and the installer keeps a copy of it
# under the product's code, where Add/Remove Programs takes it from (Wine's installer writes no
# DisplayIcon value of its own).
icon=$(msiinfo export "$msi" Property | awk -F'\t' '$1 == "ARPPRODUCTICON" { print $2 }' | tr -d '\r')
[ -n "$icon" ] || fail "Add/Remove Programs: the package names no icon"
cmp -s "$(winepath -u "C:\\windows\\Installer\\$first" 2>/dev/null)/$icon" \
    "$build/pictures/velt-converter.ico" || fail "Add/Remove Programs: the icon $icon is not kept"

# A later version from the same sources installs over it: one product, the later one.
later_dir=$(mktemp -d)
trap 'rm -rf "$later_dir"' EXIT
mkdir -p "$later_dir/pictures"
cp "$build/velt-converter.exe" "$build/velt-headless.exe" "$later_dir/"
cp "$build/pictures/velt-converter.ico" "$later_dir/pictures/"
cp -r "$build/doc" "$later_dir/"
printf '%s\n' "$version" | awk -F. '{ printf "%d.%d.%d\n", $1, $2, $3 + 1 }' >"$later_dir/velt-version.txt"
later=$("$(dirname "$0")/../../installer/build-msi.sh" "$later_dir" | tail -1)
second=$(code_of "$later")
msiexec /i "$(winepath -w "$later")" /qn || fail "msiexec /i of the later version failed"
[ -z "$(arp "$first" DisplayVersion)" ] || fail "the first version is still installed beside the later"
[ "$(arp "$second" DisplayVersion)" = "$(cat "$later_dir/velt-version.txt")" ] ||
    fail "the later version is not installed"
[ -f "$folder/velt-converter.exe" ] || fail "the upgrade left no velt-converter.exe"

msiexec /x "$(winepath -w "$later")" /qn || fail "msiexec /x failed"
[ ! -e "$folder" ] || fail "left behind: $(ls -A "$folder" | tr '\n' ' ') in $folder"
[ ! -e "$menu" ] || fail "left behind: the Start menu folder"
[ -z "$(arp "$second" DisplayVersion)" ] || fail "left behind: the Add/Remove Programs entry"
echo "msi: installed, upgraded in place and uninstalled ($(stat -c %s "$msi") bytes)"
