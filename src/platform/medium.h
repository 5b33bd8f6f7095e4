// The medium: the file system of one drive, the one interface every file operation of the
// converter goes through. Host folders, diskette images and the fault wrapper implement it.
//
// Paths are relative to the medium's root, names separated by "\", no leading "\" ("" is the
// root). They name entries exactly as the medium spells them; `resolve` finds that spelling for
// a name written in another letter case. Every failure raises platform::Error with the codes of
// the designed-for platform (err:: in platform/error.h): fileNotFound, pathNotFound,
// pathFileAccess (an entry in the way, a folder not empty), fileAlreadyExists, diskFull,
// permissionDenied (write-protected), deviceIO.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace platform {

struct MediumEntry {
    std::string name;
    bool folder = false;
    bool hidden = false;   // hidden or system: the listings of the copy walk skip it
    bool link = false;     // a symbolic link or junction: never followed, never listed as a folder
    bool special = false;  // neither file, folder nor link (a device, a pipe)
    uint64_t length = 0;
};

// A diskette read through the block reader, as read: its bytes (zeros where a sector never
// read), the sectors that never read, and what they held.
struct SectorImage {
    std::string image;
    std::vector<uint64_t> unread;       // 512-byte sector numbers, increasing
    uint64_t unneeded = 0;              // of them, in free space, after a file's end, unused
    uint64_t fromOtherFat = 0;          // of them, FAT sectors taken from the other copy
    std::vector<std::string> filesHit;  // the files that need one, as medium paths
    uint64_t identity = 0;              // the sectors at the start that tell the diskette
    bool folderUnreadable = false;      // a folder lies on one: the files are not all known
};

// An open file. Reads and writes go on from the current position.
class MediumFile {
  public:
    virtual ~MediumFile() = default;
    // Up to `size` bytes; fewer only at the end of the file.
    virtual size_t read(void* buffer, size_t size) = 0;
    // Writes every byte or raises; a medium that fills up keeps what fitted and raises
    // err::diskFull.
    virtual void write(const void* data, size_t size) = 0;
    // Closes now, so that a failure to keep the written bytes is seen.
    virtual void close() = 0;
};

enum class OpenMode {
    read,
    write,      // from empty (an existing file is truncated)
    append,     // at the end
    createNew,  // a new file: 58 when one exists
};

class Medium {
  public:
    virtual ~Medium() = default;

    // The entries of a folder, in the medium's order; err::pathNotFound when it is not a folder.
    virtual std::vector<MediumEntry> list(const std::string& folder) = 0;
    // The entry at `path` itself (a link as a link), or nothing.
    virtual std::optional<MediumEntry> entry(const std::string& path) = 0;
    // The medium's spelling of `path`: each name that does not exist as written is matched
    // without regard to case (the smallest name when several match); names that match nothing
    // are kept as written, and so is everything below them.
    virtual std::string resolve(const std::string& path);

    // Opens a file; `create` makes a missing file for write and append. err::fileNotFound for a
    // missing file, err::pathNotFound for a missing folder on the way, err::pathFileAccess for a
    // folder.
    virtual std::unique_ptr<MediumFile> open(const std::string& path, OpenMode mode,
                                             bool create) = 0;
    // err::pathFileAccess when something of that name exists, err::pathNotFound when its parent
    // does not.
    virtual void makeFolder(const std::string& path) = 0;
    // err::pathFileAccess when not empty, err::pathNotFound when not there; never the root.
    virtual void removeFolder(const std::string& path) = 0;
    // A file (a link as a link); err::fileNotFound when there is none.
    virtual void deleteFile(const std::string& path) = 0;
    // Gives a folder or file another name in the same folder; err::fileAlreadyExists when the new
    // name is taken, err::fileNotFound when the old one is not there.
    virtual void rename(const std::string& from, const std::string& to) = 0;

    // The target file (created, or replaced) becomes a byte copy of `from` on `source`, which
    // may be this medium or another. The default copies in blocks through open().
    virtual void copyFileFrom(Medium& source, const std::string& from, const std::string& to);

    virtual uint64_t freeBytes() = 0;
    // The allocation unit in bytes, 0 when the medium does not tell.
    virtual uint64_t clusterBytes() { return 0; }
    // The volume label, "" when it has none or does not tell.
    virtual std::string label() { return ""; }

    // Flushes every file and folder below `folder`, and the folder itself, to the device.
    virtual void flushTree(const std::string& folder) = 0;
    // Opens a written file to be read back from the device itself, past every cache.
    virtual std::unique_ptr<MediumFile> openReadBack(const std::string& path) {
        return open(path, OpenMode::read, false);
    }

    // The host path of an entry whose bytes may be read there directly, past this medium ("" when
    // they must pass through it); a copy between host folders lets the kernel move them.
    virtual std::string hostPath(const std::string& /*path*/) { return ""; }

    // For a diskette read through the block reader: the whole of it, read now if it was not
    // yet. Nothing for other media. Raises err::deviceIO when the diskette is damaged.
    virtual std::optional<SectorImage> sectorImage() { return std::nullopt; }
    // For such a diskette: whether an earlier attempt (in any drive, in this run or an earlier
    // one) gave every sector that reading it needs, so that the drive is not asked again.
    virtual bool disketteReadBefore() { return false; }

  protected:
    // The names in a folder, which is all resolve needs: every file a copy creates is resolved
    // first, so a medium that can list names alone saves a look at each entry. By default, the
    // names of list().
    virtual std::vector<std::string> names(const std::string& folder);
};

// "a\\b" for ("a", "b"); "b" for ("", "b").
std::string joinPath(const std::string& folder, const std::string& name);
// The folder part of a medium path ("" for a name at the root) and the last name.
std::string parentOf(const std::string& path);
std::string nameOf(const std::string& path);

// Copies a file through open() in blocks; what Medium::copyFileFrom does by default.
void copyInBlocks(Medium& source, const std::string& from, Medium& target, const std::string& to);

}  // namespace platform
