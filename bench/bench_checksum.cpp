// The file checksum beside a plain read of the same cached 64 MiB file: the checksum should
// cost little more than reading the bytes.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "diskset/checksum.h"
#include "fs/file_system.h"
#include "platform/context.h"
#include "platform/drives.h"
#include "platform/folder_drives.h"

namespace {

constexpr uintmax_t fileBytes = 64u << 20;

// The file below the host's temporary directory, written once and kept for later runs, on a
// folder drive B: of its own; returns its converter path.
const std::string& benchFile() {
    static const std::string path = [] {
        const auto folder = std::filesystem::temp_directory_path() / "velt-bench-checksum";
        const auto file = folder / "data.bin";
        std::error_code ec;
        if (std::filesystem::file_size(file, ec) != fileBytes) {
            std::filesystem::create_directories(folder);
            std::ofstream out(file, std::ios::binary | std::ios::trunc);
            std::mt19937_64 random(64);
            std::vector<uint64_t> block(1 << 16);
            for (uintmax_t written = 0; written < fileBytes; written += block.size() * 8) {
                for (auto& word : block)
                    word = random();
                out.write(reinterpret_cast<const char*>(block.data()),
                          static_cast<std::streamsize>(block.size() * 8));
            }
            if (!out)
                throw std::runtime_error("cannot write " + file.string());
        }
        static platform::FolderDriveTable drives;
        platform::MediumOptions medium;
        medium.root = folder;
        drives.define('B', platform::DriveType::fixed, medium);
        platform::installDrives(&drives);
        return std::string("B:\\data.bin");
    }();
    return path;
}

void BM_fileChecksum(benchmark::State& state) {
    const std::string& path = benchFile();
    for (auto _ : state) {
        double sum = diskset::fileChecksum(path);
        if (sum <= 3)
            state.SkipWithError("the checksum failed");
        benchmark::DoNotOptimize(sum);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(fileBytes));
}

// The same bytes through the same file layer, in the checksum's read size, and nothing done
// with them.
void BM_plainRead(benchmark::State& state) {
    const std::string& path = benchFile();
    std::vector<uint8_t> chunk(32 * 4096);
    for (auto _ : state) {
        fs::BinaryFile file(path);
        size_t total = 0;
        for (size_t got; (got = file.read(chunk.data(), chunk.size())) > 0;)
            total += got;
        file.close();
        benchmark::DoNotOptimize(total);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(fileBytes));
}

}  // namespace

BENCHMARK(BM_fileChecksum)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_plainRead)->Unit(benchmark::kMillisecond)->UseRealTime();
