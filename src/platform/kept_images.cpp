// Kept diskette images, written with the standard library on every machine.
#include "platform/kept_images.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "platform/block_source.h"
#include "platform/error.h"
#include "platform/utf8_text.h"

namespace platform {

namespace {

// Written beside and renamed over the old file: an image is never left half written.
void writeWhole(const std::filesystem::path& file, const std::string& bytes) {
    std::filesystem::path beside = file;
    beside += ".new";
    {
        std::ofstream out(beside, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out)
            throw Error(err::deviceIO, "Cannot write " + utf8Path(file));
    }
    std::error_code ec;
    std::filesystem::rename(beside, file, ec);
    if (ec) {
        std::filesystem::remove(beside, ec);
        throw Error(err::deviceIO, "Cannot write " + utf8Path(file));
    }
}

std::optional<std::string> readWhole(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), {});
}

bool holds(const std::vector<uint64_t>& bad, uint64_t sector) {
    return !std::binary_search(bad.begin(), bad.end(), sector);
}

std::string sectorOf(const std::string& image, uint64_t s) {
    return s * blockBytes < image.size() ? image.substr(s * blockBytes, blockBytes) : "";
}

// The same diskette: the same size and serial number, and the sectors that tell a diskette
// alike wherever both images hold them.
bool sameDiskette(const std::string& kept, const std::vector<uint64_t>& keptBad,
                  const SectorImage& read) {
    if (kept.size() != read.image.size() || volumeSerialText(kept) != volumeSerialText(read.image))
        return false;
    for (uint64_t s = 0; s < read.identity; ++s)
        if (holds(keptBad, s) && holds(read.unread, s) &&
            sectorOf(kept, s) != sectorOf(read.image, s))
            return false;
    return true;
}

std::string badText(const std::vector<uint64_t>& bad) {
    std::string lines;
    for (uint64_t sector : bad)
        lines += std::to_string(sector) + "\n";
    return lines;
}

}  // namespace

std::optional<std::string> volumeSerialText(const std::string& image) {
    if (image.size() < blockBytes)
        return std::nullopt;
    const auto b = [&](size_t at) { return static_cast<uint8_t>(image[at]); };
    if (b(38) != 0x29 && b(38) != 0x28)
        return std::nullopt;
    const uint32_t serial =
        b(39) | uint32_t{b(40)} << 8 | uint32_t{b(41)} << 16 | uint32_t{b(42)} << 24;
    std::ostringstream out;
    out << std::uppercase << std::hex;
    out.width(8);
    out.fill('0');
    out << serial;
    return out.str();
}

std::filesystem::path keepDisketteImage(const std::filesystem::path& folder,
                                        const std::string& stem, const SectorImage& read) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    for (int n = 1;; ++n) {
        const std::string name = n == 1 ? stem : stem + "~" + std::to_string(n);
        const std::filesystem::path image = folder / std::filesystem::path(name + ".img");
        const std::filesystem::path bad = folder / std::filesystem::path(name + ".bad");
        const std::optional<std::string> kept = readWhole(image);
        std::string bytes = read.image;
        std::vector<uint64_t> unread = read.unread;
        if (kept) {
            const std::vector<uint64_t> keptBad = keptBadSectors(image);
            if (!sameDiskette(*kept, keptBad, read))
                continue;  // another diskette's: the next name
            // What an earlier attempt read stays.
            std::vector<uint64_t> still;
            for (uint64_t s : unread) {
                if (holds(keptBad, s))
                    bytes.replace(s * blockBytes, blockBytes, *kept, s * blockBytes, blockBytes);
                else
                    still.push_back(s);
            }
            unread = std::move(still);
            if (bytes == *kept && unread == keptBad)
                return image;
        }
        writeWhole(image, bytes);
        if (unread.empty())
            std::filesystem::remove(bad, ec);
        else
            writeWhole(bad, badText(unread));
        return image;
    }
}

std::vector<uint64_t> keptBadSectors(const std::filesystem::path& image) {
    std::filesystem::path bad = image;
    bad.replace_extension(".bad");
    std::vector<uint64_t> sectors;
    std::ifstream in(bad, std::ios::binary);
    std::string line;
    while (in && std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line.size() > 12 ||
            line.find_first_not_of("0123456789") != std::string::npos)
            continue;
        sectors.push_back(std::stoull(line));
    }
    std::sort(sectors.begin(), sectors.end());
    return sectors;
}

}  // namespace platform
