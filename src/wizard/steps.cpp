// The wizard's steps: what OK and Back do at each step, then the step bodies in step order (the
// floppy drive, the diskettes, the Compact Flash drive, another copy), the prompts that put the
// window into a step, and last the helpers the bodies share.
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

// How reading diskette #1 differs from reading the ones after it.
struct DisketteStep {
    bool showsBar;           // the bar appears, at 0, as the diskette is read
    bool repeatsPrompt;      // a drive that is not ready repeats the diskette prompt
    bool barAfterChecksums;  // after the last diskette the bar restarts once the checksums
                             // hold, not before they are checked
};
constexpr DisketteStep readingFirst{true, false, false};
constexpr DisketteStep readingNext{false, true, true};

void readDisketteStep(const DisketteStep& step);
void restartDiskettes();
void showDriveChoice();
void hideDriveChoice();
void verifyAndRebuild(const DisketteStep& step);
void logIfAny(const std::string& text);
bool readyForUse(const fs::DriveObject& drive);
diskset::DisketteRead readAndRelease(const fs::DriveObject& drive, int16_t n);
void afterPartialRead(diskset::DisketteRead result);
void showSetSummary();
bool replaceAgreed(const std::string& single);

}  // namespace

// ---- OK and Back ----

void onOk() {
    switch (app::wizardStep) {
        case app::Step::floppyDrive:
            acceptFloppyDrive();
            break;
        case app::Step::firstDiskette:
            readDisketteStep(readingFirst);
            break;
        case app::Step::nextDiskette:
            readDisketteStep(readingNext);
            break;
        case app::Step::cardDrive:
            acceptFlashDrive();
            break;
        case app::Step::done:
            startAnotherCopy();
            break;
    }
}

void onBack() {
    switch (app::wizardStep) {
        case app::Step::floppyDrive:
            promptFloppyDrive();
            break;
        case app::Step::firstDiskette:
            ui::appendLog(std::string("Going back to select floppy drive") + crlf);
            promptFloppyDrive();
            break;
        case app::Step::nextDiskette:
            restartDiskettes();
            break;
        case app::Step::cardDrive:
        case app::Step::done:
            if (ui::msgBox("Start over reading from the first diskette?", ui::Buttons::yesNo,
                           ui::Icon::question, "Restart") == ui::Answer::yes)
                restartDiskettes();
            break;
    }
}

// ---- The steps, in order ----

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

namespace {

void readDisketteStep(const DisketteStep& step) {
    const auto drive = detail::stepDrive();
    if (!drive)
        return;
    if (!readyForUse(*drive)) {
        std::string text = detail::notReadyText(drive->DriveLetter());
        if (step.repeatsPrompt)
            text += crlf + std::string("Please insert disk #") + std::to_string(app::currentDisk) +
                    " into drive.";
        detail::reportError(text);
        return;
    }
    ui::setStatus(std::string("Please wait...") + crlf + "Reading diskette #" +
                  std::to_string(app::currentDisk));
    if (step.showsBar) {
        ui::showProgress(true);
        ui::restartProgress();
    }
    const diskset::DisketteRead result = readAndRelease(*drive, app::currentDisk);
    if (result != diskset::DisketteRead::last) {
        afterPartialRead(result);
        return;
    }
    app::wizardStep = app::Step::cardDrive;
    if (!step.barAfterChecksums)
        ui::restartProgress();
    ui::setStatus(std::string("Done reading diskettes.") + crlf + "Verifying validity of data." +
                  crlf + "Please wait...");
    verifyAndRebuild(step);
}

}  // namespace

