// The machine's drives on Linux (built on Linux only): c: is "/", floppy drives take a: and b:,
// every other mounted medium, network share or user RAM disk the next free letter from d: on.
// A letter stays with its device for the whole run; a device that goes away keeps its letter,
// not ready. The desktop program feeds the same table from the desktop's disk service.
#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/drives.h"

namespace platform {

namespace linuxdev {

// What a letter is bound to, and what that is like right now.
struct Found {
    std::string key;      // stays the same while the device exists: "root", "dev:sdb",
                          // "dev:sdc1", "net:srv:/export", "ram:/media/ram"
    bool floppy = false;  // a floppy drive (takes a: or b:)
    DriveType type = DriveType::unknown;
    bool mounted = false;
    std::string label;               // volume name, or the share of a network mount
    std::filesystem::path hostRoot;  // the mounted folder (below the discovery root)
    std::filesystem::path device;    // a floppy drive's device node (below the root)
    // Found through the desktop's disk service: the medium's file system object there, and
    // whether a medium is in the drive though not mounted (it is mounted on request).
    std::string object;
    bool present = false;
    std::string serial;  // the volume's serial number ("1A2B-3C4D"), "" when unknown
};

}  // namespace linuxdev

class LinuxDriveTable : public DriveTable {
  public:
    // Discovers below `root` ("/" on the machine, a fixture tree in tests).
    explicit LinuxDriveTable(std::filesystem::path root = "/");
    // What deserves a letter, given the mount table text (another source than the block-device
    // tree: the desktop's disk service).
    using Discover = std::function<std::vector<linuxdev::Found>(const std::string& mountTable)>;
    LinuxDriveTable(std::filesystem::path root, Discover discover);

    // Every lettered drive, in letter order; looks for new devices first.
    std::vector<Drive> list() override;
    // The drive as it is now; nothing for a letter no device has had.
    std::optional<Drive> find(char letter) override;
    // The medium the last look at the drive found: a floppy device is opened afresh at every
    // look, not at every file operation.
    std::shared_ptr<Medium> mediumOf(char letter) override;
    // A floppy drive this user may not read itself is read through the file system: said once,
    // with what that costs and how to give the program the device, when the drive is first used.
    std::string mountForUse(char letter) override;

  protected:
    // The next lookup discovers afresh, though the mount table is the same.
    void invalidate() { scanned_ = false; }
    // What the last look found for the drive; null for a letter no device has had.
    const linuxdev::Found* foundAt(char letter);
    const std::filesystem::path& root() const { return root_; }
    // The mount table now, and what the block-device tree and it hold.
    std::string mountTable() const;
    std::vector<linuxdev::Found> discoverDirectly(const std::string& mountTable) const;

  private:
    struct Slot {
        std::string key;
        linuxdev::Found found;           // as of the last scan (mounted false once it is gone)
        std::shared_ptr<Medium> medium;  // on found.hostRoot, opened once
    };

    // Reads the mount table again and rescans when it changed (or always when `force`).
    void refresh(bool force);
    char freeLetter(bool floppy) const;
    Drive describe(char letter, Slot& s);

    std::filesystem::path root_;
    Discover discover_;
    std::string mountTable_;
    bool scanned_ = false;
    std::map<char, Slot> slots_;            // by upper-case letter
    std::map<std::string, char> letterOf_;  // device key -> letter, kept for the whole run
    std::map<char, std::string> notes_;     // said at the drive's first use
    std::set<char> noted_;
};

}  // namespace platform
