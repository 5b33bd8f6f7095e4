// Drives as the converter sees them: a letter, a type code, readiness, a volume name, free
// space and, when ready, the host folder at the root of the medium. A drive table lists them;
// the folder drive table binds letters to host folders and can plant faults on a medium.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

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
    std::string entry;           // the drive list's text: "a:", "c: [SYSTEM]"
    std::filesystem::path root;  // host folder at the root of the medium; empty when not ready
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

    // Fault hooks, called by the file-system layer. The machine's drives have no faults.
    // Raises 70 when the medium in the drive is write-protected.
    virtual void checkModify(char /*letter*/) {}
    // Accounts for a write of `bytes` to the drive; returns how many of them fit (the caller
    // writes those and then raises 61 when they are fewer).
    virtual uint64_t admitWrite(char /*letter*/, uint64_t bytes) { return bytes; }
    // True when reading the file at `relative` (from the root, "\" separators, no leading "\")
    // on the drive's medium fails as a damaged sector does.
    virtual bool isBad(char /*letter*/, const std::string& /*relative*/) { return false; }
};

// A medium in a folder drive: a host folder with its label and its faults.
struct Medium {
    std::filesystem::path root;
    std::string label;
    std::optional<uint64_t> freeBytes;  // default: the host file system's free space
    bool readonly = false;              // every change fails with 70
    std::optional<uint64_t> capacity;   // writes beyond this many bytes fail with 61
    std::vector<std::string> bad;       // files whose reading fails with 57 ("db\data.dat")
};

// Letters bound to host folders; media can be inserted and ejected. Tests and the script
// front end use it.
class FolderDriveTable : public DriveTable {
  public:
    // Defines (or redefines) drive `letter`; no medium means the drive is not ready.
    void define(char letter, int type, std::optional<Medium> medium);
    bool defined(char letter) const;
    // The medium in a defined drive is now `medium` (its faults and written bytes start afresh).
    void insert(char letter, Medium medium);
    void eject(char letter);
    // Bytes written to the medium in the drive since it was inserted.
    uint64_t written(char letter) const;

    std::vector<Drive> list() override;
    std::optional<Drive> find(char letter) override;
    void checkModify(char letter) override;
    uint64_t admitWrite(char letter, uint64_t bytes) override;
    bool isBad(char letter, const std::string& relative) override;

  private:
    struct Slot {
        int type = driveUnknown;
        std::optional<Medium> medium;
        uint64_t written = 0;
    };
    Slot* slot(char letter);
    Drive describe(char letter, const Slot& s) const;

    std::map<char, Slot> slots_;  // keyed by upper-case letter
};

// Free bytes of the host file system that holds `path` (0 when it cannot be taken).
uint64_t hostFreeBytes(const std::filesystem::path& path);

}  // namespace platform
