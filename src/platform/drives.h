// Drives as the converter sees them: a letter, a type code, readiness, a volume name, free
// space and, when ready, the medium in the drive. A drive table lists them; the folder drive
// table binds letters to host folders and can plant faults on a medium.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/faulty_medium.h"
#include "platform/medium.h"

namespace platform {

// Drive type codes of the designed-for platform.
enum DriveTypeCode : int {
    driveUnknown = 0,
    driveRemovable = 1,
    driveFixed = 2,
    driveNetwork = 3,
    driveCdRom = 4,
    driveRamDisk = 5,
};

struct Drive {
    char letter = 'A';  // upper case
    int type = driveUnknown;
    bool ready = false;
    std::string volumeName;
    uint64_t freeBytes = 0;
    std::string entry;               // the drive list's text: "a:", "c: [SYSTEM]"
    std::shared_ptr<Medium> medium;  // the medium in the drive; none when not ready
};

// The drive list's entry text for a drive: lower-case letter and colon, then the volume name in
// brackets unless it is empty or the drive is removable.
std::string driveEntryText(char letter, int type, const std::string& volumeName);

class DriveTable {
  public:
    virtual ~DriveTable() = default;

    // Every drive, in letter order.
    virtual std::vector<Drive> list() = 0;
    // The drive with this letter (either case) as it is now, or nothing when there is none.
    virtual std::optional<Drive> find(char letter) = 0;
    // The medium in the drive, which every path on it goes through: raises 68 when there is no
    // such drive, 71 when it holds no medium.
    virtual std::shared_ptr<Medium> mediumOf(char letter);

    // Media the desktop mounts for the program and releases after use. Each returns what to
    // log ("" when there was nothing to do); a table of folders or images has nothing to do.
    // Makes the medium in the drive usable: mounts it when it is in the drive but not mounted.
    // Raises the reason when it cannot be mounted.
    virtual std::string mountForUse(char /*letter*/) { return ""; }
    // After a diskette was read: unmounts a floppy this table mounted, so that the next
    // diskette is read fresh. Never raises.
    virtual std::string releaseDiskette(char /*letter*/) { return ""; }
    // After a card was written and verified: unmounts it so that it can be pulled at once, or
    // says why it stays mounted. Never raises.
    virtual std::string releaseCard(char /*letter*/) { return ""; }
};

// A medium for a folder drive: a host folder, or a diskette image file, with its label and its
// faults.
struct MediumOptions {
    std::filesystem::path root;
    std::string label;                  // default: the image's own label
    std::optional<uint64_t> freeBytes;  // default: what the medium reports
    Faults faults;
};

// Letters bound to host folders; media can be inserted and ejected. Tests and the script
// front end use it.
class FolderDriveTable : public DriveTable {
  public:
    // Defines (or redefines) drive `letter`; no medium means the drive is not ready. Raises
    // the medium's error when its folder or image cannot be opened.
    void define(char letter, int type, std::optional<MediumOptions> medium);
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
        int type = driveUnknown;
        std::optional<MediumOptions> options;
        std::shared_ptr<FaultyMedium> medium;
    };
    Slot* slot(char letter);
    Drive describe(char letter, const Slot& s) const;

    std::map<char, Slot> slots_;  // keyed by upper-case letter
};

// Opens the medium a folder drive's options describe: a host folder or a diskette image, whose
// sectors in `badSectors` fail as Faults says.
std::shared_ptr<Medium> openMedium(
    const std::filesystem::path& root,
    const std::map<uint64_t, std::optional<uint32_t>>& badSectors = {});

}  // namespace platform
