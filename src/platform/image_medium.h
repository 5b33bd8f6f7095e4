// Diskette images as media: the FAT12 or FAT16 file system of an image file or a diskette
// device, read-only.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "platform/block_source.h"
#include "platform/medium.h"

namespace platform {

// The image in a host file, read as a drive reads a diskette, with `badSectors` failing as
// FaultyBlocks makes them. Raises err::fileNotFound when there is no such file, err::pathFileAccess
// for a folder, err::deviceIO when it cannot be read or holds no usable FAT12/FAT16 file system.
std::shared_ptr<Medium> openDisketteImage(
    const std::filesystem::path& hostFile,
    std::map<uint64_t, std::optional<uint32_t>> badSectors = {});
// The same for an image held in memory.
std::shared_ptr<Medium> openDisketteImageBytes(std::string bytes);
// The same for any block source.
std::shared_ptr<Medium> openDisketteBlocks(std::unique_ptr<BlockSource> source);

// The diskette in a floppy device, read past the kernel's block cache, so that a diskette
// swapped since the last look is never served from what was cached of the one before.
// Raises as openDisketteImage does.
std::shared_ptr<Medium> openDisketteDevice(const std::string& device);

}  // namespace platform
