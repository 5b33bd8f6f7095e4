// libFuzzer target for the diskette image reader: each input is an image held in memory, read
// through the block reader; the whole tree is listed and every file read. An input whose
// length is not a multiple of 512 ends in the sectors that fail: its last (length % 512)
// bytes, two a sector number (little-endian), never read. Beyond the sanitizers' checks, what the
// reader gives must be what the copy walk relies on: usable names, entries found again by their
// path, files that read to their length, and no failure but a damaged image (err::deviceIO).
//
// Build as for fuzz_archive.cpp, then give it a corpus of small images made by mkfs.fat and mtools:
//   build-fuzz/fuzz/velt-fuzz-fat -max_len=2200000 -max_total_time=300 CORPUS
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "platform/block_reader.h"
#include "platform/block_source.h"
#include "platform/error.h"
#include "platform/image_medium.h"

namespace {

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

void expectDamage(const platform::Error& e) {
    if (e.code() != platform::err::deviceIO)
        fail("a failure other than 57");
}

void readFile(platform::Medium& medium, const std::string& path, uint64_t length) {
    auto file = medium.open(path, platform::OpenMode::read, false);
    uint64_t total = 0;
    char block[4096];
    while (size_t n = file->read(block, sizeof block)) {
        total += n;
        if (n < sizeof block && total != length)
            fail("a short read before the end");
    }
    if (total != length)
        fail("a file that does not read to its length");
}

void walk(platform::Medium& medium, const std::string& folder) {
    for (const platform::MediumEntry& e : medium.list(folder)) {
        if (e.name.empty() || e.name == "." || e.name == ".." ||
            e.name.find_first_of("\\/") != std::string::npos)
            fail("entry name");
        const std::string path = platform::joinPath(folder, e.name);
        try {
            const std::optional<platform::MediumEntry> again = medium.entry(path);
            if (!again || again->folder != e.folder || again->length != e.length)
                fail("a listed entry looked up by its path");
            if (medium.resolve(path) != path)
                fail("the spelling of a listed path");
            if (e.folder)
                walk(medium, path);
            else
                readFile(medium, path, e.length);
        } catch (const platform::Error& error) {
            expectDamage(error);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Each input is a diskette of its own: nothing of an earlier one is taken.
    platform::forgetDiskettes();
    const size_t tail = size % platform::blockBytes;
    std::map<uint64_t, std::optional<uint32_t>> failing;
    for (size_t at = size - tail; at + 1 < size; at += 2)
        failing[data[at] | uint64_t{data[at + 1]} << 8] = std::nullopt;
    std::shared_ptr<platform::Medium> medium;
    try {
        std::unique_ptr<platform::BlockSource> source =
            platform::memoryBlocks(std::string(reinterpret_cast<const char*>(data), size - tail));
        if (!failing.empty())
            source = std::make_unique<platform::FaultyBlocks>(std::move(source), failing);
        medium = platform::openDisketteBlocks(std::move(source));
    } catch (const platform::Error& e) {
        expectDamage(e);
        return 0;
    }
    try {
        if (medium->freeBytes() % medium->clusterBytes() != 0)
            fail("free bytes in whole clusters");
        medium->label();
        walk(*medium, "");
        const std::optional<platform::DisketteRead> read = medium->disketteRead();
        if (!read || read->image.size() != size - tail)
            fail("the diskette as read");
        if (read->unread.size() > failing.size())
            fail("more sectors unread than fail");
    } catch (const platform::Error& e) {
        expectDamage(e);
    }
    return 0;
}
