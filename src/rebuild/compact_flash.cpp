// writeCompactFlash: the flat area copied into \backup\single\ on the Compact Flash drive,
// asking before an old database there is replaced. A card is left either with the whole new
// database, flushed to the medium, or without a single folder at all.
#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "fs/copy.h"
#include "fs/file_system.h"
#include "fs/temp_area.h"
#include "platform/context.h"
#include "platform/error.h"
#include "platform/text_case.h"
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

void reportUnkept(const std::string& path) {
    report("Verification failed: " + path + crlf +
           "The Compact Flash card does not keep what is written to it. Use another card.");
}

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

// The previous database waits under this name until its successor is verified. No user names
// a folder so; a crash in between leaves it for the next write to this card to find.
const std::string asideName = "single~velt-previous";

// Files and folders below `folder` (ending in "\"), by their path below it ("db\x.dat"; folders
// end in "\"), with the folder path they are at.
void collectTree(const std::string& folder, const std::string& below,
                 std::map<std::string, std::string>& out) {
    for (const fs::DirEntry& e : fs::listFolderAll(folder + below)) {
        const std::string rel = below + e.name;
        if (e.folder) {
            out[rel + "\\"] = folder + rel + "\\";
            collectTree(folder, rel + "\\", out);
        } else {
            out[rel] = folder + rel;
        }
    }
}

// The bytes the flat area takes on the card, each file rounded up to the card's allocation unit.
uint64_t bytesOnCard(const std::string& flat, const std::string& card) {
    uint64_t unit = 0;
    try {
        unit = fs::allocationUnit(card);
    } catch (const platform::Error&) {
    }
    std::map<std::string, std::string> files;
    collectTree(flat + "\\", "", files);
    uint64_t total = 0;
    for (const auto& [rel, path] : files) {
        if (rel.back() == '\\')
            continue;
        uint64_t length = static_cast<uint64_t>(fs::fileLength(path));
        if (unit > 0)
            length = (length + unit - 1) / unit * unit;
        total += length;
    }
    return total;
}

// Two blocks for the comparison, taken once for the whole read-back.
struct CompareBuffers {
    static constexpr size_t size = size_t{1} << 20;
    std::unique_ptr<uint8_t[]> a{new uint8_t[size]}, b{new uint8_t[size]};
};

// True when `a` and `b` hold the same bytes; `b` is read from its device, past the caches.
bool sameBytes(const std::string& a, const std::string& b, CompareBuffers& buffers) {
    fs::BinaryFile fa(a);
    fs::BinaryFile fb(b, true);
    for (;;) {
        const size_t na = fa.read(buffers.a.get(), CompareBuffers::size);
        const size_t nb = fb.read(buffers.b.get(), CompareBuffers::size);
        if (na != nb || std::memcmp(buffers.a.get(), buffers.b.get(), na) != 0)
            return false;
        if (na == 0)
            return true;
        ui::keepAlive();
    }
}

// Reads the single folder back and compares it with the flat area: the same files and
// folders, nothing more, nothing less, and the same bytes. Reports and returns false on the
// first difference. The progress bar starts again and moves by `step` per file.
bool verifySingleFolder(const std::string& flat, const std::string& single, int16_t step) {
    std::map<std::string, std::string> written, wanted;
    try {
        collectTree(flat + "\\", "", wanted);
        collectTree(single, "", written);
    } catch (const platform::Error&) {
        report("Failed to copy directory " + flat + " to " + single + crlf +
               "Ensure the Compact Flash drive " + app::flashDrive +
               " is ready and not write protected");
        return false;
    }
    passOver([] { ui::window().progressBar1().setValue(0); });
    CompareBuffers buffers;
    for (const auto& [rel, cardPath] : written) {
        if (wanted.count(rel) == 0) {
            reportUnkept(cardPath);
            return false;
        }
    }
    for (const auto& [rel, flatPath] : wanted) {
        auto it = written.find(rel);
        const std::string cardPath = single + rel;
        bool same = false;
        try {
            same = it != written.end() &&
                   (rel.back() == '\\' || sameBytes(flatPath, cardPath, buffers));
        } catch (const platform::Error&) {
            same = false;
        }
        if (!same) {
            reportUnkept(cardPath);
            return false;
        }
        if (rel.back() != '\\')
            advanceProgress(step);
    }
    return true;
}

