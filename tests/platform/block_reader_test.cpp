// The block reader under the FAT reader: what a drive is asked for (whole tracks forward,
// retries on the failing sectors alone), and what failing sectors cost, by where they lie.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <vector>

#include "platform/block_reader.h"
#include "platform/block_source.h"
#include "platform/error.h"
#include "platform/image_medium.h"
#include "support/fat12_image.h"

namespace {

using platform::blockBytes;
using Failures = std::map<uint64_t, std::optional<uint32_t>>;

// The test support's 1.44 MB FAT12 diskette with these files, so that every sector's role is
// known: boot 0, the FATs 1-9 and 10-18, the root folder 19-32, cluster c at sector 31 + c.
//   DISK0001.DAT  cluster 2 (sector 33)
//   DB\           cluster 3 (34), holding MAIN.DAT: clusters 11-12 (42-43)
//   BIG.DAT       3000 bytes in clusters 4-10 (35-41); sector 41 lies after its end
// Everything from sector 44 on is free.
class Diskette {
  public:
    Diskette() : img_(testsupport::fat12Image(0x42, {})) {
        fat(2, 0xFFF);
        fat(3, 0xFFF);
        for (uint32_t c = 4; c < 10; ++c)
            fat(c, c + 1);
        fat(10, 0xFFF);
        fat(11, 12);
        fat(12, 0xFFF);
        entry(19 * blockBytes, "DISK0001DAT", 0x20, 2, 31);
        entry(19 * blockBytes + 32, "DB         ", 0x10, 3, 0);
        entry(19 * blockBytes + 64, "BIG     DAT", 0x20, 4, 3000);
        entry(34 * blockBytes, "MAIN    DAT", 0x20, 11, 1000);
        for (uint64_t s = 33; s < 44; ++s)
            for (uint32_t i = 0; i < blockBytes && s != 34; ++i)
                img_[s * blockBytes + i] = static_cast<char>('a' + (s + i) % 26);
    }
    // Sets cluster c's FAT entry in both FATs.
    void fat(uint32_t c, uint32_t value) { testsupport::setFat12Entry(img_, c, value); }
    std::string& bytes() { return img_; }
    std::string sector(uint64_t s) const { return img_.substr(s * blockBytes, blockBytes); }

  private:
    void entry(uint64_t at, const char* name, uint8_t attr, uint16_t cluster, uint32_t length) {
        std::memcpy(&img_[at], name, 11);
        img_[at + 11] = static_cast<char>(attr);
        img_[at + 26] = static_cast<char>(cluster);
        img_[at + 27] = static_cast<char>(cluster >> 8);
        for (int i = 0; i < 4; ++i)
            img_[at + 28 + i] = static_cast<char>(length >> (8 * i));
    }
    std::string img_;
};

struct Request {
    uint64_t lba;
    uint32_t count;
    bool read;
};

// Records every request made of the source under it, whether it read or failed.
class Recording : public platform::BlockSource {
  public:
    Recording(std::unique_ptr<platform::BlockSource> inner, std::vector<Request>& log)
        : inner_(std::move(inner)), log_(log) {}
    uint64_t bytes() const override { return inner_->bytes(); }
    void read(uint64_t lba, uint32_t count, char* out) override {
        log_.push_back({lba, count, false});
        inner_->read(lba, count, out);
        log_.back().read = true;
    }

  private:
    std::unique_ptr<platform::BlockSource> inner_;
    std::vector<Request>& log_;
};

std::shared_ptr<platform::Medium> open(const std::string& bytes, const Failures& failures,
                                       std::vector<Request>& log) {
    std::unique_ptr<platform::BlockSource> source = platform::memoryBlocks(bytes);
    if (!failures.empty())
        source = std::make_unique<platform::FaultyBlocks>(std::move(source), failures);
    return platform::openDisketteBlocks(std::make_unique<Recording>(std::move(source), log));
}

std::string readAll(platform::Medium& m, const std::string& path) {
    auto f = m.open(path, platform::OpenMode::read, false);
    std::string out(100000, '\0');
    out.resize(f->read(out.data(), out.size()));
    return out;
}

std::string failureOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const platform::Error& e) {
        EXPECT_EQ(e.code(), platform::err::deviceIO);
        return e.description();
    }
    return "";
}

class BlockReaderTest : public ::testing::Test {
  protected:
    void SetUp() override { platform::forgetDiskettes(); }
    void TearDown() override { platform::forgetDiskettes(); }
    Diskette disk;
    std::vector<Request> log;
};

