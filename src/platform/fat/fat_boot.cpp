// Boot sector checks: what a FAT12/FAT16 diskette must describe before a byte past it is read.
#include "platform/fat/fat_boot.h"

#include <algorithm>

#include "platform/error.h"

namespace platform::fat {

namespace {

// The first FAT32 and the first FAT16 cluster count.
constexpr uint32_t fat16Clusters = 4085;
constexpr uint32_t fat32Clusters = 65525;
constexpr uint32_t maxClusterBytes = 65536;

uint32_t le16(std::string_view b, size_t at) {
    return static_cast<uint8_t>(b[at]) | static_cast<uint32_t>(static_cast<uint8_t>(b[at + 1]))
                                             << 8;
}

uint32_t le32(std::string_view b, size_t at) {
    return le16(b, at) | le16(b, at + 2) << 16;
}

[[noreturn]] void notFat(const std::string& what) {
    throw Error(err::deviceIO, "Not a FAT12 or FAT16 diskette image: " + what);
}

// Packed and compressed files are a common mistake for an image; name them instead of
// reporting a damaged boot sector.
void refuseCompressed(std::string_view head) {
    struct Magic {
        std::string_view bytes;
        const char* what;
    };
    static constexpr Magic magics[] = {
        {"\x1f\x8b", "gzip"},
        {"BZh", "bzip2"},
        {"\xfd"
         "7zXZ",
         "xz"},
        {"PK\x03\x04", "zip"},
        {"7z\xbc\xaf\x27\x1c", "7z"},
        {"\x28\xb5\x2f\xfd", "zstd"},
    };
    for (const Magic& m : magics)
        if (head.substr(0, m.bytes.size()) == m.bytes)
            notFat(std::string("the file is ") + m.what +
                   "-compressed; uncompress it to a plain image first");
}

bool powerOfTwo(uint32_t n) {
    return n != 0 && (n & (n - 1)) == 0;
}

}  // namespace

void damaged(const std::string& what) {
    throw Error(err::deviceIO, "Diskette image damaged: " + what);
}

namespace {

// The boot sector is one of a FAT volume at all: not packed, not another file system, not blank,
// with its jump and its signature.
void checkBootSector(std::string_view head) {
    if (head.substr(3, 8) == "EXFAT   ")
        notFat("it holds an exFAT file system");
    if (head.substr(3, 8) == "NTFS    ")
        notFat("it holds an NTFS file system");
    if (std::all_of(head.begin(), head.end(), [](char c) { return c == 0; }))
        damaged("the boot sector is blank (an unformatted diskette?)");
    const auto jump = static_cast<uint8_t>(head[0]);
    if (jump != 0xEB && jump != 0xE9)
        damaged("the boot sector does not start with a jump");
    if (static_cast<uint8_t>(head[510]) != 0x55 || static_cast<uint8_t>(head[511]) != 0xAA)
        damaged("the boot sector lacks its 55 AA signature");
}

// The boot sector's figures, each checked on its own.
struct Figures {
    uint32_t sectorBytes, clusterSectors, reserved, fats, rootEntries, fatSectors;
    uint64_t sectors;
};

Figures readFigures(std::string_view head) {
    Figures f{};
    f.sectorBytes = le16(head, 11);
    if (f.sectorBytes != 512 && f.sectorBytes != 1024 && f.sectorBytes != 2048 &&
        f.sectorBytes != 4096)
        damaged("the boot sector gives " + std::to_string(f.sectorBytes) + " bytes per sector");
    f.clusterSectors = static_cast<uint8_t>(head[13]);
    if (!powerOfTwo(f.clusterSectors) || f.clusterSectors * f.sectorBytes > maxClusterBytes)
        damaged("the boot sector gives " + std::to_string(f.clusterSectors) +
                " sectors per cluster");
    f.reserved = le16(head, 14);
    f.fats = static_cast<uint8_t>(head[16]);
    f.rootEntries = le16(head, 17);
    f.fatSectors = le16(head, 22);
    if (f.rootEntries == 0 && f.fatSectors == 0)
        notFat("it holds a FAT32 file system");
    if (f.reserved == 0)
        damaged("the boot sector gives no reserved sector");
    if (f.fats == 0)
        damaged("the boot sector gives no FAT");
    if (f.rootEntries == 0)
        damaged("the boot sector gives no root folder entries");
    if (f.fatSectors == 0)
        damaged("the boot sector gives a FAT of no sectors");
    const auto media = static_cast<uint8_t>(head[21]);
    if (media != 0xF0 && media < 0xF8)
        damaged("the boot sector gives an unknown media byte");
    f.sectors = le16(head, 19) != 0 ? le16(head, 19) : le32(head, 32);
    if (f.sectors == 0)
        damaged("the boot sector gives a volume of no sectors");
    return f;
}

}  // namespace

Layout readLayout(std::string_view head, std::optional<uint64_t> imageBytes) {
    refuseCompressed(head);
    if (head.size() < bootBytes)
        damaged("the image is shorter than a boot sector");
    head = head.substr(0, bootBytes);
    checkBootSector(head);
    const Figures f = readFigures(head);

    Layout l;
    l.sectorBytes = f.sectorBytes;
    l.clusterBytes = f.clusterSectors * f.sectorBytes;
    l.rootEntries = f.rootEntries;
    const uint64_t fatArea = uint64_t{f.fats} * f.fatSectors;
    const uint64_t rootSectors = (uint64_t{l.rootEntries} * 32 + l.sectorBytes - 1) / l.sectorBytes;
    const uint64_t dataSector = f.reserved + fatArea + rootSectors;
    if (dataSector >= f.sectors)
        damaged("the FATs and the root folder do not fit in the volume");
    const uint64_t clusters = (f.sectors - dataSector) / f.clusterSectors;
    if (clusters == 0)
        damaged("the volume has no room for a cluster");
    if (clusters >= fat32Clusters)
        notFat("its " + std::to_string(clusters) + " clusters make it a FAT32 volume");
    l.clusters = static_cast<uint32_t>(clusters);
    l.fat16 = l.clusters >= fat16Clusters;
    const uint64_t entries = uint64_t{l.clusters} + 2;
    const uint64_t fatBytes = l.fat16 ? entries * 2 : (entries * 3 + 1) / 2;
    if (fatBytes > uint64_t{f.fatSectors} * l.sectorBytes)
        damaged("the FAT is too small for the volume's " + std::to_string(clusters) + " clusters");
    l.fatBytes = static_cast<uint32_t>(fatBytes);
    l.fatOffset = uint64_t{f.reserved} * l.sectorBytes;
    l.fatCopies = f.fats;
    l.fatStride = uint64_t{f.fatSectors} * l.sectorBytes;
    l.rootOffset = (f.reserved + fatArea) * l.sectorBytes;
    l.dataOffset = dataSector * l.sectorBytes;
    l.volumeBytes = f.sectors * l.sectorBytes;
    if (imageBytes && l.volumeBytes > *imageBytes)
        damaged("the boot sector describes " + std::to_string(l.volumeBytes) +
                " bytes, the image holds " + std::to_string(*imageBytes));
    return l;
}

}  // namespace platform::fat
