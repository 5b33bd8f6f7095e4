#!/usr/bin/env bash
# The diskette reader on the kernel's own block device: a loop device attached read-only with
# direct I/O to a file that a small FUSE file system serves, failing chosen sectors with EIO
# as a dying diskette does. velt-headless takes the loop device as drive a:'s PATH.
#
#     kernel_device.sh VELT_HEADLESS WORKDIR
#
# Needs root, loop devices, /dev/fuse and python3-fusepy. Without them it prints what is
# missing and exits 77 (skipped), unless VELT_REQUIRE_KERNEL_DEVICE=1, when that is a failure.
set -uo pipefail
headless=$1
work=$2
here=$(cd "$(dirname "$0")" && pwd)
e2e=$(cd "$here/../e2e" && pwd)
images=$(cd "$here/../../samples/site42/images" && pwd)
fuse_python=/usr/bin/python3

missing=""
[ "$(id -u)" -eq 0 ] || missing="root"
[ -e /dev/loop-control ] || missing="${missing:+$missing, }loop devices (/dev/loop-control)"
[ -c /dev/fuse ] || missing="${missing:+$missing, }/dev/fuse"
command -v losetup >/dev/null || missing="${missing:+$missing, }losetup"
"$fuse_python" -c 'import fusepy' 2>/dev/null || "$fuse_python" -c 'import fuse' 2>/dev/null ||
    missing="${missing:+$missing, }python3-fusepy"
if [ -n "$missing" ]; then
    echo "kernel device cases skipped: no $missing"
    [ "${VELT_REQUIRE_KERNEL_DEVICE:-0}" = 1 ] && exit 1
    exit 77
fi

# What an interrupted run left: its loop devices and FUSE mounts first, then the folder.
if [ -d "$work" ]; then
    for f in "$work"/*.mnt/disk.img; do
        [ -e "$f" ] || continue
        for dev in $(losetup -j "$f" -O NAME -n 2>/dev/null); do losetup -d "$dev"; done
    done
    for m in "$work"/*.mnt; do [ -d "$m" ] && fusermount -uz "$m" 2>/dev/null; done
fi
rm -rf "$work" && mkdir -p "$work" || exit 2
work=$(cd "$work" && pwd)
loops=()
mounts=()
cleanup() {
    for dev in "${loops[@]}"; do losetup -d "$dev" 2>/dev/null; done
    # A detached loop device lets go of its file a moment later; then the mount can go.
    for m in "${mounts[@]}"; do
        for _ in $(seq 50); do fusermount -u "$m" 2>/dev/null && break; sleep 0.1; done
        mountpoint -q "$m" && fusermount -uz "$m" 2>/dev/null
    done
}
trap cleanup EXIT

# A failing diskette as a loop device: serve IMAGE with its FAILURES, attach it, wait for udev
# to finish probing it, and start the read log. The device is left in $dev (not printed: the
# devices and mounts must be remembered by this shell, not a subshell).
device() {
    local name=$1 image=$2
    shift 2
    local mnt="$work/$name.mnt" log="$work/$name.reads"
    mkdir -p "$mnt"
    "$fuse_python" "$here/failing_fuse.py" "$image" "$mnt" "$log" "$@" \
        >"$work/$name.fuse.txt" 2>&1 &
    for _ in $(seq 50); do [ -e "$mnt/disk.img" ] && break; sleep 0.1; done
    mounts+=("$mnt")
    dev=$(losetup --direct-io=on -r -f --show "$mnt/disk.img") || return 1
    loops+=("$dev")
    command -v udevadm >/dev/null && udevadm settle 2>/dev/null
    if [ "$(losetup --list -n -O DIO "$dev" | tr -d ' ')" != 1 ]; then
        echo "FAIL: direct I/O did not take effect on $dev" >&2
        return 1
    fi
    : >"$log"
}

failures=0
# run_case NAME: tests/kernel/NAME.vhs with its devices filled in, through the e2e runner.
run_case() {
    local name=$1
    sed -e "s|@DEV@|${dev1:-}|g" -e "s|@DEV2@|${dev2:-}|g" -e "s|@E2E@|$e2e|g" \
        "$here/$name.vhs" >"$work/$name.vhs" || exit 2
    if bash "$e2e/run_case.sh" "$headless" "$work/$name.vhs" "$work/$name"; then
        echo "ok: $name"
    else
        echo "FAIL: $name" >&2
        failures=$((failures + 1))
    fi
}

detach() {
    cleanup
    loops=()
    mounts=()
    dev1=""
    dev2=""
}

# A clean diskette; the drive is asked for the tracks the diskette uses, forward, one request
# a track (what the FUSE server saw is what the kernel passed on).
device clean "$images/disk1.img" || exit 1; dev1=$dev
run_case clean
expected=$("$fuse_python" "$here/used_tracks.py" "$images/disk1.img")
seen=$(awk '{print $1 / 18, $2, $3}' "$work/clean.reads" | tr '\n' ';')
if [ "$seen" != "$expected" ]; then
    echo "FAIL: read pattern: expected $expected, the server saw $seen" >&2
    failures=$((failures + 1))
else
    echo "ok: read pattern $seen"
fi
detach

# A marginal sector of a file: it fails twice, then reads.
device marginal "$images/disk1.img" 40:2 || exit 1; dev1=$dev
run_case marginal
detach

# A dead sector in a file, and another copy (another device) with another dead sector.
device dead "$images/disk1.img" 40 || exit 1; dev1=$dev
device copy "$images/disk1.img" 45 || exit 1; dev2=$dev
run_case copies
if [ "$(cat "$work/copy.reads")" != $'0 18 ok\n18 18 ok\n40 1 ok' ]; then
    echo "FAIL: the second copy was asked for more than its start and sector 40:" >&2
    cat "$work/copy.reads" >&2
    failures=$((failures + 1))
fi
detach

# A dead sector in the first FAT, read from the second.
device fat "$images/disk1.img" 1 || exit 1; dev1=$dev
run_case fat
detach

# Kept images: the image of the diskette is the diskette.
device kept "$images/disk1.img" || exit 1; dev1=$dev
run_case kept
detach

[ "$failures" -eq 0 ]
