// The drive list's change handling, the drive information label, and the check of the Compact
// Flash drive before it is written to.
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>

#include "fs/file_system.h"
#include "platform/error.h"
#include "platform/text_case.h"
#include "state/state.h"
#include "ui/main_window.h"
#include "ui/messages.h"
#include "wizard/wizard.h"
#include "wizard/wizard_internal.h"

namespace wizard {

namespace {

fs::DriveObject driveOf(const std::string& drvpath) {
    fs::FileSystemObject fso;
    return fso.GetDrive(fso.GetDriveName(drvpath));
}

// M1: the drive's type is unknown. Titled with the application title.
void reportUnknownType(const std::string& letter) {
    const std::string text = "Unknown type Drive " + letter + ":";
    ui::appendLog("ERROR " + text);
    ui::msgBox(text, ui::Buttons::ok, ui::Icon::critical);
}

void setDriveSize(const std::string& caption) {
    auto& label = ui::window().driveSize();
    label.setCaption(caption);
    label.refresh();
}

}  // namespace

namespace detail {

fs::DriveObject listDrive() {
    return driveOf(ui::window().driveList().drive());
}

std::string notReadyText(const std::string& letter) {
    return std::string(crlf) + "Drive " + letter + ":" + " is not ready.";
}

std::string upperCase(std::string text) {
    return platform::upperAscii(std::move(text));
}

std::optional<fs::DriveObject> stepDrive() {
    const std::string entry = ui::window().driveList().drive();
    try {
        return listDrive();
    } catch (const platform::Error&) {
        // Reported here, in the words of the step: the caller only stops.
        if (entry.empty())
            reportError(std::string(crlf) + "No drive is selected.");
        else
            reportError(std::string(crlf) + "Drive " + upperCase(entry) + " is not available.");
        return std::nullopt;
    }
}

void reportError(const std::string& text) {
    ui::appendLog("ERROR " + text);
    ui::errorBox(text);
}

}  // namespace detail

void onDriveChange() {
    const fs::DriveObject drive = detail::listDrive();
    const std::string letter = drive.DriveLetter();
    if (app::wizardStep == app::Step::cardDrive) {
        if (drive.DriveType() == platform::DriveType::unknown) {
            reportUnknownType(letter);
            return;
        }
        if (!drive.IsReady()) {
            detail::reportError(detail::notReadyText(letter));
            // Runs this handling again for the drive there when the index moves.
            ui::window().driveList().setListIndex(savedListIndex);
            return;
        }
    }
    if (drive.IsReady()) {
        if (app::wizardStep == app::Step::floppyDrive)
            showDriveInfo();
        else
            showDriveSpace();
    } else {
        setDriveSize("Drive " + letter + ":");
    }
    ui::window().buttonOK().setFocus();
}

void onDrivesChanged() {
    auto& list = ui::window().driveList();
    list.refreshDrives();
    if (!list.visible())
        return;
    if (list.listIndex() < 0) {
        setDriveSize("");  // the chosen drive went away
        return;
    }
    if (app::wizardStep == app::Step::floppyDrive)
        showDriveInfo();
    else
        showDriveSpace();
}

void onDriveListKey() {
    onDriveChange();
}

void showDriveInfo() {
    const std::string entry = ui::window().driveList().drive();
    const fs::DriveObject drive = driveOf(entry);
    // A drive without a medium has no volume name to show.
    if (!drive.IsReady()) {
        setDriveSize("Drive " + drive.DriveLetter() + ":");
        return;
    }
    setDriveSize(getDriveTypeText(entry) + "Drive " + detail::upperCase(entry) + " - " +
                 drive.VolumeName());
}

void showDriveSpace() {
    const std::string entry = ui::window().driveList().drive();
    setDriveSize(getDriveTypeText(entry) + getFreeSpace(entry));
}

std::string getDriveTypeText(const std::string& drvpath) {
    switch (driveOf(drvpath).DriveType()) {
        case platform::DriveType::unknown:
            return "Unknown ";
        case platform::DriveType::removable:
            return "Removable ";
        case platform::DriveType::fixed:
            return "Fixed ";
        case platform::DriveType::network:
            return "Network ";
        case platform::DriveType::cdRom:
            return "CD-ROM ";
        case platform::DriveType::ramDisk:
            return "RAM Disk ";
    }
    return "";  // a code the designed-for platform does not name
}

std::string getFreeSpace(const std::string& drvpath) {
    const fs::DriveObject drive = driveOf(drvpath);
    std::string text =
        "Drive " + detail::upperCase(drvpath) + " - " + drive.VolumeName() + detail::crlf;
    // Kilobytes to the nearest whole number, an exact half up.
    const double kilobytes = std::floor(drive.FreeSpace() / 1024.0 + 0.5);
    const uint64_t whole = kilobytes > 0 ? static_cast<uint64_t>(kilobytes) : 0;
    text += " Free Space: " + groupDigits(whole) + " Kbytes";
    return text;
}

bool checkFlashDrive() {
    const std::string entry = ui::window().driveList().drive();
    const fs::DriveObject drive = driveOf(entry);
    const std::string letter = drive.DriveLetter();
    if (drive.DriveType() == platform::DriveType::unknown) {
        reportUnknownType(letter);
        return false;
    }
    if (!drive.IsReady()) {
        detail::reportError(detail::notReadyText(letter));
        return false;
    }
    setDriveSize(getDriveTypeText(entry) + getFreeSpace(entry));
    ui::window().buttonOK().setEnabled(true);
    return true;
}

}  // namespace wizard
