// The machine's drive table: letters handed out to what discovery finds, kept for the run.
// The mount table is read on every lookup (it is small, and the kernel builds it in memory);
// the block-device tree and the labels are scanned again only when it has changed, and on every
// listing, so lookups during a long copy stay cheap.
#include "platform/linux_drives.h"
#include "platform/error.h"
#include "platform/host_folder.h"
#include "platform/image_medium.h"
#include "platform/linux/linux_devices.h"
#include "platform/machine_drives.h"
#include "platform/text_case.h"

#include <cctype>
#include <memory>
#include <utility>

namespace platform {

LinuxDriveTable::LinuxDriveTable(std::filesystem::path root) : root_(std::move(root)) {
    discover_ = [root = root_](const std::string& mountTable) {
        return linuxdev::discover(root, mountTable);
    };
}

LinuxDriveTable::LinuxDriveTable(std::filesystem::path root, Discover discover)
    : root_(std::move(root)), discover_(std::move(discover)) {}

std::string LinuxDriveTable::mountTable() const {
    return linuxdev::readMountTable(root_);
}

std::vector<linuxdev::Found> LinuxDriveTable::discoverDirectly(
    const std::string& mountTable) const {
    return linuxdev::discover(root_, mountTable);
}

const linuxdev::Found* LinuxDriveTable::foundAt(char letter) {
    refresh(false);
    auto it = slots_.find(platform::upperLetter(letter));
    return it == slots_.end() ? nullptr : &it->second.found;
}

char LinuxDriveTable::freeLetter(bool floppy) const {
    if (floppy) {
        for (char c : {'A', 'B'}) {
            if (!slots_.count(c))
                return c;
        }
    }
    for (char c = 'D'; c <= 'Z'; ++c) {
        if (!slots_.count(c))
            return c;
    }
    return 0;
}

void LinuxDriveTable::refresh(bool force) {
    std::string table = linuxdev::readMountTable(root_);
    if (scanned_ && !force && table == mountTable_)
        return;
    mountTable_ = std::move(table);
    scanned_ = true;

    // What has gone away keeps its letter, not ready.
    for (auto& [letter, s] : slots_) {
        s.found.mounted = false;
        s.found.present = false;
    }

    for (linuxdev::Found& f : discover_(mountTable_)) {
        auto known = letterOf_.find(f.key);
        char letter = 0;
        if (known != letterOf_.end()) {
            letter = known->second;
        } else {
            letter = f.key == "root" ? 'C' : freeLetter(f.floppy);
            if (letter == 0)
                continue;  // more devices than letters
            letterOf_[f.key] = letter;
        }
        Slot& slot = slots_[letter];
        slot.key = f.key;
        slot.found = std::move(f);
    }
}

Drive LinuxDriveTable::describe(char letter, Slot& s) {
    Drive d;
    d.letter = letter;
    d.type = s.found.type;
    d.serial = s.found.serial;
    // A floppy drive the user may read is read directly, whatever is mounted from it: a fresh
    // look at the diskette in it now.
    if (s.found.floppy && !s.found.device.empty()) {
        try {
            s.medium = openDisketteDevice(s.found.device.string());
            d.ready = true;
            d.medium = s.medium;
            d.volumeName = s.medium->label();
            d.freeBytes = s.medium->freeBytes();
            d.entry = driveEntryText(letter, d.type, d.volumeName);
            return d;
        } catch (const Error& e) {
            s.medium.reset();
            // A diskette that holds no FAT volume, or none at all, or a device this user may
            // not read: the mount, if any, as before.
            if (e.code() == err::permissionDenied && noted_.insert(letter).second)
                notes_[letter] = fileSystemReadNote(letter, e.description());
        }
    }
    d.ready = s.found.mounted;
    if (!d.ready && s.found.present) {
        // In the drive, mounted on request: its name is known, its space not yet.
        d.ready = true;
        d.volumeName = s.found.label;
        s.medium.reset();
    } else if (d.ready) {
        d.volumeName = s.found.label;
        if (!s.medium || s.medium->hostPath("") != s.found.hostRoot.string()) {
            try {
                s.medium = openHostFolder(s.found.hostRoot);
            } catch (const Error&) {
                s.medium.reset();  // gone between the scan and now
            }
        }
        d.ready = s.medium != nullptr;
        d.medium = s.medium;
        d.freeBytes = hostFreeBytes(s.found.hostRoot);
    }
    d.entry = driveEntryText(letter, d.type, d.volumeName);
    return d;
}

std::vector<Drive> LinuxDriveTable::list() {
    refresh(true);
    std::vector<Drive> out;
    for (auto& [letter, s] : slots_)
        out.push_back(describe(letter, s));
    return out;
}

std::shared_ptr<Medium> LinuxDriveTable::mediumOf(char letter) {
    auto it = slots_.find(platform::upperLetter(letter));
    if (it != slots_.end() && it->second.medium && it->second.found.floppy)
        return it->second.medium;
    return DriveTable::mediumOf(letter);
}

std::optional<Drive> LinuxDriveTable::find(char letter) {
    refresh(false);
    auto it = slots_.find(platform::upperLetter(letter));
    if (it == slots_.end())
        return std::nullopt;
    return describe(it->first, it->second);
}

}  // namespace platform

namespace platform {

std::unique_ptr<DriveTable> machineDrives() {
    return std::make_unique<LinuxDriveTable>();
}

}  // namespace platform

namespace platform {

std::string LinuxDriveTable::mountForUse(char letter) {
    const auto it =
        notes_.find(static_cast<char>(std::toupper(static_cast<unsigned char>(letter))));
    if (it == notes_.end())
        return "";
    std::string note = std::move(it->second);
    notes_.erase(it);
    return note;
}

std::string deviceAccessAdvice() {
    return "To read the floppy itself, add the user to the group disk or floppy and log in again";
}

}  // namespace platform
