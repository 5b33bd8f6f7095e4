// The card writer: the flat area copied into \backup\single\ on the Compact Flash drive. The
// new database is written and read back beside the single folder and swapped in by renames, so
// that the single folder holds a whole database, old or new, at every instant but between two
// renames.
#include "rebuild/card_writer.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "fs/card_names.h"
#include "fs/copy.h"
#include "fs/file_system.h"
#include "fs/temp_area.h"
#include "platform/context.h"
#include "platform/error.h"
#include "platform/text_case.h"
#include "rebuild/card_states.h"
#include "state/state.h"
#include "ui/messages.h"

namespace rebuild {

namespace {

std::string notWriteProtected() {
    return std::string(ui::crlf) + "Ensure the Compact Flash drive " + app::flashDrive +
           " is not write protected";
}

std::string readyAndNotWriteProtected() {
    return std::string(ui::crlf) + "Ensure the Compact Flash drive " + app::flashDrive +
           " is ready and not write protected";
}

// Reports and returns false when the folder cannot be created.
bool createFolder(const std::string& folder, const std::string& shown) {
    try {
        fs::makeFolder(folder);
    } catch (const platform::Error&) {
        ui::report("Failed to create directory: " + shown + ui::crlf +
                   "Ensure there is enough free space on Compact Flash drive " + app::flashDrive);
        return false;
    }
    return true;
}

template <typename Step>
void passOver(Step step) {
    try {
        step();
    } catch (const platform::Error&) {
        // Showing progress is no part of the write; the write goes on without it.
    }
}

// Every name below `folder` the card holds as it is spelled, each distinct from the others of
// its folder; else reports the first one (named where the card would have it) and returns false.
bool namesFit(const std::string& folder, const std::string& below, const std::string& shown) {
    std::vector<std::string> names;
    std::vector<fs::DirEntry> entries;
    try {
        entries = fs::listFolderAll(folder + below);
    } catch (const platform::Error&) {
        ui::report("Failed to copy directory " + folder.substr(0, folder.size() - 1) + " to " +
                   shown + readyAndNotWriteProtected());
        return false;
    }
    for (const fs::DirEntry& e : entries) {
        if (auto problem = fs::cardNameProblem(e.name)) {
            ui::report(fs::cardNameReport(shown + below + e.name, *problem));
            return false;
        }
        names.push_back(e.name);
        if (e.folder && !namesFit(folder, below + e.name + "\\", shown))
            return false;
    }
    if (auto twins = fs::cardTwins(names)) {
        ui::report(fs::cardNameReport(shown + below + twins->second,
                                      "The card takes it and " + twins->first + " for one name"));
        return false;
    }
    return true;
}

// A fresh writing folder beside the single folder. Reports and returns false when the card
// does not take it.
bool startBeside(const CardFolders& card) {
    const std::string writing = card.at(cardWritingFolder);
    try {
        // A file where the single folder goes could never make way for the new database.
        if (fs::entryExists(card.single) && !folderExists(card.single))
            return createFolder(card.single, card.single);
        if (folderExists(writing))
            fs::removeFolderTree(writing);
    } catch (const platform::Error&) {
        // The creation below fails in its turn and reports it.
    }
    return createFolder(writing, card.single);
}

// Copies `from` into the writing folder (the reports name the single folder), flushes the card,
// reads it back and names the folder verified. Reports and returns false on any failure.
bool fillBeside(const std::string& from, const CardFolders& card, int16_t step) {
    const std::string writing = card.at(cardWritingFolder);
    try {
        if (fs::copyFileChecked(from + "\\", writing, step, card.single) != 1)
            return false;
    } catch (const platform::Error&) {
        ui::report("Failed to copy directory " + from + " to " + card.single +
                   readyAndNotWriteProtected());
        return false;
    }
    for (const std::string& folder : {writing, card.backup}) {
        try {
            fs::syncTree(folder);
        } catch (const platform::Error&) {
            ui::report("Failed writing: " + card.single + ui::crlf +
                       "Ensure there is enough free space on Compact Flash drive " +
                       app::flashDrive);
            return false;
        }
    }
    ui::restartProgress();
    std::optional<std::string> differs;
    try {
        differs = firstDifference(from, writing, step);
    } catch (const platform::Error&) {
        differs = "";
    }
    if (differs) {
        ui::report("Verification failed: " + card.single + *differs + ui::crlf +
                   "The Compact Flash card does not keep what is written to it. Use another card.");
        return false;
    }
    try {
        fs::renameFolder(writing, card.at(cardVerifiedFolder));
    } catch (const platform::Error&) {
        ui::report("Failed to rename directory: " + card.single + notWriteProtected());
        return false;
    }
    return true;
}

// After a failed write: the half-written folder goes, where the card still allows it.
void dropWriting(const CardFolders& card) {
    try {
        if (folderExists(card.at(cardWritingFolder)))
            fs::removeFolderTree(card.at(cardWritingFolder));
    } catch (const platform::Error&) {
        // Never taken for a database: the next write removes it.
    }
}

// The verified database takes the single folder's place; the one it replaces is deleted. Every
// step can be taken again, so a failing step gets one more try; what still stands then is a
// state the next visit of the card step finishes.
bool swapIn(const CardFolders& card) {
    for (int attempt = 0;; ++attempt) {
        try {
            settleCard(card, false);
            return true;
        } catch (const platform::Error&) {
            if (attempt == 0)
                continue;
            try {
                if (folderExists(card.single) && !folderExists(card.at(cardVerifiedFolder)) &&
                    !folderExists(card.at(cardReplacedFolder)))
                    return true;  // in place: only the deletion of the old one is left
            } catch (const platform::Error&) {
            }
            ui::report("Failed to rename directory: " + card.single + notWriteProtected());
            return false;
        }
    }
}

// A card too small for both databases: the previous one is kept, verified, on the computer
// while the new one is written. Reports and returns false when it cannot be kept.
bool keepOnComputer(const CardFolders& card, const std::string& kept) {
    try {
        fs::removeFolderTree(kept + "\\");
        fs::makeFolder(kept);
        if (fs::copyFileChecked(card.single, kept + "\\", 0) != 1)
            return false;
        if (!firstDifference(card.single, kept, 0))
            return true;
    } catch (const platform::Error&) {
    }
    ui::report("Failed to copy directory " + card.single + " to " + kept + ui::crlf +
               "The previous database could not be kept on this computer");
    return false;
}

// Writes the previous database kept on the computer back to the card.
void writeBack(const CardFolders& card, const std::string& kept) {
    if (startBeside(card) && fillBeside(kept, card, 0) && swapIn(card)) {
        ui::appendLog("Kept the previous database in " + card.single);
        try {
            fs::removeFolderTree(kept + "\\");
        } catch (const platform::Error&) {
        }
        return;
    }
    dropWriting(card);
    ui::appendLog("The previous database is kept in " + kept);
}

// Finishes an earlier write's states before anything is asked. Reports and returns false when
// the card does not let it.
bool recover(const CardFolders& card) {
    try {
        settleCard(card, true);
        return true;
    } catch (const platform::Error&) {
        ui::report("Failed to finish an earlier write in " + card.backup + notWriteProtected());
        return false;
    }
}

bool tooSmallForBoth(const std::string& flat) {
    double free = 0;
    try {
        free = fs::FileSystemObject().GetDrive(app::flashDrive).FreeSpace();
    } catch (const platform::Error&) {
    }
    return static_cast<double>(bytesOnCard(flat, app::flashDrive + "\\")) > free;
}

// Makes room on a card too small for both: the previous database is kept on the computer, then
// deleted from the card. Reports and returns false when the card must stay as it is.
bool makeRoom(const CardFolders& card, const std::string& kept) {
    ui::appendLog("Not enough free space on " + app::flashDrive +
                  " to keep the previous database until the new one is verified");
    if (!keepOnComputer(card, kept))
        return false;
    try {
        deleteDatabase(card, card.single);
    } catch (const platform::Error&) {
        ui::report("Failed to remove directory: " + card.single + notWriteProtected());
        writeBack(card, kept);
        return false;
    }
    return true;
}
}  // namespace

CardWriter::CardWriter()
    : card_(app::flashDrive),
      flat_(fs::flatArea(fs::getTempFolder())),
      kept_(fs::previousArea(fs::getTempFolder())) {}

CardWriter::~CardWriter() {
    if (!place_)
        return;
    if (place_->changedDrive != '\0')
        platform::setCurrentFolder(place_->changedDrive, place_->folder);
    platform::setCurrentDrive(place_->drive);
}

CardWriter::Found CardWriter::prepare() {
    ui::appendLog("Compact Flash drive " + app::flashDrive + " was selected ");

    const char letter = app::flashDrive.empty() ? '\0' : platform::upperLetter(app::flashDrive[0]);
    const char drive = platform::currentDrive();
    place_.emplace(Place{drive, letter, letter != '\0' ? platform::currentFolder(letter) : ""});
    fs::changeDrive(app::flashDrive);

    if (!namesFit(flat_ + "\\", "", card_.single))
        return Found::failed;
    if (!folderExists(card_.backup))
        return createFolder(card_.backup, card_.backup) ? Found::nothing : Found::failed;
    fs::changeFolder(card_.backup);
    if (!recover(card_))
        return Found::failed;
    return folderExists(card_.single) ? Found::database : Found::nothing;
}

bool CardWriter::write(bool replacing) {
    bool keptOnComputer = false;
    if (replacing && tooSmallForBoth(flat_)) {
        if (!makeRoom(card_, kept_))
            return false;
        keptOnComputer = true;
    }

    passOver([] {
        ui::setStatus(std::string("Please wait...") + ui::crlf + "Writing on the Compact Flash");
    });
    ui::restartProgress();
    ui::showProgress(true);
    const auto step = static_cast<int16_t>(app::fileCount > 0 ? 100 / app::fileCount : 0);
    if (!copyIn(step)) {
        undo(replacing, keptOnComputer);
        return false;
    }
    passOver([&] { ui::appendLog("Verified " + card_.single); });
    if (!swapIn(card_))
        return false;
    if (keptOnComputer) {
        try {
            fs::removeFolderTree(kept_ + "\\");
        } catch (const platform::Error&) {
        }
    }
    ui::showProgress(false);
    return true;
}

// The new database beside the single folder, written and read back.
bool CardWriter::copyIn(int16_t step) {
    if (!startBeside(card_))
        return false;
    passOver([&] { ui::appendLog("Copy directory " + flat_ + " to " + card_.single); });
    return fillBeside(flat_, card_, step);
}

// After a failed write the card gets its previous database back, wherever it was kept.
void CardWriter::undo(bool replacing, bool keptOnComputer) {
    dropWriting(card_);
    if (keptOnComputer)
        writeBack(card_, kept_);
    else if (replacing)
        ui::appendLog("Kept the previous database in " + card_.single);
}

}  // namespace rebuild
