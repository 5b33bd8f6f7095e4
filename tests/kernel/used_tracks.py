#!/usr/bin/env python3
"""The tracks a FAT12 diskette image uses, as the reader should ask for them: the system area
(boot sector, FATs, root folder), then every track holding a cluster in use, each as
"TRACK 18 ok;" on one line.

    used_tracks.py IMAGE
"""
import struct
import sys

img = open(sys.argv[1], "rb").read()
bps, spc, reserved, fats, root_entries, total, _, fat_sectors, per_track = struct.unpack_from(
    "<HBHBHHBHH", img, 11)
data_start = reserved + fats * fat_sectors + (root_entries * 32 + bps - 1) // bps
clusters = (total - data_start) // spc
fat = img[reserved * bps:(reserved + fat_sectors) * bps]
tracks = set(range((data_start - 1) // per_track + 1))
for c in range(2, clusters + 2):
    pair = fat[c + c // 2] | fat[c + c // 2 + 1] << 8
    value = pair >> 4 if c & 1 else pair & 0xFFF
    if value not in (0, 0xFF7):
        for s in range(data_start + (c - 2) * spc, data_start + (c - 1) * spc):
            tracks.add(s // per_track)
print("".join("%d %d ok;" % (t, per_track) for t in sorted(tracks)))
