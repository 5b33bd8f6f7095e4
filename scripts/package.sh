#!/usr/bin/env bash
# Builds the Debian package (a Release build without sanitizers), checks it with the desktop's
# and Debian's validators, and runs the velt-headless it installs on the bundled sample.
#
#     bash scripts/package.sh     -> build/package/velt-converter_1.0.0_amd64.deb
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
scripts/install-deps.sh qt6-svg-dev desktop-file-utils appstream lintian dpkg-dev file

build=build/package
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELT_BENCH=OFF \
      -DCMAKE_INSTALL_PREFIX=/usr > /dev/null
cmake --build "$build" --target velt-converter velt-headless velt-icon velt-man velt-changelog \
    velt-guide
(cd "$build" && cpack -G DEB > /dev/null)
deb=$build/velt-converter_$(cat "$build/velt-version.txt")_amd64.deb
[ -f "$deb" ] || { echo "package.sh: $deb was not made" >&2; exit 1; }

desktop-file-validate packaging/com.halvex.VeltConverter.desktop
appstreamcli validate --no-net --pedantic packaging/com.halvex.VeltConverter.metainfo.xml \
    > "$build/appstream.txt" || { cat "$build/appstream.txt" >&2; exit 1; }
# lintian's findings are printed for a person to read; errors fail the check.
lintian --tag-display-limit 0 "$deb" | tee "$build/lintian.txt" || true
if grep -q '^E: ' "$build/lintian.txt"; then
    echo "package.sh: lintian reports errors" >&2
    exit 1
fi

# Installed into a scratch folder, the package's own velt-headless converts the sample.
unpacked=$build/unpacked
rm -rf "$unpacked" && mkdir -p "$unpacked"
dpkg-deb -x "$deb" "$unpacked"
for f in usr/bin/velt-converter usr/bin/velt-headless \
         usr/share/applications/com.halvex.VeltConverter.desktop \
         usr/share/metainfo/com.halvex.VeltConverter.metainfo.xml \
         usr/share/icons/hicolor/scalable/apps/com.halvex.VeltConverter.svg \
         usr/share/icons/hicolor/48x48/apps/com.halvex.VeltConverter.png \
         usr/share/man/man1/velt-converter.1.gz usr/share/man/man1/velt-headless.1.gz \
         usr/share/doc/velt-converter/guide.html \
         usr/share/doc/velt-converter/guide/qt/step-0-floppy-drive.png; do
    [ -e "$unpacked/$f" ] || { echo "package.sh: the package lacks /$f" >&2; exit 1; }
done
run=$build/run
chmod -R u+rwx "$run" 2> /dev/null || true
rm -rf "$run" && mkdir -p "$run/c" "$run/card"
sample=$root/samples/site42
cat > "$run/convert.vhs" <<VHS
drive a: removable readonly $sample/images/disk1.img
drive c: fixed label=SYSTEM $run/c
drive e: removable label=CF $run/card
temp C:\\Temp
start
select a:
ok
ok
insert a: readonly $sample/images/disk2.img
ok
insert a: readonly $sample/images/disk3.img
ok
select e:
ok
exit
VHS
"$unpacked/usr/bin/velt-headless" "$run/convert.vhs" > "$run/out.jsonl"
diff -r -q "$sample/expected" "$run/card/backup/single"
echo "package.sh: $deb installs, validates, and its velt-headless converts the sample"
