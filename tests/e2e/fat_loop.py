#!/usr/bin/env python3
"""Makes a folder of a 1.44 MB FAT12 image loop: its first cluster points back to itself.

    fat_loop.py IMAGE FOLDER     (FOLDER with "/", as db/system)
"""
import sys

SECTOR = 512
FAT1, FAT2, ROOT, ROOT_ENTRIES, DATA = 1, 10, 19, 224, 33


def entries(img, offset, count):
    for k in range(count):
        e = img[offset + 32 * k: offset + 32 * k + 32]
        if e[0] == 0:
            return
        yield e


def short_name(e):
    name, ext = e[:8].decode("ascii").rstrip(), e[8:11].decode("ascii").rstrip()
    return (name + "." + ext if ext else name).lower()


def set_fat12(img, cluster, value):
    for fat in (FAT1, FAT2):
        o = fat * SECTOR + cluster * 3 // 2
        if cluster % 2 == 0:
            img[o] = value & 0xFF
            img[o + 1] = (img[o + 1] & 0xF0) | (value >> 8)
        else:
            img[o] = (img[o] & 0x0F) | ((value & 0x0F) << 4)
            img[o + 1] = value >> 4


def main():
    path, folder = sys.argv[1], sys.argv[2]
    img = bytearray(open(path, "rb").read())
    offset, count, cluster = ROOT * SECTOR, ROOT_ENTRIES, None
    for part in folder.lower().split("/"):
        cluster = next(int.from_bytes(e[26:28], "little") for e in entries(img, offset, count)
                       if e[11] & 0x10 and short_name(e) == part)
        offset, count = (DATA + cluster - 2) * SECTOR, SECTOR // 32
    set_fat12(img, cluster, cluster)
    open(path, "wb").write(img)


main()
