// Reading a diskette on a drive at 300 rpm, modelled: the block reader (the tracks in use,
// forward, each once; every track for kept images, as the reader before did always) against
// file by file (each file's clusters asked for as a file system meets them), beside the
// physical limit (one revolution a track, one step a cylinder); and what the store of attempts
// saves a rescue that starts the set again.
//
// The drive: a revolution takes 200 ms, a step from one cylinder to the next 3 ms. A request
// for a whole track takes one revolution from wherever the head is (the controller reads the
// track as it comes). Any other request waits for its first sector to come under the head and
// then reads its sectors; setting the controller up for a request takes about one sector's
// time, so a request that starts where the previous one ended has just missed its sector. A
// request over several tracks is handed to the controller a track at a time.
// The figures are the counters "modelled_s" (seconds), "requests", "limit_s" and "ratio", and
// "whole_s" / "before_s" for the reader before.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/block_reader.h"
#include "platform/block_source.h"
#include "platform/image_medium.h"

namespace {

constexpr double revolutionMs = 200, stepMs = 3;
constexpr uint32_t perTrack = 18, heads = 2;
constexpr uint32_t maxRun = 128;  // sectors, 64 KiB

struct Run {
    uint64_t lba;
    uint32_t count;
};

// The drive's clock, advanced by each request.
class DriveModel {
  public:
    // The driver hands the controller one track at a time.
    void request(uint64_t lba, uint32_t count) {
        ++requests_;
        while (count > 0) {
            const auto piece =
                static_cast<uint32_t>(std::min<uint64_t>(count, perTrack - lba % perTrack));
            track(lba, piece);
            lba += piece;
            count -= piece;
        }
    }
    double seconds() const { return now_ / 1000; }
    uint64_t requests() const { return requests_; }

  private:
    void track(uint64_t lba, uint32_t count) {
        const uint64_t cylinder = lba / (perTrack * heads);
        now_ += stepMs * static_cast<double>(cylinder > cylinder_ ? cylinder - cylinder_
                                                                  : cylinder_ - cylinder);
        cylinder_ = cylinder;
        const double sectorMs = revolutionMs / perTrack;
        if (lba % perTrack == 0 && count == perTrack) {
            now_ += revolutionMs;
            return;
        }
        now_ += sectorMs;  // setting the controller up
        const double angle = std::fmod(now_, revolutionMs);
        const double start = static_cast<double>(lba % perTrack) * sectorMs;
        now_ += std::fmod(start - angle + revolutionMs, revolutionMs) + count * sectorMs;
    }

    double now_ = 0;
    uint64_t cylinder_ = 0;
    uint64_t requests_ = 0;
};

// A source that runs every request through the model.
class ModelledBlocks : public platform::BlockSource {
  public:
    ModelledBlocks(std::string bytes, DriveModel& model)
        : inner_(platform::memoryBlocks(std::move(bytes))), model_(model) {}
    uint64_t bytes() const override { return inner_->bytes(); }
    void read(uint64_t lba, uint32_t count, char* out) override {
        model_.request(lba, count);
        inner_->read(lba, count, out);
    }

  private:
    std::unique_ptr<platform::BlockSource> inner_;
    DriveModel& model_;
};

uint32_t le16(const std::string& b, uint64_t at) {
    return static_cast<uint8_t>(b[at]) | static_cast<uint32_t>(static_cast<uint8_t>(b[at + 1]))
                                             << 8;
}

// The requests a file system makes reading every file of a FAT12 diskette in turn: the boot
// sector, the FAT, the root folder, then each folder's and each file's clusters, one request
// for each run of neighbouring clusters, of at most 64 KiB (what a file system's cache asks
// for at a time).
class FileByFile {
  public:
    explicit FileByFile(const std::string& image) : b_(image) {
        sectorBytes_ = le16(b_, 11);
        clusterSectors_ = static_cast<uint8_t>(b_[13]);
        const uint32_t reserved = le16(b_, 14), fats = static_cast<uint8_t>(b_[16]);
        const uint32_t rootEntries = le16(b_, 17), fatSectors = le16(b_, 22);
        fat_ = reserved;
        root_ = reserved + fats * fatSectors;
        data_ = root_ + rootEntries * 32 / sectorBytes_;
        runs_.push_back({0, 1});
        runs_.push_back({fat_, fatSectors});
        runs_.push_back({root_, static_cast<uint32_t>(data_ - root_)});
        folder(b_.substr(root_ * sectorBytes_, (data_ - root_) * sectorBytes_));
    }
    const std::vector<Run>& runs() const { return runs_; }

