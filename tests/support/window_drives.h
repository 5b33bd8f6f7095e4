// The machine the desktop window tests start on, the same for every toolkit.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "platform/drives.h"
#include "platform/folder_drives.h"
#include "support/test_support.h"

namespace testsupport {

// A medium in a folder drive: its root folder, label and free bytes (0: the host's).
platform::MediumOptions medium(const std::filesystem::path& root, const std::string& label = "",
                               uint64_t freeBytes = 0);

// A fresh program state on `drives`, installed: a: removable without a diskette, c: fixed
// "SYSTEM" holding the temporary folder C:\Temp, e: removable "CF" with 64,000,000 free bytes;
// free space grouped with ",".
void startOnWindowDrives(platform::FolderDriveTable& drives, const ScratchDir& scratch);

}  // namespace testsupport
