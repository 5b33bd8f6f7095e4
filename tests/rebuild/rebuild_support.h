// The rebuild tests' ground: folder drives A: (the floppy, empty), C: (the temporary folder
// C:\Temp) and E: (the card), the recording window, and diskette areas laid out in the
// temporary area as the reader leaves them, with the file table filled to match.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/drives.h"
#include "platform/folder_drives.h"
#include "platform/state_folder.h"
#include "support/set_builder.h"
#include "support/test_support.h"
#include "ui/recording_window.h"

namespace rebuildtest {

// A medium with one fault more.
inline platform::MediumOptions readonly(platform::MediumOptions m) {
    m.faults.readonly = true;
    return m;
}
inline platform::MediumOptions withCapacity(platform::MediumOptions m, uint64_t bytes) {
    m.faults.capacity = bytes;
    return m;
}
inline platform::MediumOptions withBadFile(platform::MediumOptions m, const std::string& relative) {
    m.faults.bad.push_back(relative);
    return m;
}

class RebuildTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Host folders.
    std::filesystem::path temp() const { return scratch.path() / "c" / "Temp"; }
    std::filesystem::path flat() const { return temp() / "VELT_flat"; }
    std::filesystem::path area(int disk) const {
        return temp() / ("VELT_disk" + std::to_string(disk));
    }
    std::filesystem::path card() const { return scratch.path() / "cf"; }
    // The run's state folder, and its folder of old databases kept for tight cards.
    std::filesystem::path stateFolder() const { return scratch.path() / "state"; }
    std::filesystem::path keptCopies() const {
        return stateFolder() / platform::statePartName(platform::StatePart::previous);
    }

    // Builds the set (scratch "set"), copies its diskettes into the diskette areas beside an
    // empty flat area, and fills the module state as reading the set would: fileTable,
    // fileCount, totalDisks, currentDisk, keycodeRecFound.
    testsupport::BuiltSet layOut(const testsupport::SetPlan& plan);
    // The media of C: and E: as SetUp inserts them, to be given faults and inserted again.
    platform::MediumOptions systemMedium() const;
    platform::MediumOptions cardMedium() const;
    void insertCard(const platform::MediumOptions& medium) { drives.insert('E', medium); }
    void insertSystem(const platform::MediumOptions& medium) { drives.insert('C', medium); }

    // Every file below `root` as "relative/path" -> bytes (folders as "name/" -> "").
    static std::map<std::string, std::string> treeOf(const std::filesystem::path& root) {
        return testsupport::fileTree(root);
    }

    testsupport::ScratchDir scratch;
    platform::FolderDriveTable drives;
    std::unique_ptr<ui::RecordingWindow> window;
};

}  // namespace rebuildtest
