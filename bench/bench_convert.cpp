// The whole data path of a maximal set (99 full diskettes, a hundred entries, some files spread
// over several diskettes) from reading the diskettes to the card, beside plain copies of the
// same bytes.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "diskset/checksum.h"
#include "diskset/reader.h"
#include "frontends/headless/headless_window.h"
#include "platform/context.h"
#include "platform/drives.h"
#include "platform/folder_drives.h"
#include "rebuild/rebuild.h"
#include "state/state.h"
#include "ui/main_window.h"
#include "wizard/wizard.h"

namespace {

namespace stdfs = std::filesystem;

constexpr int diskCount = 99;
constexpr uint64_t disketteBytes = 1457664;  // what a 1.44 MB diskette holds
constexpr uint64_t reserve = 16384;          // volume file, descriptor, keycode file, slack
// Diskettes that hold the pieces of one file each.
const std::vector<std::vector<int>> spreads = {
    {10, 11, 12}, {40, 41}, {70, 71, 72, 73}, {97, 98, 99}};

void writeBytes(const stdfs::path& file, const std::string& bytes) {
    stdfs::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + file.string());
}

std::string noise(uint64_t size, uint64_t salt) {
    std::string bytes(size, '\0');
    uint64_t x = salt * 0x9E3779B97F4A7C15ull + 1;
    for (char& c : bytes) {
        x ^= x << 13;
        x ^= x >> 7;
        x ^= x << 17;
        c = static_cast<char>(x >> 56);
    }
    return bytes;
}

// "\db\x.dat" as a host path below a diskette's folder.
std::string hostName(const std::string& name) {
    std::string host = name.substr(1);
    for (char& c : host)
        if (c == '\\')
            c = '/';
    return host;
}

std::string sumText(double value) {
    return std::to_string(static_cast<uint64_t>(value));
}

// Where the set and the copies go: VELT_BENCH_DIR when set (a RAM file system there keeps the
// disk's write-back out of the figures), else the system's temporary directory.
stdfs::path benchFolder() {
    const char* chosen = std::getenv("VELT_BENCH_DIR");
    return chosen != nullptr && *chosen != '\0' ? stdfs::path(chosen)
                                                : stdfs::temp_directory_path();
}

// The set's diskettes in root/disk1 ... root/disk99, the card and the temporary folder beside
// them; built once per process, removed at its end.
struct MaximalSet {
    stdfs::path root;
    uint64_t bytes = 0;  // every byte of every diskette

