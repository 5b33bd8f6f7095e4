// The machine's drives on Linux: c: is "/", floppy drives take a: and b:, every other mounted
// medium, network share or user RAM disk the next free letter from d: on. A letter stays with
// its device for the whole run; a device that goes away keeps its letter, not ready.
#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/drives.h"
#include "platform/linux/linux_devices.h"

namespace platform {

class LinuxDriveTable : public DriveTable {
  public:
    // Discovers below `root` ("/" on the machine, a fixture tree in tests).
    explicit LinuxDriveTable(std::filesystem::path root = "/");

    // Every lettered drive, in letter order; looks for new devices first.
    std::vector<Drive> list() override;
    // The drive as it is now; nothing for a letter no device has had.
    std::optional<Drive> find(char letter) override;
    // The medium the last look at the drive found: a floppy device is opened afresh at every
    // look, not at every file operation.
    std::shared_ptr<Medium> mediumOf(char letter) override;

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
    std::string mountTable_;
    bool scanned_ = false;
    std::map<char, Slot> slots_;            // by upper-case letter
    std::map<std::string, char> letterOf_;  // device key -> letter, kept for the whole run
};

}  // namespace platform