// Puts the previous database back in place of a new one that failed.
void restorePrevious(const std::string& single, const std::string& aside) {
    try {
        if (fs::FileSystemObject().FolderExists(single))
            removeFolderTree(single);
        fs::renameFolder(aside, single);
        appendLog("Kept the previous database in " + single);
    } catch (const platform::Error&) {
        report("Failed to remove directory: " + single + notWriteProtected());
        appendLog("The previous database is kept in " + aside);
    }
}
}  // namespace

int16_t writeCompactFlash() {
    const std::string backup = app::flashDrive + "\\backup\\";
    const std::string single = backup + "single\\";
    const std::string aside = backup + asideName + "\\";
    const std::string flat = flatArea(getTempFolder());
    const char letter = app::flashDrive.empty() ? '\0' : platform::upperLetter(app::flashDrive[0]);

    appendLog("Compact Flash drive " + app::flashDrive + " was selected ");

    CurrentPlaceGuard guard(letter);
    fs::changeDrive(app::flashDrive);
    bool keptAside = false;  // the previous database waits in the aside folder
    if (folderExists(backup)) {
        fs::changeFolder(backup);
        // A write cut short by a crash: the database it had set aside is the last one known good.
        if (folderExists(aside) && !folderExists(single)) {
            fs::renameFolder(aside, single);
            appendLog("Restored the previous database in " + single);
        }
        if (folderExists(single)) {
            const ui::Answer answer =
                msgBox("Directory " + single + " already exists" + crlf + "Replace old database?",
                       ui::Buttons::yesNo, ui::Icon::question, "Replace");
            if (answer == ui::Answer::no)
                return -1;
            appendLog("Remove " + single);
            double free = 0;
            try {
                free = fs::FileSystemObject().GetDrive(app::flashDrive).FreeSpace();
            } catch (const platform::Error&) {
            }
            if (folderExists(aside)) {
                // Set aside by an earlier write that did not finish: the single folder is not
                // verified, the aside one is.
                if (!removeFolder(single))
                    return -1;
                keptAside = true;
            } else if (static_cast<double>(bytesOnCard(flat, app::flashDrive + "\\")) > free) {
                appendLog("Not enough free space on " + app::flashDrive +
                          " to keep the previous database until the new one is verified");
                if (!removeFolder(single))
                    return -1;
            } else {
                try {
                    fs::renameFolder(single, aside);
                } catch (const platform::Error&) {
                    report("Failed to remove directory: " + single + notWriteProtected());
                    return -1;
                }
                keptAside = true;
            }
        }
    } else if (!createFolder(backup)) {
        return -1;
    }

    // Any failure from here on leaves the card as it was before the write.
    auto fail = [&] {
        if (keptAside)
            restorePrevious(single, aside);
        return int16_t{-1};
    };

    passOver(
        [] { setStatus(std::string("Please wait...") + crlf + "Writing on the Compact Flash"); });
    ui::ProgressBar& bar = ui::window().progressBar1();
    passOver([&] { bar.setValue(0); });
    passOver([&] { bar.setVisible(true); });

    if (!createFolder(single))
        return fail();
    passOver([&] { appendLog("Copy directory " + flat + " to " + single); });

    const auto step = static_cast<int16_t>(app::fileCount > 0 ? 100 / app::fileCount : 0);
    if (!fillSingleFolder(flat, single, backup) || !verifySingleFolder(flat, single, step)) {
        // A half-written database must not pass for a whole one on the switch.
        if (!keptAside) {
            removeFolder(single);
            return -1;
        }
        return fail();
    }
    passOver([&] { appendLog("Verified " + single); });
    // Left behind, the set-aside database would pass for the last good one at the next write
    // (a crash in the middle of a write leaves the same two folders): a second try, then it
    // stays, and the next write treats it so.
    for (int attempt = 0; keptAside && attempt < 2; ++attempt) {
        try {
            removeFolderTree(aside);
            break;
        } catch (const platform::Error&) {
        }
    }
    passOver([&] { bar.setVisible(false); });
    return 1;
}

}  // namespace UtilModule
