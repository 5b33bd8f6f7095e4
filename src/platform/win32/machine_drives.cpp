// The machine's drives on Windows: the letters GetLogicalDrives reports, typed by GetDriveTypeW,
// named and found ready by GetVolumeInformationW. A drive without a medium is listed, not ready;
// no system box asks for a diskette, since critical errors come back to the program as codes.
#include <windows.h>

#include <map>
#include <set>
#include <string>

#include "platform/error.h"
#include "platform/host_folder.h"
#include "platform/image_medium.h"
#include "platform/machine_drives.h"
#include "platform/text_case.h"
#include "platform/win32/win32_text.h"

namespace platform {

namespace {

// GetDriveTypeW's values are the designed-for type codes, one higher.
DriveType typeCode(UINT type) {
    switch (type) {
        case DRIVE_REMOVABLE:
            return DriveType::removable;
        case DRIVE_FIXED:
            return DriveType::fixed;
        case DRIVE_REMOTE:
            return DriveType::network;
        case DRIVE_CDROM:
            return DriveType::cdRom;
        case DRIVE_RAMDISK:
            return DriveType::ramDisk;
        default:
            return DriveType::unknown;
    }
}

// "1A2B-3C4D", as the system's dir command shows it.
std::string serialText(DWORD serial) {
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    for (int shift = 28; shift >= 0; shift -= 4) {
        text += digits[(serial >> shift) & 0xF];
        if (shift == 16)
            text += '-';
    }
    return text;
}

class Win32DriveTable : public DriveTable {
  public:
    Win32DriveTable() { SetErrorMode(GetErrorMode() | SEM_FAILCRITICALERRORS); }

    std::vector<Drive> list() override {
        std::vector<Drive> out;
        const DWORD mask = GetLogicalDrives();
        for (int i = 0; i < 26; ++i) {
            if ((mask & (DWORD{1} << i)) != 0)
                out.push_back(describe(static_cast<char>('A' + i)));
        }
        return out;
    }

    std::optional<Drive> find(char letter) override {
        const char upper = upperLetter(letter);
        if (upper < 'A' || upper > 'Z' || (GetLogicalDrives() & (DWORD{1} << (upper - 'A'))) == 0)
            return std::nullopt;
        return describe(upper);
    }

  private:
    Drive describe(char letter) {
        const std::wstring root = {static_cast<wchar_t>(letter), L':', L'\\'};
        Drive d;
        d.letter = letter;
        d.type = typeCode(GetDriveTypeW(root.c_str()));
        wchar_t volume[MAX_PATH + 1] = {};
        DWORD serial = 0;
        d.ready = GetVolumeInformationW(root.c_str(), volume, MAX_PATH + 1, &serial, nullptr,
                                        nullptr, nullptr, 0) != 0;
        if (d.ready) {
            d.volumeName = win32::narrow(volume);
            d.serial = serialText(serial);
            std::shared_ptr<Medium>& medium = media_[letter];
            if (d.type == DriveType::removable && (letter == 'A' || letter == 'B')) {
                // The diskette now in the drive, read raw; the file system where that is refused.
                if (std::shared_ptr<Medium> raw = openRaw(letter)) {
                    d.medium = raw;
                    floppies_[letter] = raw;
                    readyWith(d, root);
                    d.entry = driveEntryText(letter, d.type, d.volumeName);
                    return d;
                }
            }
            floppies_.erase(letter);
            if (!medium) {
                try {
                    medium = openHostFolder(std::filesystem::path(root));
                } catch (const Error&) {
                    medium.reset();  // gone between the two calls
                }
            }
            d.ready = medium != nullptr;
            d.medium = medium;
            readyWith(d, root);
        }
        d.entry = driveEntryText(letter, d.type, d.volumeName);
        return d;
    }

    static void readyWith(Drive& d, const std::wstring& root) {
        ULARGE_INTEGER available{};
        if (GetDiskFreeSpaceExW(root.c_str(), &available, nullptr, nullptr))
            d.freeBytes = available.QuadPart;
    }

    // The diskette in floppy drive `letter` through \\.\A:, null when the raw open is
    // refused (no rights, no such device, a USB drive that is not a floppy): said once.
    std::shared_ptr<Medium> openRaw(char letter) {
        const std::string device = std::string("\\\\.\\") + letter + ":";
        try {
            return openDisketteDevice(device);
        } catch (const Error& e) {
            if (noted_.insert(letter).second)
                notes_[letter] = fileSystemReadNote(letter, e.description());
            return nullptr;
        }
    }

  public:
    std::shared_ptr<Medium> mediumOf(char letter) override {
        const auto it = floppies_.find(upperLetter(letter));
        return it != floppies_.end() ? it->second : DriveTable::mediumOf(letter);
    }

    // The fallback to the file system, logged once, when the drive is first used.
    std::string mountForUse(char letter) override {
        const auto it = notes_.find(upperLetter(letter));
        if (it == notes_.end())
            return "";
        std::string note = std::move(it->second);
        notes_.erase(it);
        return note;
    }

  private:
    std::map<char, std::shared_ptr<Medium>> floppies_;  // read raw, as the last look found them
    std::set<char> noted_;
    std::map<char, std::string> notes_;

    // One medium a letter for the run: it opens its root afresh for every operation.
    std::map<char, std::shared_ptr<Medium>> media_;
};

}  // namespace

std::unique_ptr<DriveTable> machineDrives() {
    return std::make_unique<Win32DriveTable>();
}

}  // namespace platform

namespace platform {

std::string deviceAccessAdvice() {
    return "To read the floppy itself, the program needs a floppy drive that Windows shows as "
           "one and the right to open \\\\.\\A: (run it as an administrator)";
}

}  // namespace platform
