// The block reader: a diskette read into memory at the drive's pace, as far as it is needed,
// with the map of the sectors that never read.
//
// A drive reads a whole track in one revolution, so the reader asks for whole tracks (the
// geometry from the boot sector), in increasing order, each sector once. A request that fails
// is split into its sectors at once; the sectors that still fail are retried in later passes
// over them alone. What never reads stays in the map: a reader that knows the file system
// decides what that costs.
//
// The read goes forward as far as it is needed: the start of the diskette (boot sector, FATs,
// root folder) to name the drive, then, as files are read, the tracks that the plan holds (the
// tracks in use, by the FAT) up to the one the next file needs, never backward. Reading whole
// diskettes (for kept images) plans every track.
//
// Attempts add up: once the start has identified the diskette, what any earlier attempt read
// of it (in this run, in another drive, or in an earlier run through the state folder's store)
// is taken, and the drive is asked only for the planned sectors still missing; what this
// attempt reads goes to the store as it is read.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/block_source.h"

namespace platform {

struct StoredDiskette;

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
    // Reads forward through the planned tracks until every planned sector before `end` (a
    // sector number) has been tried, with the retries of what failed. The first track (with
    // the boot sector) is read first of all, and every sector before the identity's end.
    void readThrough(uint64_t end);
    // What [first, end) needs: forward through `end`, then any sector of it never tried.
    void need(uint64_t first, uint64_t end);
    // Everything the plan holds.
    void finish() { readThrough(sectors()); }
    // The sectors before `end` identify the diskette; `mirror[s]` is the sector of another FAT
    // that holds what sector s holds, or s. The store is asked when the read first goes past
    // them (or readBefore() asks).
    void identifyBy(uint64_t end, std::vector<uint64_t> mirror);
    // The sectors a reader of the file system needs beyond the identifying ones; every sector
    // while no plan is set, or while whole diskettes are read.
    void plan(std::vector<bool> wanted);
    bool planned(uint64_t sector) const;
    // True when an earlier attempt gave every planned sector, so that nothing of this diskette
    // beyond its start is asked of the drive.
    bool readBefore();

    // The bytes of the copy, zeros where a sector never read.
    const std::string& data() const { return data_; }
    bool readable(uint64_t sector) const { return readable_[sector]; }
    // The first sector in [first, end) that never read, nothing when all read.
    std::optional<uint64_t> firstUnread(uint64_t first, uint64_t end) const;
    // Every sector tried that never read (in this attempt or an earlier one), increasing.
    std::vector<uint64_t> unread() const;
    // Requests made of the drive so far.
    uint64_t requests() const { return requests_; }

  private:
    void start();
    uint64_t trackEnd(uint64_t sector) const;
    bool tryRead(uint64_t lba, uint32_t count);
    void readSpan(uint64_t from, uint64_t to, std::vector<uint64_t>& failed,
                  bool everySector = false);
    void retry(const std::vector<uint64_t>& failed);
    void identify();
    void pull();
    void push(uint64_t first, uint64_t end);

    std::unique_ptr<BlockSource> source_;
    uint64_t bytes_ = 0;
    std::string data_;
    std::vector<bool> readable_;
    std::vector<bool> tried_;
    std::vector<bool> wanted_;  // empty: every sector
    uint64_t next_ = 0;         // the first sector the forward read has not passed
    bool started_ = false;
    uint32_t trackSectors_ = 0;
    uint64_t requests_ = 0;
    uint64_t identityEnd_ = 0;
    std::vector<uint64_t> mirror_;
    bool identified_ = false;
    bool known_ = false;  // the store held sectors of it before this attempt
    uint64_t requestsAtIdentity_ = 0;
    std::shared_ptr<StoredDiskette> stored_;
    uint64_t storedVersion_ = ~uint64_t{0};  // none pulled yet
};

// Whole diskettes are read, every track, so that an image of each can be kept.
void readWholeDiskettes(bool whole);
bool wholeDiskettes();
// Called after each track the drive is asked for (sectors passed so far, sectors in all), so
// that a long read keeps the window alive. One observer at a time; an empty function for none.
void observeDisketteReads(std::function<void(uint64_t done, uint64_t total)> observer);
// The run's store of earlier attempts, emptied in memory (tests that read one image several
// times); a state folder's files stay.
void forgetDiskettes();

}  // namespace platform
