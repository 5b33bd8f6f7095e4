// writeCompactFlash: the flat area copied into \backup\single\ on the Compact Flash drive,
// asking before an old database there is replaced. A card is left either with the whole new
// database, flushed to the medium, or without a single folder at all.
#include <cctype>
#include <string>

#include "fs/copy.h"
#include "fs/file_system.h"
#include "fs/temp_area.h"
#include "platform/context.h"
#include "platform/error.h"
#include "rebuild/rebuild.h"
#include "state/state.h"
#include "ui/util_module.h"

namespace UtilModule {

namespace {

// Puts the process's current drive, and the current folder of the drive it changes, back as
// they were when the writer started, however it ends.
struct CurrentPlaceGuard {
    explicit CurrentPlaceGuard(char changed)
        : drive(platform::currentDrive()), changedDrive(changed) {
        if (changedDrive != '\0')
            folder = platform::currentFolder(changedDrive);
    }
    ~CurrentPlaceGuard() {
        if (changedDrive != '\0')
            platform::setCurrentFolder(changedDrive, folder);
        platform::setCurrentDrive(drive);
    }
    CurrentPlaceGuard(const CurrentPlaceGuard&) = delete;
    CurrentPlaceGuard& operator=(const CurrentPlaceGuard&) = delete;

    char drive;
    char changedDrive;
    std::string folder;
};

bool folderExists(const std::string& path) {
    return fs::entryExists(path) && fs::isFolder(path);
}

std::string notWriteProtected() {
    return std::string(crlf) + "Ensure the Compact Flash drive " + app::flashDrive +
           " is not write protected";
}

// Reports and returns false when the folder cannot be created.
bool createFolder(const std::string& folder) {
    try {
        fs::makeFolder(folder);
    } catch (const platform::Error&) {
        report("Failed to create directory: " + folder + crlf +
               "Ensure there is enough free space on Compact Flash drive " + app::flashDrive);
        return false;
    }
    return true;
}

// Reports and returns false when the folder cannot be removed.
bool removeFolder(const std::string& folder) {
    try {
        removeFolderTree(folder);
    } catch (const platform::Error&) {
        report("Failed to remove directory: " + folder + notWriteProtected());
        return false;
    }
    return true;
}

// Copies the flat area into the single folder and flushes the card. Returns false when it
// reported a failure (copyFileChecked's own reports included).
bool fillSingleFolder(const std::string& flat, const std::string& single,
                      const std::string& backup) {
    const auto step = static_cast<int16_t>(app::fileCount > 0 ? 100 / app::fileCount : 0);
    try {
        if (copyFileChecked(flat + "\\", single, step) != 1)
            return false;
    } catch (const platform::Error&) {
        report("Failed to copy directory " + flat + " to " + single + crlf +
               "Ensure the Compact Flash drive " + app::flashDrive +
               " is ready and not write protected");
        return false;
    }
    for (const std::string& folder : {single, backup}) {
        try {
            fs::syncTree(folder);
        } catch (const platform::Error&) {
            report("Failed writing: " + folder + crlf +
                   "Ensure there is enough free space on Compact Flash drive " + app::flashDrive);
            return false;
        }
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

}  // namespace

int16_t writeCompactFlash() {
    const std::string backup = app::flashDrive + "\\backup\\";
    const std::string single = backup + "single\\";
    const std::string flat = flatArea(getTempFolder());
    const char letter =
        app::flashDrive.empty()
            ? '\0'
            : static_cast<char>(std::toupper(static_cast<unsigned char>(app::flashDrive[0])));

    appendLog("Compact Flash drive " + app::flashDrive + " was selected ");

    CurrentPlaceGuard guard(letter);
    fs::changeDrive(app::flashDrive);
    if (folderExists(backup)) {
        fs::changeFolder(backup);
        if (folderExists(single)) {
            const ui::Answer answer =
                msgBox("Directory " + single + " already exists" + crlf + "Replace old database?",
                       ui::Buttons::yesNo, ui::Icon::question, "Replace");
            if (answer == ui::Answer::no)
                return -1;
            appendLog("Remove " + single);
            if (!removeFolder(single))
                return -1;
        }
    } else if (!createFolder(backup)) {
        return -1;
    }

    passOver(
        [] { setStatus(std::string("Please wait...") + crlf + "Writing on the Compact Flash"); });
    ui::ProgressBar& bar = ui::window().progressBar1();
    passOver([&] { bar.setValue(0); });
    passOver([&] { bar.setVisible(true); });

    if (!createFolder(single))
        return -1;
    passOver([&] { appendLog("Copy directory " + flat + " to " + single); });

    if (!fillSingleFolder(flat, single, backup)) {
        // A half-written database must not pass for a whole one on the switch.
        removeFolder(single);
        return -1;
    }
    passOver([&] { bar.setVisible(false); });
    return 1;
}

}  // namespace UtilModule
