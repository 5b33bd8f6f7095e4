// The store of diskette attempts: what was read of each diskette over every attempt, in any
// drive, in this run and, through the state folder, in earlier ones. Per diskette an image and
// a map of its sectors (read, tried and failed, not tried), as a rescue's map file keeps them.
// The image is written in place as sectors are read; the map is written beside and renamed
// after, so a map never claims a sector that its image does not hold.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace platform {

// The diskettes the store keeps, the most recently used; older ones are removed.
constexpr size_t storedDiskettes = 64;
// The largest medium kept (a 2.88 MB diskette): nothing larger is a diskette.
constexpr uint64_t storedSectors = 5760;

enum class SectorState : uint8_t { untried, read, failed };

struct StoredDiskette {
    uint64_t bytes = 0;
    std::string data;                // whole sectors, zeros where none read
    std::vector<SectorState> state;  // per sector
    uint64_t version = 0;            // raised by every change, for copies that follow it
    uint64_t used = 0;               // the store's use order
    std::filesystem::path file;      // the image in the store's folder; empty in memory only
    bool known = false;              // held sectors before this run's first look
};

// What a copy read of the sectors that identify a diskette (the boot sector, the FATs, the
// root folder): `mirror[s]` is the sector of another FAT that holds what sector s holds, or s.
struct DisketteLook {
    uint64_t bytes = 0;
    const std::string* data = nullptr;
    const std::vector<bool>* readable = nullptr;
    uint64_t end = 0;
    std::vector<uint64_t> mirror;
};

// The stored diskette that the look identifies, or a new one. Nothing for a medium that is no
// diskette (too large) or whose boot sector did not read.
std::shared_ptr<StoredDiskette> recallDiskette(const DisketteLook& look);
// Writes sectors [first, end) of the diskette to its files, as the entry now holds them.
void saveDisketteSectors(StoredDiskette& diskette, uint64_t first, uint64_t end);
// Every stored diskette forgotten in memory (tests; the files stay).
void forgetStoredDiskettes();

}  // namespace platform