    MaximalSet() {
        std::string pattern = (benchFolder() / "velt-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("mkdtemp failed");
        root = pattern;
        stdfs::create_directories(root / "c" / "Temp");
        stdfs::create_directories(root / "card");
        build();
    }
    ~MaximalSet() {
        std::error_code ec;
        stdfs::remove_all(root, ec);
    }
    MaximalSet(const MaximalSet&) = delete;
    MaximalSet& operator=(const MaximalSet&) = delete;

    stdfs::path disk(int n) const { return root / ("disk" + std::to_string(n)); }

  private:
    struct Line {
        int disk;
        bool split, last;
        double sum;
        std::string name;
    };

    // The checksum of a piece as the descriptor archives it, measured on its diskette.
    static double pieceSum(int disk, const std::string& name) {
        return diskset::fileChecksum("S:\\disk" + std::to_string(disk) + name);
    }

    void build() {
        platform::FolderDriveTable measure;
        platform::MediumOptions m;
        m.root = root;
        measure.define('S', platform::DriveType::fixed, m);
        platform::installDrives(&measure);

        std::vector<Line> lines;
        writeBytes(disk(1) / "keycode.rec", noise(509, 7));
        lines.push_back({1, false, true, pieceSum(1, "\\keycode.rec"), "\\keycode.rec"});
        int fileNumber = 0;
        for (int n = 1; n <= diskCount; ++n) {
            const std::vector<int>* spread = nullptr;
            for (const auto& s : spreads)
                if (n >= s.front() && n <= s.back())
                    spread = &s;
            const uint64_t size = disketteBytes - reserve - static_cast<uint64_t>(n % 7) * 3;
            if (spread == nullptr) {
                const std::string name = "\\db\\part" + std::to_string(fileNumber % 10) + "\\file" +
                                         std::to_string(fileNumber) + ".dat";
                ++fileNumber;
                writeBytes(disk(n) / hostName(name), noise(size, static_cast<uint64_t>(n)));
                lines.push_back({n, false, true, pieceSum(n, name), name});
            } else {
                const std::string name = "\\db\\spread" + std::to_string(spread->front()) + ".dat";
                writeBytes(disk(n) / hostName(name), noise(size, static_cast<uint64_t>(n)));
                double sum = pieceSum(n, name);
                if (n != spread->front()) {
                    sum += lines.back().sum;
                    if (sum > 4294967295.0)
                        sum -= 4294967296.0;
                }
                lines.push_back({n, true, n == spread->back(), sum, name});
            }
            std::string label = "VELT VOLUME ID:  ";
            std::string number = std::to_string(n);
            writeBytes(disk(n) / ("disk" + std::string(4 - number.size(), '0') + number + ".dat"),
                       label + "4711\nvolume " + number + "\n");
        }

        std::string descriptor = "VELT ARCHIVE ID: 4711\nNUMDISKS: 99\nCOMMENT: maximal set\n";
        for (const Line& l : lines) {
            std::string path = l.name;
            for (char& c : path)
                if (c == '\\')
                    c = '/';
            descriptor += "FILE: " + std::to_string(l.disk) + " " + (l.split ? "1" : "0") + " " +
                          (l.last ? "1" : "0") + " " + sumText(l.sum) + " " + path + " std\n";
        }
        if (lines.size() != 100)
            throw std::logic_error("the set must fill the file table");
        writeBytes(disk(1) / "archive.dat", descriptor);
        platform::installDrives(nullptr);

        for (int n = 1; n <= diskCount; ++n)
            for (const auto& e : stdfs::recursive_directory_iterator(disk(n)))
                if (e.is_regular_file())
                    bytes += e.file_size();
    }
};

MaximalSet& theSet() {
    static MaximalSet set;
    return set;
}

void clearOutputs(const MaximalSet& set) {
    for (const auto& e : stdfs::directory_iterator(set.root / "c" / "Temp"))
        stdfs::remove_all(e);
    stdfs::remove_all(set.root / "card" / "backup");
}

// Drives a: (no diskette yet), c: holding the temporary folder, and e: the card.
void defineDrives(const MaximalSet& set, platform::FolderDriveTable& drives) {
    platform::MediumOptions system, card;
    system.root = set.root / "c";
    card.root = set.root / "card";
    drives.define('A', platform::DriveType::removable, std::nullopt);
    drives.define('C', platform::DriveType::fixed, system);
    drives.define('E', platform::DriveType::removable, card);
    platform::installDrives(&drives);
    platform::setTempFolder("C:\\Temp");
}

// A fresh start: no outputs, the state of a new run, the drives chosen.
void startRun(const MaximalSet& set) {
    clearOutputs(set);
    app::resetState();
    app::floppyDrive = "A:";
    app::flashDrive = "E:";
}

// Every diskette read, the checksums verified, the image rebuilt; false when a step failed.
bool readAndRebuild(const MaximalSet& set, platform::FolderDriveTable& drives) {
    bool ok = true;
    for (int n = 1; n <= diskCount && ok; ++n) {
        platform::MediumOptions floppy;
        floppy.root = set.disk(n);
        drives.insert('A', floppy);
        app::currentDisk = static_cast<int16_t>(n);
        ok = wizard::readDiskette(static_cast<int16_t>(n), "A") ==
             (n == diskCount ? diskset::DisketteRead::last : diskset::DisketteRead::more);
    }
    return ok && diskset::verifyChecksums() && rebuild::recombineDatabase() &&
           rebuild::writeSingleDescriptor();
}

void BM_convertSet(benchmark::State& state) {
    MaximalSet& set = theSet();
    platform::FolderDriveTable drives;
    defineDrives(set, drives);

    std::string failure;
    for (auto _ : state) {
        state.PauseTiming();
        startRun(set);
        auto window = std::make_unique<headless::HeadlessWindow>();
        ui::installWindow(window.get());
        state.ResumeTiming();

        const bool ok = readAndRebuild(set, drives) && wizard::writeCompactFlash() == 1;

        state.PauseTiming();
        const size_t reports = window->messageBoxes().size();
        ui::installWindow(nullptr);
        state.ResumeTiming();
        if (!ok || reports != 0) {
            failure = "the conversion did not succeed: " + app::errorText;
            state.SkipWithError(failure.c_str());
            break;
        }
    }
    platform::resetContext();
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(set.bytes));
}

