// Kept diskette images, written with the standard library on every machine.
#include "platform/kept_images.h"

#include <algorithm>
#include <fstream>
#include <string>

#include "platform/error.h"

namespace platform {

namespace {

void writeWhole(const std::filesystem::path& file, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        const std::u8string name = file.u8string();
        throw Error(err::deviceIO, "Cannot write " + std::string(name.begin(), name.end()));
    }
}

}  // namespace

void keepDisketteImage(const std::filesystem::path& folder, const std::string& stem,
                       const DisketteRead& read) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    const std::filesystem::path image = folder / std::filesystem::path(stem + ".img");
    const std::filesystem::path bad = folder / std::filesystem::path(stem + ".bad");
    writeWhole(image, read.image);
    if (read.unread.empty()) {
        std::filesystem::remove(bad, ec);  // an earlier read's list no longer holds
        return;
    }
    std::string lines;
    for (uint64_t sector : read.unread)
        lines += std::to_string(sector) + "\n";
    writeWhole(bad, lines);
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
