// Writing diskette sets for tests: the folders, volume files, descriptor and pieces.
#include "support/set_builder.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <random>
#include <stdexcept>

#include "support/test_support.h"

namespace testsupport {

namespace {

struct PlacedPiece {
    int disk;
    size_t order;  // the file's place in SetPlan::files
    const SetFile* file;
    std::string bytes;
    bool split;
    bool lastPart;
    double sum;
};

std::string checksumText(double sum) {
    char text[32];
    std::snprintf(text, sizeof text, "%.0f", sum);
    return text;
}

std::string withBackslashes(std::string text) {
    std::replace(text.begin(), text.end(), '/', '\\');
    return text;
}

std::filesystem::path hostName(const SetFile& file, const SetPlan& plan) {
    std::string name = file.name;
    if (plan.keycodeAsKcd && name == "keycode.rec")
        name = "keycode.kcd";
    return std::filesystem::path(name);
}

}  // namespace

std::string volumeFileName(int n) {
    char name[32];
    std::snprintf(name, sizeof name, "disk%04d.dat", n);
    return name;
}

double archivedChecksum(const std::string& bytes) {
    uint64_t words = 0;
    const size_t whole = bytes.size() / 4 * 4;
    for (size_t k = 0; k < whole; k += 4) {
        words += uint64_t{static_cast<unsigned char>(bytes[k])} << 24 |
                 uint64_t{static_cast<unsigned char>(bytes[k + 1])} << 16 |
                 uint64_t{static_cast<unsigned char>(bytes[k + 2])} << 8 |
                 uint64_t{static_cast<unsigned char>(bytes[k + 3])};
    }
    // Only the last block's word sum meets its trailing bytes before the one reduction.
    const size_t lastBlock = bytes.empty() ? 0 : (bytes.size() - 1) / 4096 * 4096;
    uint64_t lastWords = 0;
    for (size_t k = lastBlock; k < whole; k += 4) {
        lastWords += uint64_t{static_cast<unsigned char>(bytes[k])} << 24 |
                     uint64_t{static_cast<unsigned char>(bytes[k + 1])} << 16 |
                     uint64_t{static_cast<unsigned char>(bytes[k + 2])} << 8 |
                     uint64_t{static_cast<unsigned char>(bytes[k + 3])};
    }
    const uint64_t before = (words - lastWords) % 4294967296u;
    uint64_t trailing = 0;
    for (size_t k = whole; k < bytes.size(); ++k)
        trailing += static_cast<unsigned char>(bytes[k]);
    uint64_t sum = before + lastWords % 4294967296u + trailing;
    if (sum > 4294967295u)
        sum -= 4294967296u;
    return static_cast<double>(sum);
}

double cumulativeChecksum(double before, const std::string& piece) {
    double sum = before + archivedChecksum(piece);
    return sum > 4294967295.0 ? sum - 4294967296.0 : sum;
}

std::string noise(size_t size, unsigned salt) {
    std::mt19937 random(salt);
    std::string bytes(size, '\0');
    for (char& c : bytes)
        c = static_cast<char>(random() & 0xFF);
    return bytes;
}

SetFile wholeFile(const std::string& name, const std::string& bytes, int disk) {
    SetFile file;
    file.name = name;
    file.bytes = bytes;
    file.disk = disk;
    return file;
}

SetFile spreadFile(const std::string& name, const std::string& bytes,
                   std::vector<std::pair<int, size_t>> pieces) {
    SetFile file;
    file.name = name;
    file.bytes = bytes;
    file.pieces = std::move(pieces);
    return file;
}

BuiltSet buildSet(const std::filesystem::path& root, const SetPlan& plan) {
    if (plan.disks < 1)
        throw std::invalid_argument("a set has at least one diskette");
    if (plan.label.size() != 17)
        throw std::invalid_argument("the label has 17 characters");

    std::vector<PlacedPiece> placed;
    for (size_t order = 0; order < plan.files.size(); ++order) {
        const SetFile& file = plan.files[order];
        auto pieces = file.pieces;
        const bool split = !pieces.empty();
        if (!split)
            pieces = {{file.disk, file.bytes.size()}};
        size_t offset = 0;
        double sum = 0;
        for (size_t k = 0; k < pieces.size(); ++k) {
            const auto [disk, length] = pieces[k];
            if (disk < 1 || disk > plan.disks)
                throw std::invalid_argument(file.name + ": no such diskette");
            if (offset + length > file.bytes.size())
                throw std::invalid_argument(file.name + ": pieces longer than the file");
            std::string bytes = file.bytes.substr(offset, length);
            offset += length;
            sum = k == 0 ? archivedChecksum(bytes) : cumulativeChecksum(sum, bytes);
            placed.push_back(
                {disk, order, &file, std::move(bytes), split, k + 1 == pieces.size(), sum});
        }
        if (offset != file.bytes.size())
            throw std::invalid_argument(file.name + ": pieces shorter than the file");
    }
    std::stable_sort(placed.begin(), placed.end(),
                     [](const PlacedPiece& a, const PlacedPiece& b) { return a.disk < b.disk; });

    BuiltSet set;
    for (int n = 1; n <= plan.disks; ++n) {
        std::filesystem::path folder = root / ("disk" + std::to_string(n));
        std::filesystem::create_directories(folder);
        set.disks.push_back(folder);
        auto id = plan.volumeIds.find(n);
        writeFile(
            folder / volumeFileName(n),
            plan.label + (id != plan.volumeIds.end() ? id->second : plan.archiveId) + plan.lineEnd);
    }

    std::string& d = set.descriptor;
    d = plan.label + plan.archiveId + plan.lineEnd;
    d += plan.countLabel + std::to_string(plan.disks) + plan.lineEnd;
    for (const std::string& header : plan.headerLines)
        d += header + plan.lineEnd;
    for (const PlacedPiece& p : placed) {
        d += "FILE: " + std::to_string(p.disk) + " " + (p.split ? "1" : "0") + " " +
             (p.lastPart ? "1" : "0") + " " + checksumText(p.sum) + " /" + p.file->name + " " +
             p.file->extraText + plan.lineEnd;
        writeFile(set.disk(p.disk) / hostName(*p.file, plan), p.bytes);

        app::FileEntry entry;
        entry.disk = static_cast<int16_t>(p.disk);
        entry.split = p.split;
        entry.lastPart = p.lastPart;
        entry.archivedSum = p.sum;
        entry.name = withBackslashes("/" + p.file->name);
        entry.extraText = withBackslashes(p.file->extraText) + (plan.lineEnd == "\r\n" ? "\r" : "");
        set.entries.push_back(std::move(entry));
    }
    writeFile(set.disk(1) / "archive.dat", d);
    return set;
}

}  // namespace testsupport
