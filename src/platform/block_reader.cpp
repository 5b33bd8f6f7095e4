// The block reader: the planned tracks forward, failed requests split into sectors, bounded
// retry passes, and the store of attempts that every read of the same diskette adds to.
#include "platform/block_reader.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include "platform/diskette_store.h"
#include "platform/error.h"

namespace platform {

namespace {

// The largest medium read into memory: a FAT16 image of a few dozen megabytes is read whole as
// a diskette is; a medium larger than this is no diskette, and holding it would take the memory
// of the machine.
constexpr uint64_t maxBytes = uint64_t{256} << 20;
// Requests on a medium larger than a diskette take whole tracks of at least this many sectors.
constexpr uint32_t largeRequest = 128;

bool& whole() {
    static bool flag = false;
    return flag;
}

std::function<void(uint64_t, uint64_t)>& observer() {
    static std::function<void(uint64_t, uint64_t)> f;
    return f;
}

// Each request made of a drive, one line "first count ok|failed", appended to the file that
// VELT_TRACE_BLOCKS names: what the tests count of the bytes a reader asks for.
void trace(uint64_t lba, uint32_t count, bool ok) {
    static const char* file = std::getenv("VELT_TRACE_BLOCKS");
    if (file == nullptr || *file == '\0')
        return;
    std::ofstream out(file, std::ios::app | std::ios::binary);  // "\n" on every system
    out << lba << " " << count << (ok ? " ok\n" : " failed\n");
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

void readWholeDiskettes(bool w) {
    whole() = w;
}

bool wholeDiskettes() {
    return whole();
}

void observeDisketteReads(std::function<void(uint64_t, uint64_t)> f) {
    observer() = std::move(f);
}

void forgetDiskettes() {
    forgetStoredDiskettes();
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
    tried_.assign(count, false);
}

DisketteCopy::~DisketteCopy() = default;

bool DisketteCopy::tryRead(uint64_t lba, uint32_t count) {
    ++requests_;
    std::string buffer(size_t{count} * blockBytes, '\0');
    try {
        source_->read(lba, count, buffer.data());
    } catch (const Error&) {
        trace(lba, count, false);
        return false;
    }
    trace(lba, count, true);
    std::memcpy(&data_[lba * blockBytes], buffer.data(), buffer.size());
    for (uint64_t s = lba; s < lba + count; ++s) {
        readable_[s] = true;
        tried_[s] = true;
    }
    return true;
}

uint64_t DisketteCopy::trackEnd(uint64_t sector) const {
    return std::min<uint64_t>((sector / trackSectors_ + 1) * trackSectors_, sectors());
}

bool DisketteCopy::planned(uint64_t sector) const {
    return sector < identityEnd_ || wanted_.empty() || whole() || wanted_[sector];
}

void DisketteCopy::plan(std::vector<bool> wanted) {
    if (!wanted.empty())
        wanted.resize(sectors(), false);
    wanted_ = std::move(wanted);
}

void DisketteCopy::identifyBy(uint64_t end, std::vector<uint64_t> mirror) {
    identityEnd_ = std::min(end, sectors());
    mirror_ = std::move(mirror);
    mirror_.resize(identityEnd_);
    for (uint64_t s = 0; s < identityEnd_; ++s)
        if (mirror_[s] >= identityEnd_)
            mirror_[s] = s;
}

void DisketteCopy::start() {
    started_ = true;
    const std::optional<Geometry> g = source_->geometry();
    uint32_t first = g && g->sectorsPerTrack != 0 ? g->sectorsPerTrack : trackGuess(sectors());
    first = static_cast<uint32_t>(std::min<uint64_t>(first, sectors()));
    trackSectors_ = first;
    if (first == 0)
        return;
    std::vector<uint64_t> failed;
    readSpan(0, first, failed);
    next_ = first;
    // The boot sector's geometry, where it reads and makes sense; the guess otherwise.
    if (readable_[0]) {
        const uint32_t sectorBytes = le16(data_, 11);
        const uint32_t perTrack = le16(data_, 24);
        if (sectorBytes >= blockBytes && sectorBytes % blockBytes == 0 && sectorBytes <= 4096 &&
            perTrack >= 1 && perTrack <= 255)
            trackSectors_ = perTrack * (sectorBytes / blockBytes);
    }
    if (sectors() > storedSectors)
        trackSectors_ *= (largeRequest + trackSectors_ - 1) / trackSectors_;
    retry(failed);
}

// The store is asked once the identifying sectors have been tried: it gives what earlier
// attempts read, and takes what this one reads from then on.
void DisketteCopy::identify() {
    identified_ = true;
    if (identityEnd_ == 0)
        return;
    DisketteLook look;
    look.bytes = bytes_;
    look.data = &data_;
    look.readable = &readable_;
    look.end = identityEnd_;
    look.mirror = mirror_;
    stored_ = recallDiskette(look);
    if (!stored_)
        return;
    known_ = stored_->known || std::any_of(stored_->state.begin(), stored_->state.end(),
                                           [](SectorState s) { return s == SectorState::read; });
    pull();
    push(0, std::max(next_, identityEnd_));
    requestsAtIdentity_ = requests_;
}

bool DisketteCopy::readBefore() {
    if (!started_)
        start();
    readThrough(identityEnd_);
    if (!identified_)
        identify();
    pull();
    if (!known_ || requests_ != requestsAtIdentity_)
        return false;
    for (uint64_t s = identityEnd_; s < sectors(); ++s)
        if (!readable_[s] && planned(s))
            return false;
    return true;
}

// What other attempts at the diskette read since this one last looked.
void DisketteCopy::pull() {
    if (!stored_ || stored_->version == storedVersion_)
        return;
    for (uint64_t s = 0; s < sectors(); ++s) {
        if (!readable_[s] && stored_->state[s] == SectorState::read) {
            std::memcpy(&data_[s * blockBytes], &stored_->data[s * blockBytes], blockBytes);
            readable_[s] = true;
        }
    }
    storedVersion_ = stored_->version;
}

// What this attempt learnt of [first, end) goes to the store, and from there to its files.
void DisketteCopy::push(uint64_t first, uint64_t end) {
    if (!stored_)
        return;
    end = std::min(end, sectors());
    bool changed = false;
    for (uint64_t s = first; s < end; ++s) {
        if (readable_[s] && stored_->state[s] != SectorState::read) {
            std::memcpy(&stored_->data[s * blockBytes], &data_[s * blockBytes], blockBytes);
            stored_->state[s] = SectorState::read;
            changed = true;
        } else if (!readable_[s] && tried_[s] && stored_->state[s] == SectorState::untried) {
            stored_->state[s] = SectorState::failed;
            changed = true;
        }
    }
    if (!changed)
        return;
    saveDisketteSectors(*stored_, first, end);
    storedVersion_ = stored_->version;
}

// One request for the span; when it fails, its planned sectors (or all) alone.
void DisketteCopy::readSpan(uint64_t from, uint64_t to, std::vector<uint64_t>& failed,
                            bool everySector) {
    if (tryRead(from, static_cast<uint32_t>(to - from)))
        return;
    for (uint64_t s = from; s < to; ++s) {
        if (readable_[s] || (!everySector && !planned(s)))
            continue;
        if (!tryRead(s, 1)) {
            tried_[s] = true;
            failed.push_back(s);
        }
    }
}

void DisketteCopy::readThrough(uint64_t end) {
    end = std::min(end, sectors());
    if (!started_)
        start();
    if (!identified_ && identityEnd_ != 0 && end > identityEnd_) {
        readThrough(identityEnd_);
        identify();
    }
    pull();
    std::vector<uint64_t> failed;
    while (next_ < end) {
        const uint64_t first = next_, last = trackEnd(next_);
        // A track the plan holds, without what an earlier attempt gave: the drive reads a
        // whole track in one turn, so one request spans every sector still missing in it.
        bool wantedHere = false;
        for (uint64_t s = first; s < last && !wantedHere; ++s)
            wantedHere = planned(s) && !readable_[s];
        if (wantedHere) {
            // A track not read at all is asked for whole, which takes one turn wherever the
            // head is; of a track partly known, only the span of what is still missing.
            const bool fresh =
                std::none_of(readable_.begin() + static_cast<long>(first),
                             readable_.begin() + static_cast<long>(last), [](bool r) { return r; });
            const auto missing = [&](uint64_t s) { return !readable_[s] && (fresh || planned(s)); };
            uint64_t from = first, to = last;
            while (from < to && !missing(from))
                ++from;
            while (to > from && !missing(to - 1))
                --to;
            readSpan(from, to, failed);
        }
        next_ = last;
        push(first, last);
        if (wantedHere && observer())
            observer()(next_, sectors());
    }
    retry(failed);
}

void DisketteCopy::need(uint64_t first, uint64_t end) {
    end = std::min(end, sectors());
    readThrough(end);
    // A sector of the start that did not read may be one an earlier attempt gave.
    if (!identified_ && identityEnd_ != 0 && next_ >= identityEnd_ && firstUnread(first, end))
        identify();
    // A sector the plan left out (a FAT that did not tell all): read alone, late.
    std::vector<uint64_t> failed;
    for (uint64_t s = first; s < end; ++s) {
        if (readable_[s] || tried_[s])
            continue;
        uint64_t e = s;
        while (e < end && !readable_[e] && !tried_[e] && e < trackEnd(s))
            ++e;
        readSpan(s, e, failed, true);
        for (uint64_t f = s; f < e; ++f)
            tried_[f] = true;
        push(s, e);
        s = e - 1;
    }
    retry(failed);
}

void DisketteCopy::retry(const std::vector<uint64_t>& failed) {
    for (int pass = 0; pass < retryPasses; ++pass) {
        bool missing = false;
        for (uint64_t s : failed) {
            if (!readable_[s]) {
                missing = !tryRead(s, 1) || missing;
            }
        }
        if (failed.empty() || !missing)
            break;
    }
    for (uint64_t s : failed)
        push(s, s + 1);
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
    for (uint64_t s = 0; s < sectors(); ++s)
        if (!readable_[s] && tried_[s])
            out.push_back(s);
    return out;
}

}  // namespace platform
