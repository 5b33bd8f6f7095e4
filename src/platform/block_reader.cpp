// The block reader: whole tracks forward, failed requests split into sectors, bounded retry
// passes, and the run's store of attempts that later reads of the same diskette add to.
#include "platform/block_reader.h"

#include <algorithm>
#include <cstring>

#include "platform/error.h"

namespace platform {

// What the run has read of one diskette, over every attempt.
struct Attempt {
    uint64_t bytes = 0;
    uint64_t identity = 0;  // sectors at the start that identify the diskette
    std::string data;
    std::vector<bool> readable;
};

namespace {

// The largest medium whose attempts are kept (a 2.88 MB diskette), and how many are kept: a
// set of diskettes read twice over fits, and nothing of a large image is held twice.
constexpr uint64_t keptSectors = 5760;
constexpr size_t keptAttempts = 32;
// The largest medium read into memory: a FAT16 image of a few dozen megabytes is read whole as
// a diskette is; a medium larger than this is no diskette, and holding it would take the memory
// of the machine.
constexpr uint64_t maxBytes = uint64_t{256} << 20;
// Requests on a medium larger than a diskette take whole tracks of at least this many sectors.
constexpr uint32_t largeRequest = 128;

std::vector<std::shared_ptr<Attempt>>& store() {
    static std::vector<std::shared_ptr<Attempt>> attempts;  // the latest used last
    return attempts;
}

std::function<void(uint64_t, uint64_t)>& observer() {
    static std::function<void(uint64_t, uint64_t)> f;
    return f;
}

uint32_t le16(const std::string& b, size_t at) {
    return static_cast<uint8_t>(b[at]) | static_cast<uint32_t>(static_cast<uint8_t>(b[at + 1]))
                                             << 8;
}

// The sectors a track holds on the standard diskette formats, by their size: the first
// request, before the boot sector has told the geometry.
uint32_t trackGuess(uint64_t sectors) {
    switch (sectors) {
        case 320:
        case 640:
            return 8;
        case 360:
        case 720:
        case 1440:
            return 9;
        case 2400:
            return 15;
        case 3360:
            return 21;
        case 5760:
            return 36;
        default:
            return 18;
    }
}

}  // namespace

void observeDisketteReads(std::function<void(uint64_t, uint64_t)> f) {
    observer() = std::move(f);
}

void forgetDiskettes() {
    store().clear();
}

DisketteCopy::DisketteCopy(std::unique_ptr<BlockSource> source) : source_(std::move(source)) {
    bytes_ = source_->bytes();
    if (bytes_ > maxBytes)
        throw Error(err::deviceIO, "Not a diskette image: it holds " + std::to_string(bytes_) +
                                       " bytes, more than the " + std::to_string(maxBytes) +
                                       " a diskette reader takes");
    const uint64_t count = source_->sectors();
    data_.assign(count * blockBytes, '\0');
    readable_.assign(count, false);
}

DisketteCopy::~DisketteCopy() = default;

bool DisketteCopy::tryRead(uint64_t lba, uint32_t count) {
    ++requests_;
    std::string buffer(size_t{count} * blockBytes, '\0');
    try {
        source_->read(lba, count, buffer.data());
    } catch (const Error&) {
        return false;
    }
    std::memcpy(&data_[lba * blockBytes], buffer.data(), buffer.size());
    for (uint64_t s = lba; s < lba + count; ++s)
        readable_[s] = true;
    return true;
}

DisketteCopy::Track DisketteCopy::trackAt(uint64_t sector) const {
    const uint64_t end =
        std::min<uint64_t>((sector / trackSectors_ + 1) * trackSectors_, sectors());
    return {sector, static_cast<uint32_t>(end - sector)};
}

void DisketteCopy::start() {
    const std::optional<Geometry> g = source_->geometry();
    uint32_t first = g && g->sectorsPerTrack != 0 ? g->sectorsPerTrack : trackGuess(sectors());
    first = static_cast<uint32_t>(std::min<uint64_t>(first, sectors()));
    trackSectors_ = first;
    if (first == 0)
        return;
    std::vector<uint64_t> failed;
    if (!tryRead(0, first)) {
        for (uint32_t s = 0; s < first; ++s)
            if (!tryRead(s, 1))
                failed.push_back(s);
    }
    next_ = first;
    // The boot sector's geometry, where it reads and makes sense; the guess otherwise.
    if (readable_[0]) {
        const uint32_t sectorBytes = le16(data_, 11);
        const uint32_t perTrack = le16(data_, 24);
        if (sectorBytes >= blockBytes && sectorBytes % blockBytes == 0 && sectorBytes <= 4096 &&
            perTrack >= 1 && perTrack <= 255)
            trackSectors_ = perTrack * (sectorBytes / blockBytes);
    }
    if (sectors() > keptSectors)
        trackSectors_ *= (largeRequest + trackSectors_ - 1) / trackSectors_;
    retry(failed);
}

void DisketteCopy::identify(uint64_t end) {
    readThrough(end);
    if (sectors() > keptSectors || end == 0 || firstUnread(0, end))
        return;
    std::vector<std::shared_ptr<Attempt>>& attempts = store();
    const auto same = [&](const std::shared_ptr<Attempt>& a) {
        return a->bytes == bytes_ && a->identity == end &&
               std::memcmp(a->data.data(), data_.data(), end * blockBytes) == 0;
    };
    const auto it = std::find_if(attempts.begin(), attempts.end(), same);
    if (it == attempts.end()) {
        attempt_ = std::make_shared<Attempt>();
        attempt_->bytes = bytes_;
        attempt_->identity = end;
        attempt_->data = data_;
        attempt_->readable = readable_;
        return;  // kept once it has sectors missing
    }
    attempt_ = *it;
    for (uint64_t s = end; s < sectors(); ++s) {
        if (attempt_->readable[s] && !readable_[s]) {
            std::memcpy(&data_[s * blockBytes], &attempt_->data[s * blockBytes], blockBytes);
            readable_[s] = true;
        }
    }
}

// Adds this copy to its attempt, which the store keeps while sectors are missing.
void DisketteCopy::keep() {
    if (!attempt_ || next_ < sectors())
        return;
    bool missing = false;
    for (uint64_t s = 0; s < sectors(); ++s) {
        if (readable_[s] && !attempt_->readable[s]) {
            std::memcpy(&attempt_->data[s * blockBytes], &data_[s * blockBytes], blockBytes);
            attempt_->readable[s] = true;
        }
        missing = missing || !attempt_->readable[s];
    }
    std::vector<std::shared_ptr<Attempt>>& attempts = store();
    attempts.erase(std::remove(attempts.begin(), attempts.end(), attempt_), attempts.end());
    if (missing) {
        attempts.push_back(attempt_);
        if (attempts.size() > keptAttempts)
            attempts.erase(attempts.begin());
    }
}

void DisketteCopy::readThrough(uint64_t end) {
    end = std::min(end, sectors());
    if (!started_) {
        started_ = true;
        start();
    }
    std::vector<uint64_t> failed;
    while (next_ < end) {
        const Track t = trackAt(next_);
        // Only what is missing: a diskette put back has most of its sectors already.
        uint64_t from = t.first, to = t.first + t.count;
        while (from < to && readable_[from])
            ++from;
        while (to > from && readable_[to - 1])
            --to;
        if (from < to && !tryRead(from, static_cast<uint32_t>(to - from))) {
            for (uint64_t s = from; s < to; ++s)
                if (!readable_[s] && !tryRead(s, 1))
                    failed.push_back(s);
        }
        next_ = t.first + t.count;
        if (observer())
            observer()(next_, sectors());
    }
    retry(failed);
    keep();
}

void DisketteCopy::retry(const std::vector<uint64_t>& failed) {
    for (int pass = 0; pass < retryPasses; ++pass) {
        bool missing = false;
        for (uint64_t s : failed) {
            if (!readable_[s]) {
                missing = !tryRead(s, 1) || missing;
            }
        }
        if (!missing)
            return;
    }
}

std::optional<uint64_t> DisketteCopy::firstUnread(uint64_t first, uint64_t end) const {
    end = std::min(end, sectors());
    for (uint64_t s = first; s < end; ++s)
        if (!readable_[s])
            return s;
    return std::nullopt;
}

std::vector<uint64_t> DisketteCopy::unread() const {
    std::vector<uint64_t> out;
    for (uint64_t s = 0; s < next_; ++s)
        if (!readable_[s])
            out.push_back(s);
    return out;
}

}  // namespace platform
