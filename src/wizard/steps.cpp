// The wizard's steps behind OK: the floppy drive, the diskettes, the Compact Flash drive and
// further copies, and the two prompts that put the window into its drive-choosing state.
#include <cstdint>
#include <optional>
#include <string>

#include "diskset/checksum.h"
#include "diskset/reader.h"
#include "fs/file_system.h"
#include "platform/context.h"
#include "platform/error.h"
#include "rebuild/card_writer.h"
#include "rebuild/rebuild.h"
#include "state/state.h"
#include "ui/main_window.h"
#include "ui/messages.h"
#include "wizard/wizard.h"
#include "wizard/wizard_internal.h"

namespace wizard {

using detail::crlf;

namespace {

void showDriveChoice() {
    auto& w = ui::window();
    w.driveList().setVisible(true);
    w.driveList().setEnabled(true);
    w.driveSize().setVisible(true);
}

void hideDriveChoice() {
    auto& w = ui::window();
    w.driveList().setEnabled(false);
    w.driveList().setVisible(false);
    w.driveSize().setVisible(false);
}

// The failure reports of recombination and descriptor writing send the set back to be read
// again: an image that was not built whole must not reach a card.
void rebuildImage() {
    auto& bar = ui::window().progressBar1();
    const bool recombined = rebuild::recombineDatabase();
    bar.setVisible(false);
    if (!recombined || !rebuild::writeSingleDescriptor()) {
        promptFloppyDrive();
        return;
    }
    promptFlashDrive();
}

// Checks the set and rebuilds the image. Only a whole image leads on to the card: a failure
// that no step reports sends the wizard back to the floppy prompt before the boundary shows it.
void verifyAndRebuild(bool resetBar) {
    try {
        if (!checksum::verifyChecksums()) {
            promptFloppyDrive();
            return;
        }
        if (resetBar)
            ui::window().progressBar1().setValue(0);
        rebuildImage();
    } catch (...) {
        promptFloppyDrive();
        throw;
    }
}

void logIfAny(const std::string& text) {
    if (!text.empty())
        ui::appendLog(text);
}

// The desktop mounts a medium that is in the drive but not mounted. One it cannot mount is a
// drive that is not ready, with the reason in the log.
bool readyForUse(const fs::DriveObject& drive) {
    try {
        logIfAny(platform::drives().mountForUse(drive.DriveLetter()[0]));
    } catch (const platform::Error& e) {
        ui::appendLog(e.description());
        return false;
    }
    return drive.IsReady();
}

// Reads diskette `n`, then releases a floppy mounted for it (so the next one is read fresh),
// whether the read went well or not.
archive::DisketteRead readAndRelease(const fs::DriveObject& drive, int16_t n) {
    struct Release {
        char letter;
        ~Release() {
            try {
                logIfAny(platform::drives().releaseDiskette(letter));
            } catch (...) {
                // The read's own outcome is what the user must see.
            }
        }
    } release{drive.DriveLetter()[0]};
    archive::DisketteRead result = archive::DisketteRead::refused;
    try {
        result = readDiskette(n, drive.DriveLetter());
    } catch (const ui::ProgramEnded&) {
        throw;
    } catch (...) {
        // A diskette too damaged to read: what was read of it is kept, and the status says
        // that the next OK reads it again, before the boundary shows why.
        detail::keepImage(n, false);
        ui::promptForDiskette(n);
        throw;
    }
    // Every diskette that was read is kept, the failing ones too; one refused for its number
    // or its set is not.
    if (result != archive::DisketteRead::refused && result != archive::DisketteRead::otherSet)
        detail::keepImage(n, true);
    return result;
}

void showVerifying() {
    ui::setStatus(std::string("Done reading diskettes.") + crlf + "Verifying validity of data." +
                  crlf + "Please wait...");
}

// What both reading steps do after a read that was not the last diskette's, or failed.
void afterPartialRead(archive::DisketteRead result) {
    if (result == archive::DisketteRead::more) {
        app::currentDisk = static_cast<int16_t>(app::currentDisk + 1);
        app::wizardStep = app::Step::nextDiskette;
        ui::promptForDiskette(app::currentDisk);
    } else if (result == archive::DisketteRead::copyFailed) {
        promptFloppyDrive();
    }
}

// The set summary that diskette 1 gives, under the drive list and in the log.
void showSetSummary() {
    app::errorText = archive::setSummary();
    try {
        ui::window().setSummary().setCaption(app::errorText);
    } catch (const platform::Error&) {
    }
    ui::appendLog(app::errorText);
}

// Asks before a database on the card is replaced. False when the user declines.
bool replaceAgreed(const std::string& single) {
    const ui::Answer answer =
        ui::msgBox("Directory " + single + " already exists" + crlf + "Replace old database?",
                   ui::Buttons::yesNo, ui::Icon::question, "Replace");
    if (answer == ui::Answer::no)
        return false;
    ui::appendLog("Remove " + single);
    return true;
}

}  // namespace

namespace detail {

std::optional<fs::DriveObject> stepDrive() {
    const std::string entry = ui::window().driveList().drive();
    try {
        return listDrive();
    } catch (const platform::Error&) {
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

archive::DisketteRead readDiskette(int16_t n, const std::string& letter) {
    archive::DisketteReader reader(n, letter);
    if (const std::optional<archive::DisketteRead> refused = reader.open())
        return *refused;
    if (n == 1) {
        // The set is known now: the bar spans all of its diskettes.
        try {
            ui::window().progressBar1().setMax(static_cast<float>(app::totalDisks * 100));
        } catch (const platform::Error&) {
        }
    }
    const archive::DisketteRead result = reader.copy();
    if (result == archive::DisketteRead::otherSet)
        app::wizardStep = app::Step::floppyDrive;
    else if (n == 1 && result != archive::DisketteRead::copyFailed)
        showSetSummary();
    return result;
}

void acceptFloppyDrive() {
    const auto drive = detail::stepDrive();
    if (!drive)
        return;
    app::floppyDrive = drive->DriveLetter() + ":";
    ui::appendLog("Floppy drive " + app::floppyDrive + " was selected");
    hideDriveChoice();
    ui::window().buttonBack().setEnabled(true);
    app::currentDisk = 1;
    ui::promptForDiskette(1);
    app::wizardStep = app::Step::firstDiskette;
}

void readFirstDiskette() {
    const auto drive = detail::stepDrive();
    if (!drive)
        return;
    if (!readyForUse(*drive)) {
        detail::reportError(detail::notReadyText(drive->DriveLetter()));
        return;
    }
    auto& bar = ui::window().progressBar1();
    ui::setStatus(std::string("Please wait...") + crlf + "Reading diskette #" +
                  std::to_string(app::currentDisk));
    bar.setVisible(true);
    bar.setValue(0);
    const archive::DisketteRead result = readAndRelease(*drive, app::currentDisk);
    if (result != archive::DisketteRead::last) {
        afterPartialRead(result);
        return;
    }
    app::wizardStep = app::Step::cardDrive;
    bar.setValue(0);
    showVerifying();
    verifyAndRebuild(false);
}

void readNextDiskette() {
    const auto drive = detail::stepDrive();
    if (!drive)
        return;
    if (!readyForUse(*drive)) {
        detail::reportError(detail::notReadyText(drive->DriveLetter()) + crlf +
                            "Please insert disk #" + std::to_string(app::currentDisk) +
                            " into drive.");
        return;
    }
    ui::setStatus(std::string("Please wait...") + crlf + "Reading diskette #" +
                  std::to_string(app::currentDisk));
    const archive::DisketteRead result = readAndRelease(*drive, app::currentDisk);
    if (result != archive::DisketteRead::last) {
        afterPartialRead(result);
        return;
    }
    app::wizardStep = app::Step::cardDrive;
    showVerifying();
    verifyAndRebuild(true);
}

int16_t writeCompactFlash() {
    rebuild::CardWriter writer;
    const rebuild::CardWriter::Found found = writer.prepare();
    if (found == rebuild::CardWriter::Found::failed)
        return -1;
    const bool replacing = found == rebuild::CardWriter::Found::database;
    if (replacing && !replaceAgreed(writer.single()))
        return -1;
    return writer.write(replacing) ? 1 : -1;
}

void acceptFlashDrive() {
    const auto drive = detail::stepDrive();
    if (!drive)
        return;
    auto& w = ui::window();
    if (!readyForUse(*drive)) {
        detail::reportError(detail::notReadyText(drive->DriveLetter()));
        w.driveList().setListIndex(savedListIndex);
        return;
    }
    app::flashDrive = drive->DriveLetter() + ":";
    if (!checkFlashDrive())
        return;
    hideDriveChoice();
    if (writeCompactFlash() == 1) {
        logIfAny(platform::drives().releaseCard(drive->DriveLetter()[0]));
        app::wizardStep = app::Step::done;
        w.buttonOK().setEnabled(true);
        const char* unit = app::currentDisk == 1 ? " diskette" : " diskettes";
        ui::setStatus(std::string("Successful database convert") + crlf + "Total " +
                      std::to_string(app::currentDisk) + unit + crlf +
                      "Press OK for another copy or Exit");
        return;
    }
    ui::setStatus(std::string("Please select the Compact Flash") + crlf +
                  "drive and press the OK button");
    showDriveChoice();
    w.progressBar1().setVisible(false);
}

void startAnotherCopy() {
    app::wizardStep = app::Step::cardDrive;
    // Unlike the other Compact Flash prompts, this one has a blank after "Flash".
    ui::setStatus(std::string("Please select the Compact Flash ") + crlf +
                  "drive and press the OK button");
    showDriveChoice();
}

void promptFloppyDrive() {
    auto& w = ui::window();
    ui::setStatus(std::string("Please select the floppy disk drive ") + crlf +
                  "and press the OK button");
    showDriveChoice();
    w.buttonBack().setEnabled(false);
    w.progressBar1().setValue(0);
    w.progressBar1().setVisible(false);
    app::wizardStep = app::Step::floppyDrive;
}

void promptFlashDrive() {
    ui::setStatus(std::string("Please select the Compact Flash") + crlf +
                  "drive and press the OK button");
    showDriveChoice();
    ui::window().progressBar1().setVisible(false);
}

}  // namespace wizard
