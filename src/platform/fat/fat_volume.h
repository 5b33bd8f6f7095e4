// One FAT12/FAT16 volume read from an image: its FAT, cluster chains and folders, all checked.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/block_reader.h"
#include "platform/fat/fat_boot.h"
#include "platform/medium.h"

namespace platform::fat {

struct Record {
    MediumEntry entry;
    uint32_t cluster = 0;  // the first cluster; 0 for the root and an empty file
};

struct Folder {
    std::vector<Record> records;
    std::map<std::string, size_t> byLowerName;  // names differ in more than letter case
    // The record whose name matches without regard to case.
    const Record* find(const std::string& name) const;
};

// Where a path leads.
struct Place {
    enum Kind { found, missing, missingFolder };  // missingFolder: a folder on the way
    Kind kind = found;
    Record record;                  // when found
    std::string path;               // the medium's spelling, the rest as written after a miss
    std::vector<uint32_t> lineage;  // first clusters of the folders from the root down to it
};

class Volume {
  public:
    // Reads and checks the boot sector, the FAT and the root folder's place; raises 57 when
    // they are unusable. A FAT sector that did not read is taken from another copy of the FAT.
    explicit Volume(std::unique_ptr<BlockSource> source);

    const Layout& layout() const { return layout_; }
    uint64_t freeClusters() const { return freeClusters_; }
    std::string label();

    Place locate(const std::string& path);
    // The folder `place` found.
    const Folder& folder(const Place& place);
    // The clusters that hold a file's bytes, checked against its length.
    std::vector<uint32_t> fileChain(const Record& file, const std::string& path);
    // `size` bytes from `pos` of the bytes the chain holds; raises 57 naming `path` when a
    // sector they need never read.
    void readChain(const std::vector<uint32_t>& chain, uint64_t pos, char* out, size_t size,
                   const std::string& path);
    // The whole diskette as read, with what its unread sectors held; the rest of the plan is
    // read first.
    DisketteRead whole();
    // Whether an earlier attempt gave every sector this diskette needs.
    bool readBefore() { return copy_.readBefore(); }

  private:
    uint32_t next(uint32_t cluster) const;
    std::vector<uint32_t> chain(uint32_t first, const std::string& path);
    // Copies bytes of the volume; the sector number of one that never read, if any.
    std::optional<uint64_t> read(uint64_t offset, char* out, size_t size);
    void readFat();
    std::vector<uint64_t> fatMirrors() const;
    bool fatCopiesAgree();
    // Every file and folder below the folder, with its path and clusters.
    struct Owner {
        std::string path;
        uint64_t start = 0;   // where the cluster starts in the file
        uint64_t length = 0;  // the file's length
    };
    void walk(const std::vector<uint32_t>& lineage, const std::string& path,
              std::map<uint32_t, Owner>& owners);
    const Folder& folderAt(const std::vector<uint32_t>& lineage, const std::string& path);
    Folder parse(const std::vector<uint8_t>& bytes, const std::vector<uint32_t>& lineage,
                 const std::string& path);

    DisketteCopy copy_;
    Layout layout_;
    std::vector<uint8_t> fat_;
    uint64_t freeClusters_ = 0;
    std::string label_;
    std::map<uint32_t, Folder> folders_;  // by first cluster, the root as 0
    // Each folder's first cluster with the one entry that leads to it: a folder reached by
    // two entries would make the tree a graph, with walks that never end.
    std::map<uint32_t, std::pair<uint32_t, size_t>> parents_;
};

}  // namespace platform::fat
