#!/usr/bin/python3
"""Serves one diskette image as MOUNT/disk.img, failing chosen sectors with EIO, as a dying
diskette does, and logs every read the kernel asks of it.

    failing_fuse.py IMAGE MOUNT LOG [LBA | LBA:N ...]

LBA fails every time; LBA:N fails the first N reads that touch it, then reads. Each read is
logged as "first-sector count ok|eio" (512-byte sectors) to LOG once LOG exists: the caller
creates it when counting starts (after udev has probed the loop device). Runs in the
foreground until unmounted.
"""
import errno
import os
import stat
import sys
import threading

try:
    from fuse import FUSE, FuseOSError, Operations
except ImportError:  # Debian's name for the module
    from fusepy import FUSE, FuseOSError, Operations

SECTOR = 512


class FailingImage(Operations):
    def __init__(self, image, log, failures):
        with open(image, "rb") as f:
            self.data = f.read()
        self.log = log
        self.failures = failures  # lba -> remaining failures, None for always
        self.mutex = threading.Lock()

    def getattr(self, path, fh=None):
        if path == "/":
            return {"st_mode": stat.S_IFDIR | 0o755, "st_nlink": 2}
        if path == "/disk.img":
            return {"st_mode": stat.S_IFREG | 0o444, "st_nlink": 1, "st_size": len(self.data)}
        raise FuseOSError(errno.ENOENT)

    def readdir(self, path, fh):
        return [".", "..", "disk.img"]

    def open(self, path, flags):
        if path != "/disk.img":
            raise FuseOSError(errno.ENOENT)
        return 0

    def read(self, path, size, offset, fh):
        with self.mutex:
            first, end = offset // SECTOR, (offset + size + SECTOR - 1) // SECTOR
            failed = False
            for lba in range(first, end):
                if lba in self.failures:
                    left = self.failures[lba]
                    if left is None:
                        failed = True
                    elif left > 0:
                        self.failures[lba] = left - 1
                        failed = True
            if os.path.exists(self.log):
                with open(self.log, "a") as out:
                    out.write("%d %d %s\n" % (first, end - first, "eio" if failed else "ok"))
            if failed:
                raise FuseOSError(errno.EIO)
            return self.data[offset:offset + size]


def main():
    image, mount, log = sys.argv[1:4]
    failures = {}
    for word in sys.argv[4:]:
        lba, _, times = word.partition(":")
        failures[int(lba)] = int(times) if times else None
    FUSE(FailingImage(image, log, failures), mount, foreground=True, ro=True, direct_io=True,
         allow_other=False)


if __name__ == "__main__":
    main()
