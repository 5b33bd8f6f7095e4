// The layout of a FAT12/FAT16 volume as its boot sector describes it, checked before any use.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform::fat {

constexpr size_t bootBytes = 512;

struct Layout {
    uint32_t sectorBytes = 0;
    uint32_t clusterBytes = 0;
    uint64_t fatOffset = 0;  // the first FAT
    uint32_t fatBytes = 0;   // the part of it that describes the clusters
    uint32_t fatCopies = 0;  // the FATs, one after the other
    uint64_t fatStride = 0;  // bytes from one FAT to the next
    uint64_t rootOffset = 0;
    uint32_t rootEntries = 0;
    uint64_t dataOffset = 0;  // where cluster 2 starts
    uint32_t clusters = 0;    // data clusters, numbered 2 to clusters + 1
    bool fat16 = false;
    uint64_t volumeBytes = 0;
};

// Raises err::deviceIO "Diskette image damaged: <what>".
[[noreturn]] void damaged(const std::string& what);

// The layout from the first bytes of the image (fewer than bootBytes when the image is that
// short). `imageBytes` is the image's size where the host can tell it; every region must lie
// inside it. Raises err::deviceIO for anything this reader cannot use.
Layout readLayout(std::string_view head, std::optional<uint64_t> imageBytes);

}  // namespace platform::fat
