// The card writer: the flat area copied into \backup\single\ on the Compact Flash drive. The
// new database is written and read back beside the single folder and swapped in by renames, so
// that the single folder holds a whole database, old or new, at every instant but between two
// renames.
#include "rebuild/card_writer.h"

#include <cstdint>
#include <functional>
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
#include "rebuild/kept_copies.h"
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
            removeUnfinished(writing);
    } catch (const platform::Error&) {
        // The creation below fails in its turn and reports it.
    }
    return createFolder(writing, card.single);
}

// Copies a database into the writing folder with `copy` (which reports its own failures),
// flushes the card, reads it back against `from` and names the folder verified. Reports and
// returns false on any failure.
bool fillBeside(const Tree& from, const CardFolders& card, int16_t step,
                const std::function<bool()>& copy) {
    const std::string writing = card.at(cardWritingFolder);
    if (!copy())
        return false;
    // One walk: the backup folder's tree holds the new database, and its own entry on the card
    // (made by this write when the card had none) is flushed with it.
    try {
        fs::syncTree(card.backup);
    } catch (const platform::Error&) {
        ui::report("Failed writing: " + card.single + ui::crlf +
                   "Ensure there is enough free space on Compact Flash drive " + app::flashDrive);
        return false;
    }
    ui::restartProgress();
    std::optional<std::string> differs;
    try {
        differs = firstDifference(from, treeAt(writing), step);
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
            removeUnfinished(card.at(cardWritingFolder));
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
bool keepOnComputer(const CardFolders& card, const KeptCopy& kept) {
    try {
        const Tree single = treeAt(card.single);
        copyTree(single, kept.tree());
        if (!firstDifference(single, kept.tree(), 0)) {
            ui::appendLog("Copied the previous database to " + kept.shown());
            return true;
        }
    } catch (const platform::Error&) {
    }
    ui::report("Failed to copy directory " + card.single + " to " + kept.shown() + ui::crlf +
               "The previous database could not be kept on this computer");
    return false;
}

// Removes a copy that the card no longer needs; one that stays is only a folder too many.
void dropCopy(const KeptCopy& kept) {
    try {
        kept.remove();
        ui::appendLog("Removed the copy of the previous database kept in " + kept.shown());
    } catch (const platform::Error&) {
    }
}

// Writes the previous database kept on the computer back to the card.
void writeBack(const CardFolders& card, const KeptCopy& kept) {
    const auto copy = [&] {
        try {
            copyTree(kept.tree(), treeAt(card.at(cardWritingFolder)));
            return true;
        } catch (const platform::Error&) {
            ui::report("Failed to copy directory " + kept.shown() + " to " + card.single +
                       readyAndNotWriteProtected());
            return false;
        }
    };
    if (startBeside(card) && fillBeside(kept.tree(), card, 0, copy) && swapIn(card)) {
        ui::appendLog("Restored the previous database in " + card.single);
        dropCopy(kept);
        dropKeptCopiesOf(app::flashDrive);
        return;
    }
    dropWriting(card);
    ui::appendLog("The previous database is kept in " + kept.shown());
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
bool makeRoom(const CardFolders& card, std::optional<KeptCopy>& kept) {
    ui::appendLog("Not enough free space on " + app::flashDrive +
                  " to keep the previous database until the new one is verified");
    try {
        kept.emplace(app::flashDrive);
    } catch (const platform::Error&) {
        const std::string where = keptCopiesFolder();
        ui::report(where.empty() ? std::string("The previous database could not be kept on this "
                                               "computer: the system names no folder for it")
                                 : "Failed to create directory: " + where + ui::crlf +
                                       "The previous database could not be kept on this computer");
        return false;
    }
    if (!keepOnComputer(card, *kept)) {
        try {
            kept->remove();
        } catch (const platform::Error&) {
        }
        kept.reset();
        return false;
    }
    try {
        deleteDatabase(card, card.single);
    } catch (const platform::Error&) {
        ui::report("Failed to remove directory: " + card.single + notWriteProtected());
        writeBack(card, *kept);
        return false;
    }
    return true;
}
}  // namespace

CardWriter::CardWriter() : card_(app::flashDrive), flat_(fs::flatArea(fs::getTempFolder())) {}

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
    if (replacing && tooSmallForBoth(flat_) && !makeRoom(card_, kept_))
        return false;

    passOver([] {
        ui::setStatus(std::string("Please wait...") + ui::crlf + "Writing on the Compact Flash");
    });
    ui::restartProgress();
    ui::showProgress(true);
    const auto step = static_cast<int16_t>(app::fileCount > 0 ? 100 / app::fileCount : 0);
    if (!copyIn(step)) {
        undo(replacing);
        return false;
    }
    passOver([&] { ui::appendLog("Verified " + card_.single); });
    if (!swapIn(card_))
        return false;
    if (kept_)
        dropCopy(*kept_);
    dropKeptCopiesOf(app::flashDrive);
    ui::showProgress(false);
    return true;
}

// The new database beside the single folder, written and read back.
bool CardWriter::copyIn(int16_t step) {
    Tree flat;
    try {
        flat = treeAt(flat_);
    } catch (const platform::Error&) {
        ui::report("Failed to copy directory " + flat_ + " to " + card_.single +
                   readyAndNotWriteProtected());
        return false;
    }
    if (!startBeside(card_))
        return false;
    passOver([&] { ui::appendLog("Copy directory " + flat_ + " to " + card_.single); });
    const std::string writing = card_.at(cardWritingFolder);
    const auto copy = [&] {
        try {
            return fs::copyFileChecked(flat_ + "\\", writing, step, card_.single) == 1;
        } catch (const platform::Error&) {
            ui::report("Failed to copy directory " + flat_ + " to " + card_.single +
                       readyAndNotWriteProtected());
            return false;
        }
    };
    return fillBeside(flat, card_, step, copy);
}

// After a failed write the card gets its previous database back, wherever it was kept.
void CardWriter::undo(bool replacing) {
    dropWriting(card_);
    if (kept_)
        writeBack(card_, *kept_);
    else if (replacing)
        ui::appendLog("Kept the previous database in " + card_.single);
}

}  // namespace rebuild