// Requests forward, within a track each, and the tracks they covered.
std::set<uint64_t> tracksOf(const std::vector<Request>& log) {
    std::set<uint64_t> tracks;
    uint64_t next = 0;
    for (const Request& r : log) {
        EXPECT_TRUE(r.read);
        EXPECT_GE(r.lba, next) << "forward, each sector once";
        EXPECT_LE(r.lba % 18 + r.count, 18u) << "within one track at " << r.lba;
        next = r.lba + r.count;
        tracks.insert(r.lba / 18);
    }
    EXPECT_EQ(tracks.size(), log.size()) << "one request a track";
    return tracks;
}

TEST_F(BlockReaderTest, TheTracksInUseAreReadForwardAndEveryTrackWhenWholeDiskettesAreRead) {
    const std::set<uint64_t> used{0, 1, 2};  // the system area and clusters 2-12 (33-43)
    std::set<uint64_t> all;
    for (uint64_t t = 0; t < 160; ++t)
        all.insert(t);
    // The second FAT calls cluster 100 free while the first has it in use: neither tells.
    Diskette disagreeing;
    disagreeing.fat(100, 0xFFF);
    std::memset(&disagreeing.bytes()[10 * blockBytes + 150], 0, 2);
    struct Case {
        const char* what;
        std::string* bytes;
        bool whole;
        std::set<uint64_t> tracks;
    } cases[] = {
        {"a clean diskette", &disk.bytes(), false, used},
        {"whole diskettes for kept images", &disk.bytes(), true, all},
        {"FATs that disagree about a cluster in use", &disagreeing.bytes(), false, all},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        platform::forgetDiskettes();
        platform::readWholeDiskettes(c.whole);
        log.clear();
        auto m = open(*c.bytes, {}, log);
        EXPECT_EQ(m->label(), "");
        EXPECT_EQ(log.size(), 2u) << "naming the drive takes the system area's two tracks";
        EXPECT_EQ(readAll(*m, "DB\\MAIN.DAT"), c.bytes->substr(42 * blockBytes, 1000));
        EXPECT_EQ(log.size(), 3u) << "the copy walk's next file reads as far as it lies";
        const platform::SectorImage read = *m->sectorImage();
        EXPECT_EQ(tracksOf(log), c.tracks);
        for (uint64_t t : c.tracks)
            EXPECT_EQ(read.image.substr(t * 18 * blockBytes, 18 * blockBytes),
                      c.bytes->substr(t * 18 * blockBytes, 18 * blockBytes));
    }
    platform::readWholeDiskettes(false);
}

TEST_F(BlockReaderTest, FailingSectorsAloneAreRetriedInBoundedPasses) {
    // 37 never reads; 38 reads at its third try: the track, then alone, then the first pass.
    auto m = open(disk.bytes(), {{37, std::nullopt}, {38, 2}}, log);
    const platform::SectorImage read = *m->sectorImage();
    EXPECT_EQ(read.unread, std::vector<uint64_t>{37});
    EXPECT_EQ(read.image.substr(38 * blockBytes, blockBytes), disk.sector(38));

    // The failed track 36-53 is split into the sectors in use (36-43), each read alone once;
    // after the split only the retries of 37 and 38.
    std::map<uint64_t, int> alone;
    std::vector<Request> afterSplit;
    bool split = false;
    for (const Request& r : log) {
        if (r.count == 1)
            ++alone[r.lba];
        if (split)
            afterSplit.push_back(r);
        split = split || (r.count == 1 && r.lba == 43);
    }
    EXPECT_EQ(alone[37], 1 + platform::retryPasses);
    EXPECT_EQ(alone[38], 2);
    for (uint64_t s = 36; s < 44; ++s)
        if (s != 37 && s != 38) {
            EXPECT_EQ(alone[s], 1) << "the failed track is split once, sector " << s;
        }
    EXPECT_EQ(alone.size(), 8u) << "no other sector is tried alone";
    for (const Request& r : afterSplit)
        EXPECT_TRUE(r.count == 1 && (r.lba == 37 || r.lba == 38)) << "a retry of " << r.lba;
    EXPECT_EQ(afterSplit.size(), 1u + platform::retryPasses) << "38 once, 37 in every pass";
}

