// The machine the desktop window tests start on, the same for every toolkit.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/drives.h"
#include "platform/folder_drives.h"
#include "support/test_support.h"

namespace testsupport {

// A medium in a folder drive: its root folder, label and free bytes (0: the host's).
platform::MediumOptions medium(const std::filesystem::path& root, const std::string& label = "",
                               uint64_t freeBytes = 0);

// Drives of another table, borrowed: what the desktop programs put under their image drive
// table (the machine's drives) stands in for the machine's in a window test.
class BorrowedDrives : public platform::DriveTable {
  public:
    explicit BorrowedDrives(platform::DriveTable& drives) : drives_(drives) {}
    std::vector<platform::Drive> list() override { return drives_.list(); }
    std::optional<platform::Drive> find(char letter) override { return drives_.find(letter); }
    std::shared_ptr<platform::Medium> mediumOf(char letter) override {
        return drives_.mediumOf(letter);
    }

  private:
    platform::DriveTable& drives_;
};

// A fresh program state on `drives`, installed: a: removable without a diskette, c: fixed
// "SYSTEM" holding the temporary folder C:\Temp, e: removable "CF" with 64,000,000 free bytes;
// free space grouped with ",".
void startOnWindowDrives(platform::FolderDriveTable& drives, const ScratchDir& scratch);

}  // namespace testsupport
