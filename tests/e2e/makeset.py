#!/usr/bin/env python3
"""Builds a diskette set on host folders, and the card folder a conversion of it must write.

    makeset.py OUT [OPTION ...] FILE ...

writes OUT/disk1 ... OUT/diskN (the root of each diskette: its volume file disk000n.dat, on
diskette 1 also archive.dat, and its share of the files) and OUT/card (what \\backup\\single\\
must hold afterwards: every file joined, disk0001.dat, and the one-diskette archive.dat).

FILE is PATH=CONTENT@PLACE[~]
  PATH     the file's path from the root, "/" between folders (db/main.dat, keycode.rec)
  CONTENT  a byte count (bytes made up from PATH, the same on every run) or s:TEXT (TEXT's
           bytes; no blanks)
  PLACE    D: the whole file on diskette D; D1-D2: spread in near-equal pieces over diskettes
           D1 to D2; D1:N1,D2:N2,...: pieces of N1, N2 ... bytes on diskettes D1, D2 ... (the
           last piece takes what is left)
  ~        the descriptor archives a wrong checksum for the file's last entry

OPTIONs
  id=ID        the Archive ID (default 812); written as given, leading zeros and all
  disks=N      the descriptor's diskette count (default: the highest diskette used)
  keycode=kcd  keycode.rec is stored on its diskette as keycode.kcd (the descriptor keeps
               /keycode.rec)
  volid=D:ID   diskette D's volume file carries the Archive ID ID (a diskette of another set)
  header=N     N header lines between the diskette count and the first FILE line
  crlf         the descriptor's lines end in CR LF (the one-diskette descriptor's lines end
               in LF alone all the same, with no CR left at the end of the extra text)
  extra=TEXT   the extra text of every FILE line (default std)
"""

import hashlib
import os
import shutil
import sys

LABEL = "VELT ARCHIVE ID: "  # 17 characters: the label the Archive ID line starts with


def reduce(x):
    return x - 4294967296 if x > 4294967295 else x


def checksum(data):
    """The archived checksum: big-endian words summed with one reduction each, a block's
    trailing bytes added singly, per 4096-byte block."""
    total = 0
    for start in range(0, len(data), 4096):
        block = data[start:start + 4096]
        words = len(block) // 4
        s = 0
        for k in range(words):
            s = reduce(s + int.from_bytes(block[4 * k:4 * k + 4], "big"))
        for b in block[4 * words:]:
            s += b
        total = reduce(total + s)
    return total


def made_up(path, size):
    out = bytearray()
    counter = 0
    while len(out) < size:
        out += hashlib.sha256(f"{path}:{counter}".encode()).digest()
        counter += 1
    return bytes(out[:size])


def fail(message):
    sys.exit(f"makeset.py: {message}")


def parse_file(plan):
    wrong = plan.endswith("~")
    if wrong:
        plan = plan[:-1]
    if "=" not in plan or "@" not in plan:
        fail(f"bad FILE {plan!r} (PATH=CONTENT@PLACE)")
    path, rest = plan.split("=", 1)
    content, place = rest.rsplit("@", 1)
    data = content[2:].encode() if content.startswith("s:") else made_up(path, int(content))
    if "," in place or ":" in place:
        pieces = []
        parts = place.split(",")
        offset = 0
        for i, part in enumerate(parts):
            disk, size = part.split(":")
            size = len(data) - offset if i == len(parts) - 1 else int(size)
            pieces.append((int(disk), data[offset:offset + size]))
            offset += size
    elif "-" in place:
        first, last = (int(x) for x in place.split("-"))
        count = last - first + 1
        step = -(-len(data) // count)
        pieces = [(first + i, data[i * step:(i + 1) * step]) for i in range(count)]
    else:
        pieces = [(int(place), data)]
    return {"path": path, "data": data, "pieces": pieces, "wrong": wrong}


def main(argv):
    if len(argv) < 2:
        fail("usage: makeset.py OUT [OPTION ...] FILE ...")
    out = argv[1]
    options = {"id": "812", "extra": "std", "header": "0", "keycode": "rec"}
    volids = {}
    files = []
    crlf = False
    for arg in argv[2:]:
        if arg == "crlf":
            crlf = True
        elif arg.startswith("volid="):
            disk, ident = arg[6:].split(":")
            volids[int(disk)] = ident
        elif "@" not in arg and "=" in arg:
            key, value = arg.split("=", 1)
            if key not in ("id", "disks", "keycode", "header", "extra"):
                fail(f"unknown option {arg!r}")
            options[key] = value
        else:
            files.append(parse_file(arg))

    used = max([d for f in files for d, _ in f["pieces"]] + [1])
    disks = int(options.get("disks", used))
    end = "\r\n" if crlf else "\n"

    # Descriptor lines and the diskette trees.
    if os.path.exists(out):
        shutil.rmtree(out)
    entries = []
    for f in files:
        split = len(f["pieces"]) > 1
        total = None
        for i, (disk, piece) in enumerate(f["pieces"]):
            c = checksum(piece)
            total = c if total is None else reduce(total + c)
            last = i == len(f["pieces"]) - 1
            archived = total + 1 if last and f["wrong"] else total
            entries.append((disk, split, last, archived, f["path"]))
            stored = f["path"]
            if f["path"] == "keycode.rec" and options["keycode"] == "kcd":
                stored = "keycode.kcd"
            target = os.path.join(out, f"disk{disk}", stored)
            os.makedirs(os.path.dirname(target), exist_ok=True)
            with open(target, "ab") as fh:
                fh.write(piece)

    lines = [LABEL + options["id"], "NUMDISKS: " + str(disks)]
    lines += [f"HEADER LINE {i + 1}" for i in range(int(options["header"]))]
    for disk, split, last, archived, path in entries:
        lines.append(f"FILE: {disk} {int(split)} {int(last)} {archived} /{path} {options['extra']}")
    for d in range(1, disks + 1):
        root = os.path.join(out, f"disk{d}")
        os.makedirs(root, exist_ok=True)
        with open(os.path.join(root, f"disk{d:04d}.dat"), "wb") as fh:
            fh.write((LABEL + volids.get(d, options["id"]) + end + f"VOLUME {d}" + end).encode())
    with open(os.path.join(out, "disk1", "archive.dat"), "wb") as fh:
        fh.write(end.join(lines).encode() + end.encode())

    # The card: the joined files, the first volume file and the one-diskette descriptor.
    card = os.path.join(out, "card")
    os.makedirs(card)
    shutil.copyfile(os.path.join(out, "disk1", "disk0001.dat"), os.path.join(card, "disk0001.dat"))
    single = [LABEL + options["id"], "NUMDISKS: 1"] + lines[2:2 + int(options["header"])]
    for f in files:
        stored = f["path"]
        if f["path"] == "keycode.rec" and options["keycode"] == "kcd":
            stored = "keycode.kcd"
        target = os.path.join(card, stored)
        os.makedirs(os.path.dirname(target), exist_ok=True)
        with open(target, "wb") as fh:
            fh.write(f["data"])
        last = [e for e in entries if e[4] == f["path"]][-1]
        value = checksum(f["data"]) if len(f["pieces"]) > 1 else last[3]
        single.append(f"FILE: 1 0 1 {value} /{f['path']} {options['extra']}")
    with open(os.path.join(card, "archive.dat"), "wb") as fh:
        fh.write("\n".join(single).encode() + b"\n")


if __name__ == "__main__":
    main(sys.argv)