TEST_F(BlockReaderTest, WhatAnUnreadableSectorCostsDependsOnWhereItLies) {
    struct Case {
        const char* where;
        Failures failures;
        const char* damage;  // the diskette is damaged, with this text; "" when it is not
        uint64_t unneeded = 0, fromOtherFat = 0;
        std::vector<std::string> filesHit = {};
    };
    const Case cases[] = {
        {"free space: never asked for", {{100, std::nullopt}}, "", 0, 0, {}},
        {"after a file's end", {{41, std::nullopt}}, "", 1, 0, {}},
        {"the first FAT", {{1, std::nullopt}}, "", 0, 1, {}},
        {"the second FAT", {{10, std::nullopt}}, "", 0, 1, {}},
        {"the same sector of both FATs",
         {{1, std::nullopt}, {10, std::nullopt}},
         "Diskette image damaged: the FAT cannot be read in any copy (sector 10)"},
        {"a file", {{36, std::nullopt}, {100, std::nullopt}}, "", 0, 0, {"BIG.DAT"}},
        {"a file's last sector", {{43, std::nullopt}}, "", 0, 0, {"DB\\MAIN.DAT"}},
        {"a marginal sector of a file", {{36, 4}}, "", 0, 0, {}},
        {"a folder", {{34, std::nullopt}}, "Diskette image damaged: the folder DB cannot be read"},
        {"the root folder",
         {{25, std::nullopt}},
         "Diskette image damaged: the root folder cannot be read"},
        {"the boot sector",
         {{0, std::nullopt}},
         "Diskette image damaged: the boot sector cannot be read"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.where);
        platform::forgetDiskettes();
        std::shared_ptr<platform::Medium> m;
        const std::string opening = failureOf([&] { m = open(disk.bytes(), c.failures, log); });
        if (*c.damage != '\0') {
            const std::string found = opening.empty() ? failureOf([&] {
                m->sectorImage();  // the image and its map, whatever the damage
                readAll(*m, "DB\\MAIN.DAT");
            })
                                                      : opening;
            EXPECT_EQ(found, c.damage);
            continue;
        }
        ASSERT_EQ(opening, "");
        const platform::SectorImage read = *m->sectorImage();
        EXPECT_EQ(read.unneeded, c.unneeded);
        EXPECT_EQ(read.fromOtherFat, c.fromOtherFat);
        EXPECT_EQ(read.filesHit, c.filesHit);
        for (const char* file : {"DISK0001.DAT", "BIG.DAT", "DB\\MAIN.DAT"}) {
            const bool hit =
                std::find(c.filesHit.begin(), c.filesHit.end(), file) != c.filesHit.end();
            const std::string failure = failureOf([&] { readAll(*m, file); });
            EXPECT_EQ(!failure.empty(), hit) << file;
            if (hit) {
                EXPECT_NE(failure.find(file), std::string::npos) << failure;
            }
        }
    }
}

TEST_F(BlockReaderTest, TheFirstFatIsTrustedWhenBothReadButDiffer) {
    // The second FAT still ends BIG.DAT at its fourth cluster, as an update cut short leaves it.
    Diskette second;
    second.fat(7, 0xFFF);
    std::memcpy(&disk.bytes()[10 * blockBytes], &second.bytes()[10 * blockBytes], 9 * blockBytes);
    auto m = open(disk.bytes(), {}, log);
    EXPECT_EQ(readAll(*m, "BIG.DAT"), disk.bytes().substr(35 * blockBytes, 3000));
    // Where the first does not read, the second is all there is: its shorter chain is damage.
    platform::forgetDiskettes();
    auto other = open(disk.bytes(), {{1, std::nullopt}}, log);
    EXPECT_NE(failureOf([&] { readAll(*other, "BIG.DAT"); }).find("beyond its cluster chain"),
              std::string::npos);
}

TEST_F(BlockReaderTest, AttemptsAtTheSameDisketteAddUpAndOnlyMissingSectorsAreAskedFor) {
    // Two copies of one diskette, each with a sector the other reads.
    auto first = open(disk.bytes(), {{36, std::nullopt}}, log);
    EXPECT_EQ(first->sectorImage()->unread, std::vector<uint64_t>{36});

    log.clear();
    auto second = open(disk.bytes(), {{38, std::nullopt}}, log);
    const platform::SectorImage read = *second->sectorImage();
    EXPECT_TRUE(read.unread.empty());
    EXPECT_EQ(read.image, disk.bytes());
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(log.back().lba, 36u) << "after the start that tells the diskette, only 36";
    EXPECT_EQ(log.back().count, 1u);
    EXPECT_EQ(log.size(), 3u);

    // Once whole, the diskette is never read again: its start tells it, the rest is known.
    log.clear();
    auto third = open(disk.bytes(), {}, log);
    EXPECT_TRUE(third->disketteReadBefore());
    EXPECT_EQ(third->sectorImage()->image, disk.bytes().substr(0, 54 * blockBytes) +
                                               std::string((2880 - 54) * blockBytes, '\0'));
    EXPECT_EQ(log.size(), 2u);
    EXPECT_FALSE(second->disketteReadBefore()) << "the second copy had to read sector 36";
}