// Flushes every file and folder below `root` to the device, as the card writer does.
void flushTree(const stdfs::path& root) {
    for (const auto& e : stdfs::recursive_directory_iterator(root)) {
        int fd = ::open(e.path().c_str(), O_RDONLY | O_CLOEXEC);
        if (fd >= 0) {
            ::fsync(fd);
            ::close(fd);
        }
    }
    int fd = ::open(root.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// The flat area of a converted set, made once, for the card writer alone.
void prepareFlatArea(MaximalSet& set, platform::FolderDriveTable& drives) {
    defineDrives(set, drives);
    startRun(set);
    auto window = std::make_unique<headless::HeadlessWindow>();
    ui::installWindow(window.get());
    if (!readAndRebuild(set, drives))
        throw std::runtime_error("the set could not be rebuilt: " + app::errorText);
    ui::installWindow(nullptr);
}

// The card writer alone: copy, flush, and the read-back that verifies the card.
void BM_writeCard(benchmark::State& state) {
    MaximalSet& set = theSet();
    platform::FolderDriveTable drives;
    prepareFlatArea(set, drives);
    auto window = std::make_unique<headless::HeadlessWindow>();
    ui::installWindow(window.get());
    for (auto _ : state) {
        state.PauseTiming();
        stdfs::remove_all(set.root / "card" / "backup");
        state.ResumeTiming();
        if (wizard::writeCompactFlash() != 1) {
            state.SkipWithError("the card write did not succeed");
            break;
        }
    }
    ui::installWindow(nullptr);
    platform::resetContext();
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(set.bytes));
}

// A plain copy of the same flat area to the card with a flush: what the card writer costs
// without its checks.
void BM_writeCardBaseline(benchmark::State& state) {
    MaximalSet& set = theSet();
    platform::FolderDriveTable drives;
    prepareFlatArea(set, drives);
    platform::resetContext();
    const stdfs::path flat = set.root / "c" / "Temp" / "VELT_flat",
                      single = set.root / "card" / "backup" / "single";
    for (auto _ : state) {
        state.PauseTiming();
        stdfs::remove_all(set.root / "card" / "backup");
        stdfs::create_directories(single);
        state.ResumeTiming();
        stdfs::copy(flat, single, stdfs::copy_options::recursive);
        flushTree(single);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(set.bytes));
}

void BM_copyBaseline(benchmark::State& state) {
    MaximalSet& set = theSet();
    const stdfs::path first = set.root / "c" / "Temp" / "copies",
                      second = set.root / "c" / "Temp" / "merged",
                      third = set.root / "card" / "backup";
    const auto options = stdfs::copy_options::recursive | stdfs::copy_options::overwrite_existing;
    for (auto _ : state) {
        state.PauseTiming();
        clearOutputs(set);
        stdfs::create_directories(first);
        stdfs::create_directories(second);
        stdfs::create_directories(third);
        state.ResumeTiming();
        for (int n = 1; n <= diskCount; ++n)
            stdfs::copy(set.disk(n), first / ("disk" + std::to_string(n)), options);
        for (int n = 1; n <= diskCount; ++n)
            stdfs::copy(first / ("disk" + std::to_string(n)), second, options);
        stdfs::copy(second, third, options);
        flushTree(third);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(set.bytes));
}

}  // namespace

BENCHMARK(BM_convertSet)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_copyBaseline)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_writeCard)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_writeCardBaseline)->Unit(benchmark::kMillisecond)->UseRealTime();
