#!/usr/bin/env bash
# Makes the diskette images of the bundled sample (samples/site42/images/diskN.img): one
# 1.44 MB FAT12 image per diskette folder, labelled DISKN, holding the folder's tree. The
# images are kept in the repository; run this again after changing a diskette folder.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh dosfstools mtools

sample=samples/site42
mkdir -p "$sample/images"
for dir in "$sample"/disk[0-9]*; do
    n=${dir##*/disk}
    img="$sample/images/disk$n.img"
    rm -f "$img"
    # A fixed volume serial and the folder's own times keep the image the same from run to run.
    mkfs.fat -C -F 12 -n "DISK$n" -i "0000000$n" "$img" 1440 > /dev/null
    MTOOLS_SKIP_CHECK=1 mcopy -s -p -m -i "$img" "$dir"/* ::/
    echo "$img"
done
