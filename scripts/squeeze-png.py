#!/usr/bin/env python3
"""Rewrites 8-bit RGB or RGBA PNG files in place, each row filtered and the whole compressed at
zlib's best: the Windows window tests store their screenshots uncompressed.

    squeeze-png.py FILE.png ...
"""
import struct
import sys
import zlib


def chunks(data):
    at = 8
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        yield kind, data[at + 8:at + 8 + length]
        at += 12 + length


def chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(
        ">I", zlib.crc32(kind + body) & 0xFFFFFFFF)


def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    return a if pa <= pb and pa <= pc else (b if pb <= pc else c)


def unfilter(raw, width, height, bpp):
    stride = width * bpp
    rows, prev, at = [], bytearray(stride), 0
    for _ in range(height):
        kind, line = raw[at], bytearray(raw[at + 1:at + 1 + stride])
        at += 1 + stride
        for i in range(stride):
            left = line[i - bpp] if i >= bpp else 0
            up, corner = prev[i], prev[i - bpp] if i >= bpp else 0
            line[i] = (line[i] + (0, left, up, (left + up) // 2, paeth(left, up, corner))[kind]) & 0xFF
        rows.append(bytes(line))
        prev = line
    return rows


def squeeze(path):
    with open(path, "rb") as f:
        data = f.read()
    header = next(body for kind, body in chunks(data) if kind == b"IHDR")
    width, height, depth, colour = struct.unpack(">IIBB", header[:10])
    if depth != 8 or colour not in (2, 6) or header[12] != 0:
        return False
    bpp = 3 if colour == 2 else 4
    raw = zlib.decompress(b"".join(body for kind, body in chunks(data) if kind == b"IDAT"))
    out, prev = bytearray(), bytes(width * bpp)
    for row in unfilter(raw, width, height, bpp):
        out += b"\x02" + bytes((a - b) & 0xFF for a, b in zip(row, prev))  # "Up"
        prev = row
    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(bytes(out), 9))
    png += chunk(b"IEND", b"")
    if len(png) < len(data):
        with open(path, "wb") as f:
            f.write(png)
    return True


if __name__ == "__main__":
    sys.exit(0 if all(squeeze(p) for p in sys.argv[1:]) else 1)