diskset::DisketteRead readDiskette(int16_t n, const std::string& letter) {
    diskset::DisketteReader reader(n, letter);
    if (const std::optional<diskset::DisketteRead> refused = reader.open())
        return *refused;
    if (n == 1)
        ui::setProgressMax(static_cast<float>(app::totalDisks * 100));  // the whole set
    const diskset::DisketteRead result = reader.copy();
    if (result == diskset::DisketteRead::otherSet)
        app::wizardStep = app::Step::floppyDrive;
    else if (n == 1 && result != diskset::DisketteRead::copyFailed)
        showSetSummary();
    return result;
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
    ui::showProgress(false);
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

void startAnotherCopy() {
    app::wizardStep = app::Step::cardDrive;
    // Unlike the other Compact Flash prompts, this one has a blank after "Flash".
    ui::setStatus(std::string("Please select the Compact Flash ") + crlf +
                  "drive and press the OK button");
    showDriveChoice();
}

// ---- Prompts ----

void promptFloppyDrive() {
    ui::setStatus(std::string("Please select the floppy disk drive ") + crlf +
                  "and press the OK button");
    showDriveChoice();
    ui::window().buttonBack().setEnabled(false);
    ui::restartProgress();
    ui::showProgress(false);
    app::wizardStep = app::Step::floppyDrive;
}

void promptFlashDrive() {
    ui::setStatus(std::string("Please select the Compact Flash") + crlf +
                  "drive and press the OK button");
    showDriveChoice();
    ui::showProgress(false);
}

// ---- Helpers ----

namespace {

// Back to diskette #1; from the Compact Flash steps the drive choice is put away as well.
void restartDiskettes() {
    auto& w = ui::window();
    const bool fromFlashStep =
        app::wizardStep == app::Step::cardDrive || app::wizardStep == app::Step::done;
    ui::appendLog(std::string("Going back to 1st diskette") + crlf);
    app::currentDisk = 1;
    ui::promptForDiskette(1);
    ui::showProgress(false);
    if (fromFlashStep) {
        w.driveList().setVisible(false);
        w.driveSize().setVisible(false);
    }
    ui::restartProgress();
    w.summaryLabel().setCaption("");
    app::wizardStep = app::Step::firstDiskette;
}

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

// Checks the set and rebuilds the image. Only a whole image leads on to the card: a failure
// that no step reports sends the wizard back to the floppy prompt before the boundary shows it.
// The failure reports of recombination and descriptor writing send the set back to be read
// again: an image that was not built whole must not reach a card.
void verifyAndRebuild(const DisketteStep& step) {
    try {
        if (!diskset::verifyChecksums()) {
            promptFloppyDrive();
            return;
        }
        if (step.barAfterChecksums)
            ui::restartProgress();
        const bool recombined = rebuild::recombineDatabase();
        ui::showProgress(false);
        if (!recombined || !rebuild::writeSingleDescriptor()) {
            promptFloppyDrive();
            return;
        }
        promptFlashDrive();
    } catch (...) {
        // Not swallowed: the wizard steps back first, then the boundary reports the failure.
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
diskset::DisketteRead readAndRelease(const fs::DriveObject& drive, int16_t n) {
    struct Release {
        char letter;
        ~Release() {
            try {
                logIfAny(platform::drives().releaseDiskette(letter));
            } catch (...) {
                // Swallowed: the read's own outcome is what the user must see, and a
                // destructor must not throw.
            }
        }
    } release{drive.DriveLetter()[0]};
    diskset::DisketteRead result = diskset::DisketteRead::refused;
    try {
        result = readDiskette(n, drive.DriveLetter());
    } catch (const ui::ProgramEnded&) {
        throw;  // the end of the program passes untouched
    } catch (...) {
        // A diskette too damaged to read: what was read of it is kept, and the status says
        // that the next OK reads it again, before the boundary shows why.
        detail::keepImage(n, false);
        ui::promptForDiskette(n);
        throw;
    }
    // Every diskette that was read is kept, the failing ones too; one refused for its number
    // or its set is not.
    if (result != diskset::DisketteRead::refused && result != diskset::DisketteRead::otherSet)
        detail::keepImage(n, true);
    return result;
}

// What both reading steps do after a read that was not the last diskette's, or failed.
void afterPartialRead(diskset::DisketteRead result) {
    if (result == diskset::DisketteRead::more) {
        app::currentDisk = static_cast<int16_t>(app::currentDisk + 1);
        app::wizardStep = app::Step::nextDiskette;
        ui::promptForDiskette(app::currentDisk);
    } else if (result == diskset::DisketteRead::copyFailed) {
        promptFloppyDrive();
    }
}

// The set summary that diskette 1 gives, under the drive list and in the log.
void showSetSummary() {
    app::errorText = diskset::summaryText();
    try {
        ui::window().summaryLabel().setCaption(app::errorText);
    } catch (const platform::Error&) {
        // Swallowed: a label that refuses the text loses nothing; the log below still has it.
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

}  // namespace wizard
