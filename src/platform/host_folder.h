// A host folder as a medium: the root of a drive's file system on the machine (a mount point,
// or a folder standing in for a diskette or a card in tests and scripts).
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>

#include "platform/medium.h"

namespace platform {

// The folder at `root` as a medium; nothing below it is reached through a symbolic link.
// Raises err::pathNotFound when `root` is not a folder.
std::shared_ptr<Medium> openHostFolder(const std::filesystem::path& root);

// Free bytes of the host file system that holds `path` (0 when it cannot be taken).
uint64_t hostFreeBytes(const std::filesystem::path& path);

}  // namespace platform
