// The folder drive table of tests and scripts: letters bound to host folders or diskette
// images, with faults planted on their media.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/drives.h"
#include "platform/faulty_medium.h"

namespace platform {

// A medium for a folder drive: a host folder, or a diskette image file, with its label and its
// faults.
struct MediumOptions {
    std::filesystem::path root;
    std::string label;                  // default: the image's own label
    std::string serial;                 // the volume's serial number; default none
    std::optional<uint64_t> freeBytes;  // default: what the medium reports
    Faults faults;
};

// Letters bound to host folders; media can be inserted and ejected. Tests and the script
// front end use it.
class FolderDriveTable : public DriveTable {
  public:
    // Defines (or redefines) drive `letter`; no medium means the drive is not ready. Raises
    // the medium's error when its folder or image cannot be opened.
    void define(char letter, DriveType type, std::optional<MediumOptions> medium);
    bool defined(char letter) const;
    // The medium in a defined drive is now `medium` (its faults and counts start afresh).
    void insert(char letter, MediumOptions medium);
    void eject(char letter);
    // The medium in the drive with its faults (tests plant countdowns on it); null when none.
    FaultyMedium* medium(char letter);
    // The host folder or image of the medium in the drive; empty when none.
    std::filesystem::path hostRoot(char letter);

    std::vector<Drive> list() override;
    std::optional<Drive> find(char letter) override;
    std::shared_ptr<Medium> mediumOf(char letter) override;

  private:
    struct Slot {
        DriveType type = DriveType::unknown;
        std::optional<MediumOptions> options;
        std::shared_ptr<FaultyMedium> medium;
    };
    Slot* slot(char letter);
    Drive describe(char letter, const Slot& s) const;

    std::map<char, Slot> slots_;  // keyed by upper-case letter
};

}  // namespace platform
