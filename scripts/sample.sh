#!/usr/bin/env bash
# Converts the bundled sample set (samples/site42: three diskettes, nested folders, a file spread
# over all three, a keycode file) with velt-headless onto a card folder, prints what the wizard
# said, and shows the tree written to the card. Safe to run again: the card and the temporary
# folder start empty every time.
#
#     bash scripts/sample.sh            the diskettes as folders
#     bash scripts/sample.sh --images   the same diskettes as 1.44 MB images (samples/site42/images)
#
# VELT_HEADLESS runs another build's program instead (a command: "wine velt-headless.exe"), and
# VELT_SAMPLE_DIR puts the run and the card elsewhere (default build/sample).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

build=build/sample
if [ -n "${VELT_HEADLESS:-}" ]; then
    read -r -a headless <<<"$VELT_HEADLESS"
else
    scripts/install-deps.sh
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELT_SANITIZE=OFF \
          -DVELT_WERROR=OFF -DVELT_QT=OFF -DVELT_BENCH=OFF > /dev/null
    cmake --build "$build" --target velt-headless > /dev/null
    headless=("$build/velt-headless")
fi
out=${VELT_SAMPLE_DIR:-$build}
mkdir -p "$out"
out=$(cd "$out" && pwd)

sample=$root/samples/site42
disk=$sample/disk
if [ "${1:-}" = "--images" ]; then
    disk=$sample/images/disk
    suffix=.img
elif [ $# -gt 0 ]; then
    echo "usage: sample.sh [--images]" >&2
    exit 2
fi
suffix=${suffix:-}
work=$out/run
card=$out/card
chmod -R u+rwx "$work" "$card" 2> /dev/null || true
rm -rf "$work" "$card"
mkdir -p "$work/c" "$card"

# The diskettes are write-protected, as a technician's originals should be.
cat > "$work/convert.vhs" <<EOF
drive a: removable readonly ${disk}1$suffix
drive c: fixed label=SYSTEM $work/c
drive e: removable label=CF $card
temp C:\\Temp
start
select a:
ok
ok
insert a: readonly ${disk}2$suffix
ok
insert a: readonly ${disk}3$suffix
ok
select e:
ok
exit
EOF

status=0
"${headless[@]}" "$work/convert.vhs" > "$work/transcript.jsonl" || status=$?

python3 - "$work/transcript.jsonl" <<'EOF'
import json
import sys

def lines(text):
    return text.replace("\r\n", "\n").split("\n")

last_status = None
for raw in open(sys.argv[1], encoding="utf-8"):
    event = json.loads(raw)
    kind = event["event"]
    if kind == "status":
        last_status = event["text"]
        print()
        for i, line in enumerate(lines(event["text"])):
            print(("STATUS  | " if i == 0 else "        | ") + line)
    elif kind == "log":
        if event["text"] == last_status:
            continue  # the status just shown goes to the log as well
        for line in lines(event["text"]):
            print("  log   : " + line)
    elif kind == "msgbox":
        print()
        print(f"  [{event['title']}] ({event['icon']}, {event['buttons']})")
        for line in lines(event["text"]):
            print("  | " + line)
        print(f"  -> {event['answer']}")
    elif kind == "end":
        print()
        print("END (the program ended)")
    elif kind == "error":
        print(f"SCRIPT ERROR at line {event['line']}: {event['text']}")
    else:
        print(raw.rstrip())
EOF

if [ "$status" -ne 0 ]; then
    echo "velt-headless ended with status $status" >&2
    exit 1
fi

echo
echo "Written to the card ($card):"
python3 - "$card" <<'EOF'
import os
import sys

top = sys.argv[1]
for folder, dirs, files in os.walk(top):
    dirs.sort()
    depth = os.path.relpath(folder, top).count(os.sep) + (folder != top)
    if folder != top:
        print("  " * depth + os.path.basename(folder) + "/")
    for name in sorted(files):
        size = os.path.getsize(os.path.join(folder, name))
        print("  " * (depth + 1) + f"{name}  ({size:,} bytes)")
EOF

if diff -r -q "$sample/expected" "$card/backup/single" > /dev/null; then
    echo
    printf '%s\n' "The card's \\backup\\single\\ matches samples/site42/expected byte for byte."
else
    echo
    printf '%s\n' "The card's \\backup\\single\\ differs from samples/site42/expected:" >&2
    diff -r -q "$sample/expected" "$card/backup/single" >&2 || true
    exit 1
fi
