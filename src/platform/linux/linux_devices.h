// Discovery of the machine's media on Linux: the mount table, the block-device tree and the
// volume labels, read below a root folder (the host's "/", or a fixture tree in tests). The
// drive table (linux_drives.h) turns what is found here into lettered drives.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "platform/linux_drives.h"

namespace platform::linuxdev {

// One line of the mount table, escapes (\040 and the like) decoded.
struct MountEntry {
    std::string source;
    std::string mountPoint;
    std::string fsType;
};

// The entries of a mount table text (/proc/self/mounts); malformed lines are skipped.
std::vector<MountEntry> parseMounts(const std::string& text);

// A mount-table field with its octal escapes (\040, \011, \012, \134) decoded.
std::string decodeMountField(const std::string& field);

// A /dev/disk/by-label name with its udev escapes (\x20, \x2f) decoded.
std::string decodeLabel(const std::string& name);

// True when the block device `disk` (a name in <root>/sys/block) is a floppy drive: a kernel
// floppy (fd0), a USB mass-storage device of the floppy subclass, one udev marks as a floppy,
// or a removable disk whose size is a diskette's or whose model says floppy.
bool isFloppyDrive(const std::filesystem::path& root, const std::string& disk);

// Everything that deserves a letter now, given the mount table text: "/" (key "root"), every
// floppy drive, mounted or not, and every other mounted file system of a block device, a
// network share, or a RAM file system mounted for the user. The root first, then by key.
std::vector<Found> discover(const std::filesystem::path& root, const std::string& mountTable);

// The mount table text below `root` ("" when it cannot be read).
std::string readMountTable(const std::filesystem::path& root);

}  // namespace platform::linuxdev
