// Drives as the converter sees them: a letter, a type code, readiness, a volume name, free
// space and, when ready, the medium in the drive. A drive table lists them (the folder drive
// table of tests and scripts: platform/folder_drives.h).
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/medium.h"

namespace platform {

// Drive type codes of the designed-for platform; a table may give a code outside these.
enum class DriveType : int {
    unknown = 0,
    removable = 1,
    fixed = 2,
    network = 3,
    cdRom = 4,
    ramDisk = 5,
};

struct Drive {
    char letter = 'A';  // upper case
    DriveType type = DriveType::unknown;
    bool ready = false;
    std::string volumeName;
    std::string serial;  // the volume's serial number as the system shows it, "" when unknown
    uint64_t freeBytes = 0;
    std::string entry;               // the drive list's text: "a:", "c: [SYSTEM]"
    std::shared_ptr<Medium> medium;  // the medium in the drive; none when not ready
};

// The drive list's entry text for a drive: lower-case letter and colon, then the volume name in
// brackets unless it is empty or the drive is removable.
std::string driveEntryText(char letter, DriveType type, const std::string& volumeName);
// The log line for a floppy drive read through the file system, not sector by sector: why,
// what that costs, and how to give the program the device (deviceAccessAdvice, per system).
std::string fileSystemReadNote(char letter, const std::string& reason);
std::string deviceAccessAdvice();

class DriveTable {
  public:
    virtual ~DriveTable() = default;

    // Every drive, in letter order.
    virtual std::vector<Drive> list() = 0;
    // The drive with this letter (either case) as it is now, or nothing when there is none.
    virtual std::optional<Drive> find(char letter) = 0;
    // The medium in the drive, which every path on it goes through: raises err::deviceUnavailable
    // when there is no such drive, err::diskNotReady when it holds no medium.
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

// Opens the medium a folder drive's options describe: a host folder or a diskette image, whose
// sectors in `badSectors` fail as Faults says.
std::shared_ptr<Medium> openMedium(
    const std::filesystem::path& root,
    const std::map<uint64_t, std::optional<uint32_t>>& badSectors = {});

}  // namespace platform
