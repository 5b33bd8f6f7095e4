// The block reader: a diskette read whole into memory, once, at the drive's pace, with the map
// of the sectors that never read.
//
// A drive reads a whole track in one revolution, so the reader asks for whole tracks (the
// geometry from the boot sector), in increasing order, each sector once. A request that fails
// is split into its sectors at once; the sectors that still fail are retried in later passes
// over them alone. What never reads stays in the map: a reader that knows the file system
// decides what that costs. The read goes forward as far as it is needed: the start of the
// diskette (boot sector, FATs, root folder) to name the drive, the rest when files are read.
//
// Attempts add up: a copy with sectors missing is kept for the run, and a later read of the
// same diskette in any drive takes what was read before and asks the drive only for the
// sectors still missing. The same diskette: the same size and the same start, to the byte and
// read whole both times: the boot sector (with the volume serial number the diskette got when
// it was formatted), the FATs (where every file lies) and the root folder (the volume file
// that names the set and the diskette's place in it).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/block_source.h"

namespace platform {

// Later passes over the sectors that failed, after the request that failed and the read of
// each of its sectors alone: each bad sector is tried at most retryPasses + 2 times. A floppy
// driver already retries a failed read a few times before it reports it, so a sector that
// fails this often is rarely read by more; every try wears the diskette under the head, and
// another attempt (the diskette put back, or a copy of it) adds to this one.
constexpr int retryPasses = 3;

class DisketteCopy {
  public:
    // Reads nothing yet. Raises 57 for a medium larger than 256 MiB.
    explicit DisketteCopy(std::unique_ptr<BlockSource> source);
    ~DisketteCopy();

    uint64_t bytes() const { return bytes_; }
    uint64_t sectors() const { return readable_.size(); }
    // Reads forward until every sector before `end` (a sector number) has been tried, with the
    // retries of what failed. The boot sector is read first of all.
    void readThrough(uint64_t end);
    void readAll() { readThrough(sectors()); }
    // The bytes of the copy, zeros where a sector never read.
    const std::string& data() const { return data_; }
    // Whether the sector read (after readThrough covered it).
    bool readable(uint64_t sector) const { return readable_[sector]; }
    // The first sector in [first, end) that never read, nothing when all read.
    std::optional<uint64_t> firstUnread(uint64_t first, uint64_t end) const;
    // Every sector tried that never read, in increasing order.
    std::vector<uint64_t> unread() const;
    // Requests made of the drive so far.
    uint64_t requests() const { return requests_; }
    // The sectors before `end` identify the diskette: once they are read whole, what an earlier
    // attempt at the same diskette read is taken, and this one adds to it.
    void identify(uint64_t end);

  private:
    struct Track {
        uint64_t first;
        uint32_t count;
    };
    void start();
    Track trackAt(uint64_t sector) const;
    bool tryRead(uint64_t lba, uint32_t count);
    void retry(const std::vector<uint64_t>& failed);
    void keep();

    std::unique_ptr<BlockSource> source_;
    uint64_t bytes_ = 0;
    std::string data_;
    std::vector<bool> readable_;
    uint64_t next_ = 0;  // the first sector not tried yet
    bool started_ = false;
    uint32_t trackSectors_ = 0;
    uint64_t requests_ = 0;
    std::shared_ptr<struct Attempt> attempt_;  // in the run's store of attempts
};

// Called as the read of a diskette goes on (sectors tried so far, sectors in all), so that a
// long read keeps the window alive. One observer at a time; an empty function for none.
void observeDisketteReads(std::function<void(uint64_t done, uint64_t total)> observer);
// The run's store of earlier attempts, emptied (tests that read one image several times).
void forgetDiskettes();

}  // namespace platform