TEST_F(BlockReaderTest, AnotherDisketteTakesNothingFromAnEarlierAttempt) {
    auto first = open(disk.bytes(), {{36, std::nullopt}}, log);
    first->sectorImage();
    // The same serial number and FATs, another root folder: another diskette.
    Diskette other;
    other.bytes()[19 * blockBytes] = 'X';
    std::memset(&other.bytes()[36 * blockBytes], 'z', blockBytes);
    auto second = open(other.bytes(), {{36, std::nullopt}}, log);
    EXPECT_EQ(second->sectorImage()->unread, std::vector<uint64_t>{36});
    EXPECT_EQ(second->sectorImage()->image.substr(36 * blockBytes, blockBytes),
              std::string(blockBytes, '\0'));
}

// The first request is a track of the size's standard format; the boot sector's geometry sets
// the tracks after it where it reads and makes sense, the guess stays otherwise.
TEST_F(BlockReaderTest, TracksAreGuessedFromTheSizeUntilTheBootSectorTellsThem) {
    struct Case {
        const char* what;
        uint64_t sectors;
        bool bootReads;
        uint16_t sectorBytes, perTrack;                     // the boot sector's geometry
        std::vector<std::pair<uint64_t, uint32_t>> tracks;  // the first three track requests
    } cases[] = {
        {"720 KB, no boot sector", 1440, false, 0, 0, {{0, 9}, {9, 9}, {18, 9}}},
        {"1.2 MB, no boot sector", 2400, false, 0, 0, {{0, 15}, {15, 15}, {30, 15}}},
        {"2.88 MB, no boot sector", 5760, false, 0, 0, {{0, 36}, {36, 36}, {72, 36}}},
        {"160 KB, no boot sector", 320, false, 0, 0, {{0, 8}, {8, 8}, {16, 8}}},
        {"another size, no boot sector", 2880, false, 0, 0, {{0, 18}, {18, 18}, {36, 18}}},
        {"720 KB that says 18 a track", 1440, true, 512, 18, {{0, 9}, {9, 9}, {18, 18}}},
        {"1024-byte sectors, 9 a track", 1440, true, 1024, 9, {{0, 9}, {9, 9}, {18, 18}}},
        {"no sectors a track", 1440, true, 512, 0, {{0, 9}, {9, 9}, {18, 9}}},
        {"256 a track", 1440, true, 512, 256, {{0, 9}, {9, 9}, {18, 9}}},
        {"sectors shorter than a block", 1440, true, 256, 18, {{0, 9}, {9, 9}, {18, 9}}},
        {"sectors not whole blocks", 1440, true, 768, 18, {{0, 9}, {9, 9}, {18, 9}}},
        {"sectors over 4 KB", 1440, true, 8192, 18, {{0, 9}, {9, 9}, {18, 9}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        log.clear();
        std::string bytes(c.sectors * blockBytes, '\0');
        bytes[11] = static_cast<char>(c.sectorBytes);
        bytes[12] = static_cast<char>(c.sectorBytes >> 8);
        bytes[24] = static_cast<char>(c.perTrack);
        bytes[25] = static_cast<char>(c.perTrack >> 8);
        std::unique_ptr<platform::BlockSource> source = platform::memoryBlocks(bytes);
        if (!c.bootReads)
            source = std::make_unique<platform::FaultyBlocks>(std::move(source),
                                                              Failures{{0, std::nullopt}});
        platform::DisketteCopy copy(std::make_unique<Recording>(std::move(source), log));
        copy.readThrough(c.tracks.back().first + c.tracks.back().second);
        std::vector<std::pair<uint64_t, uint32_t>> tracks;
        for (const Request& r : log)
            if (r.count > 1)
                tracks.emplace_back(r.lba, r.count);
        EXPECT_EQ(tracks, c.tracks);
        EXPECT_EQ(copy.unread(), c.bootReads ? std::vector<uint64_t>{} : std::vector<uint64_t>{0});
    }
}

TEST_F(BlockReaderTest, AMediumTooLargeToHoldIsNoDiskette) {
    struct Huge : platform::BlockSource {
        uint64_t bytes() const override { return uint64_t{1} << 32; }
        void read(uint64_t, uint32_t, char*) override { ADD_FAILURE() << "read"; }
    };
    EXPECT_EQ(failureOf([] {
                  platform::openDisketteBlocks(std::make_unique<Huge>());
              }).rfind("Not a diskette image: it holds 4294967296 bytes", 0),
              0u);
}

}  // namespace