  private:
    uint32_t next(uint32_t c) const {
        const uint32_t pair = le16(b_, fat_ * sectorBytes_ + c + c / 2);
        return c & 1 ? pair >> 4 : pair & 0xFFF;
    }
    std::string chain(uint32_t c) {
        std::string bytes;
        while (c >= 2 && c < 0xFF8) {
            const uint64_t sector = data_ + uint64_t{c - 2} * clusterSectors_;
            if (!runs_.empty() && runs_.back().lba + runs_.back().count == sector && extend_ &&
                runs_.back().count + clusterSectors_ <= maxRun)
                runs_.back().count += clusterSectors_;
            else
                runs_.push_back({sector, clusterSectors_});
            extend_ = true;
            bytes += b_.substr(sector * sectorBytes_, uint64_t{clusterSectors_} * sectorBytes_);
            c = next(c);
        }
        extend_ = false;
        return bytes;
    }
    void folder(const std::string& entries) {
        for (size_t at = 0; at + 32 <= entries.size(); at += 32) {
            const auto first = static_cast<uint8_t>(entries[at]);
            const auto attr = static_cast<uint8_t>(entries[at + 11]);
            if (first == 0)
                return;
            if (first == 0xE5 || first == '.' || (attr & 0x0F) == 0x0F || (attr & 0x08) != 0)
                continue;
            const std::string bytes = chain(le16(entries, at + 26));
            if (attr & 0x10)
                folder(bytes);
        }
    }
    const std::string& b_;
    uint32_t sectorBytes_ = 512, clusterSectors_ = 1;
    uint64_t fat_ = 0, root_ = 0, data_ = 0;
    std::vector<Run> runs_;
    bool extend_ = false;
};

std::string readImage(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A 1.44 MB diskette full to its last cluster: one file over the whole data area.
std::string fullDiskette() {
    std::string image =
        readImage(std::filesystem::path(VELT_SOURCE_DIR) / "samples/site42/images/disk1.img");
    const uint32_t clusters = 2847;
    std::memset(&image[512], 0, 18 * 512);
    std::memset(&image[19 * 512], 0, 14 * 512);
    for (uint64_t fat : {512u, 10u * 512}) {
        image[fat] = static_cast<char>(0xF0);
        image[fat + 1] = image[fat + 2] = static_cast<char>(0xFF);
        for (uint32_t c = 2; c < clusters + 2; ++c) {
            const uint32_t value = c + 1 == clusters + 2 ? 0xFFF : c + 1;
            char* at = &image[fat + c + c / 2];
            uint32_t pair = static_cast<uint8_t>(at[0]) | static_cast<uint8_t>(at[1]) << 8;
            pair = c & 1 ? (pair & 0x000F) | value << 4 : (pair & 0xF000) | value;
            at[0] = static_cast<char>(pair);
            at[1] = static_cast<char>(pair >> 8);
        }
    }
    std::memcpy(&image[19 * 512], "FULL    DAT", 11);
    image[19 * 512 + 11] = 0x20;
    image[19 * 512 + 26] = 2;
    const uint32_t length = clusters * 512;
    for (int i = 0; i < 4; ++i)
        image[19 * 512 + 28 + i] = static_cast<char>(length >> (8 * i));
    return image;
}

std::string imageOf(int which) {
    if (which == 0)
        return fullDiskette();
    return readImage(std::filesystem::path(VELT_SOURCE_DIR) / "samples/site42/images" /
                     ("disk" + std::to_string(which) + ".img"));
}

// Reads one diskette (an attempt, with the store of attempts as it stands), every track or the
// tracks in use, through the model; `failures` as a dying diskette has them.
struct Attempt {
    double seconds = 0;
    uint64_t requests = 0;
    std::set<uint64_t> tracks;  // the tracks asked for
};

class RecordedBlocks : public ModelledBlocks {
  public:
    RecordedBlocks(std::string bytes, DriveModel& model, std::set<uint64_t>& tracks)
        : ModelledBlocks(std::move(bytes), model), tracks_(tracks) {}
    void read(uint64_t lba, uint32_t count, char* out) override {
        for (uint64_t s = lba; s < lba + count; ++s)
            tracks_.insert(s / perTrack);
        ModelledBlocks::read(lba, count, out);
    }

  private:
    std::set<uint64_t>& tracks_;
};

Attempt attempt(const std::string& image, bool whole,
                std::map<uint64_t, std::optional<uint32_t>> failures = {}) {
    Attempt a;
    DriveModel model;
    platform::readWholeDiskettes(whole);
    std::unique_ptr<platform::BlockSource> source =
        std::make_unique<RecordedBlocks>(image, model, a.tracks);
    if (!failures.empty())
        source = std::make_unique<platform::FaultyBlocks>(std::move(source), std::move(failures));
    try {
        auto medium = platform::openDisketteBlocks(std::move(source));
        benchmark::DoNotOptimize(medium->disketteRead());
    } catch (const std::exception&) {
        // A damaged diskette took its time all the same.
    }
    platform::readWholeDiskettes(false);
    a.seconds = model.seconds();
    a.requests = model.requests();
    return a;
}

// One revolution a track asked for, and the steps out to the last of them.
double physicalSeconds(const std::set<uint64_t>& tracks) {
    if (tracks.empty())
        return 0;
    return (static_cast<double>(tracks.size()) * revolutionMs +
            static_cast<double>(*tracks.rbegin() / heads) * stepMs) /
           1000;
}

std::string label(int64_t which) {
    return which == 0 ? "full 1.44 MB diskette" : "sample disk" + std::to_string(which);
}

// Arguments: 0 for a full diskette, 1 to 3 for the sample's images. The reader asks for the
// tracks in use only: its time against the physical time of those tracks ("ratio", at most
// 1.05), and against the whole read that kept images still make ("whole_s").
void BM_disketteNewWay(benchmark::State& state) {
    const std::string image = imageOf(static_cast<int>(state.range(0)));
    Attempt planned, whole;
    for (auto _ : state) {
        platform::forgetDiskettes();
        planned = attempt(image, false);
        platform::forgetDiskettes();
        whole = attempt(image, true);
    }
    platform::forgetDiskettes();
    state.counters["modelled_s"] = planned.seconds;
    state.counters["requests"] = static_cast<double>(planned.requests);
    state.counters["limit_s"] = physicalSeconds(planned.tracks);
    state.counters["ratio"] = planned.seconds / physicalSeconds(planned.tracks);
    state.counters["whole_s"] = whole.seconds;
    state.SetLabel(label(state.range(0)));
}

// The sample set of three diskettes: every track of each (the reader before) against the
// tracks in use.
void BM_disketteSampleSet(benchmark::State& state) {
    double before = 0, now = 0;
    for (auto _ : state) {
        before = now = 0;
        for (int n = 1; n <= 3; ++n) {
            platform::forgetDiskettes();
            before += attempt(imageOf(n), true).seconds;
            platform::forgetDiskettes();
            now += attempt(imageOf(n), false).seconds;
        }
    }
    platform::forgetDiskettes();
    state.counters["whole_s"] = before;
    state.counters["modelled_s"] = now;
}

// Five full diskettes; #4 fails in a file, the wizard starts the set again from #1, and #4's
// second copy (another sector dead) completes it. Before, only unfinished attempts were kept:
// #1 to #3 were read whole again. Now each is known by its start.
void BM_disketteFiveRescued(benchmark::State& state) {
    std::vector<std::string> set;
    for (int n = 0; n < 5; ++n) {
        std::string image = fullDiskette();
        image[39] = static_cast<char>(n + 1);  // its own serial number: another diskette
        set.push_back(std::move(image));
    }
    const std::map<uint64_t, std::optional<uint32_t>> copyA{{1000, std::nullopt}};
    const std::map<uint64_t, std::optional<uint32_t>> copyB{{2000, std::nullopt}};
    double before = 0, now = 0;
    for (auto _ : state) {
        platform::forgetDiskettes();
        before = 0;
        for (int n = 0; n < 3; ++n)
            before += attempt(set[n], true).seconds;
        before += attempt(set[3], true, copyA).seconds;
        platform::forgetDiskettes();  // what the reader before kept: #4's attempt alone
        for (int n = 0; n < 3; ++n)
            before += attempt(set[n], true).seconds;
        attempt(set[3], true, copyA);
        before += attempt(set[3], true, copyB).seconds + attempt(set[4], true).seconds;

        platform::forgetDiskettes();
        now = 0;
        for (int n = 0; n < 3; ++n)
            now += attempt(set[n], false).seconds;
        now += attempt(set[3], false, copyA).seconds;
        for (int n = 0; n < 3; ++n)
            now += attempt(set[n], false).seconds;
        now += attempt(set[3], false, copyB).seconds + attempt(set[4], false).seconds;
    }
    platform::forgetDiskettes();
    state.counters["before_s"] = before;
    state.counters["modelled_s"] = now;
}

void report(benchmark::State& state, const DriveModel& model) {
    state.counters["modelled_s"] = model.seconds();
    state.counters["requests"] = static_cast<double>(model.requests());
    // 160 revolutions and 79 steps for a whole 1.44 MB diskette.
    state.counters["limit_s"] = (160 * revolutionMs + 79 * stepMs) / 1000;
    state.SetLabel(state.range(0) == 0 ? "full 1.44 MB diskette"
                                       : "sample disk" + std::to_string(state.range(0)));
}

void BM_disketteOldWay(benchmark::State& state) {
    const std::string image = imageOf(static_cast<int>(state.range(0)));
    DriveModel model;
    for (auto _ : state) {
        model = DriveModel();
        const FileByFile reader(image);
        for (const Run& r : reader.runs())
            model.request(r.lba, r.count);
    }
    report(state, model);
}

BENCHMARK(BM_disketteNewWay)->DenseRange(0, 3)->Iterations(1);
BENCHMARK(BM_disketteOldWay)->DenseRange(0, 3)->Iterations(1);
BENCHMARK(BM_disketteSampleSet)->Iterations(1);
BENCHMARK(BM_disketteFiveRescued)->Iterations(1);

}  // namespace
