// The diskset tests' ground: folder drives A: (the floppy drive, removable) and C: (the system
// drive with the temporary folder C:\Temp), the recording window with A: selected in the drive
// list, and the conversion state reset.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/drives.h"
#include "platform/folder_drives.h"
#include "support/test_support.h"
#include "ui/recording_window.h"

namespace disksettest {

class DisksetTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Host folders of C:\Temp and of its diskette and flat areas.
    std::filesystem::path temp() const { return scratch.path() / "c" / "Temp"; }
    std::filesystem::path area(int n) const { return temp() / ("VELT_disk" + std::to_string(n)); }
    std::filesystem::path flat() const { return temp() / "VELT_flat"; }

    // Puts the host folder into A: as its medium; `bad` files fail to read with err::deviceIO.
    void insertDiskette(const std::filesystem::path& root, std::vector<std::string> bad = {});
    // Writes `bytes` to C:\name (host folder c/name) and returns its converter path.
    std::string onC(const std::string& name, const std::string& bytes);

    // A new recording window, installed, with a: chosen in its drive list.
    void freshWindow();
    // Everything recorded in the window.
    const std::vector<std::string>& logs() const { return window->logs(); }
    const std::vector<std::string>& statuses() const { return window->statuses(); }
    const std::vector<ui::MessageRecord>& boxes() const { return window->messageBoxes(); }

    testsupport::ScratchDir scratch;
    platform::FolderDriveTable drives;
    std::unique_ptr<ui::RecordingWindow> window;
};

// The names and sub-folders below a host folder, "db/" for a folder, sorted.
std::vector<std::string> treeOf(const std::filesystem::path& root);

}  // namespace disksettest
