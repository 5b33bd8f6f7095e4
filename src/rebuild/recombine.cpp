// recombineDatabase and createParentFolders: the diskette areas are merged into the flat area,
// then every archived file is put there again from its own area, spread files joined piece by
// piece.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fs/copy.h"
#include "fs/file_system.h"
#include "fs/temp_area.h"
#include "platform/error.h"
#include "rebuild/rebuild.h"
#include "state/state.h"
#include "ui/main_window.h"
#include "ui/messages.h"

namespace rebuild {

namespace {

const std::string keycodeName = "\\keycode.rec";
constexpr size_t joinBlock = size_t{1} << 20;

std::string failedWriting(const std::string& destination) {
    return "Failed writing: " + destination + ui::crlf +
           "Ensure there is enough free space available on the device.";
}

// A folder of that name is there; a file in its place is not one, and making the folder then
// fails and is reported.
bool folderThere(const std::string& path) {
    return fs::FileSystemObject().FolderExists(path);
}

// Returns false when it reported a failure.
bool makeParents(const std::string& relative, const std::string& base) {
    const size_t cut = relative.find('\\', 1);
    if (cut == std::string::npos)
        return true;
    const std::string head = relative.substr(0, cut + 1);
    if (!folderThere(base))
        return true;
    if (!folderThere(base + head)) {
        try {
            fs::makeFolder(base + head);
        } catch (const platform::Error&) {
            ui::report("Failed create directory: " + base + head + ui::crlf +
                       "Ensure there is enough free space available on the device.");
            return false;
        }
    }
    // The rest keeps its leading "\", so the next base ends in a doubled separator.
    if (relative.find('\\', cut + 1) != std::string::npos)
        return makeParents(relative.substr(cut), base + head);
    return true;
}

// True when an entry before `index` carries the same name: the entry continues that file.
bool continuesEarlierEntry(int16_t index) {
    const std::string& name = app::fileTable(index).name;
    for (int16_t k = 1; k < index; ++k) {
        if (app::fileTable(k).name == name)
            return true;
    }
    return false;
}

// Appends the piece at `source` to `destination`. Returns false when it reported a failure;
// a piece that cannot be read is a failure, never a silently shorter file.
bool appendPiece(const fs::FileSystemObject& fso, const std::string& source,
                 const std::string& destination) {
    try {
        fs::BinaryFile in(source);
        fs::TextStream out = fso.OpenTextFile(destination, fs::ForAppending, true);
        // A block at a time: a piece of any size takes one block of memory.
        std::vector<uint8_t> block(joinBlock);
        while (const size_t n = in.read(block.data(), block.size())) {
            out.Write(std::string_view(reinterpret_cast<const char*>(block.data()), n));
            ui::keepAlive();
        }
        out.Close();
        in.close();
    } catch (const platform::Error&) {
        // Both streams are closed by now: they went out of scope before this handler.
        ui::report(failedWriting(destination));
        return false;
    }
    ui::appendLog("append " + source + " to " + destination);
    return true;
}

}  // namespace

void createParentFolders(const std::string& relative, const std::string& base) {
    makeParents(relative, base);
}

bool recombineDatabase() {
    const fs::FileSystemObject fso;
    const std::string temp = fs::getTempFolder();
    const std::string flat = fs::flatArea(temp);

    // A failure the merge pass reported does not stop the recombination, but the image then
    // lacks what the walk could not copy (files no entry names among them): it is not whole.
    bool clean = true;
    for (int16_t k = 1; k <= app::currentDisk; ++k) {
        try {
            if (fs::copyFileChecked(fs::diskArea(temp, k) + "\\", flat + "\\", 0) == -1)
                clean = false;
        } catch (const platform::Error&) {
            // The merge pass only lays the ground; every archived file is placed again below.
        }
    }

    const auto step = static_cast<int16_t>(app::fileCount > 0 ? 100 / app::fileCount : 0);
    ui::appendLog("Recombining the database at " + flat);

    const std::string volumeCopy = flat + "\\disk0001.dat";
    try {
        fso.CopyFile(fs::diskArea(temp, 1) + "\\disk0001.dat", volumeCopy, true);
    } catch (const platform::Error&) {
        ui::report(failedWriting(volumeCopy));
        return false;
    }

    for (int16_t i = 1; i <= app::fileCount; ++i) {
        ui::advanceProgress(step);
        const app::FileEntry& entry = app::fileTable(i);
        const std::string disk = fs::diskArea(temp, entry.disk);
        std::string source = disk + entry.name;
        std::string destination = flat + entry.name;
        if (entry.name == keycodeName && !app::keycodeRecFound) {
            source = disk + "\\keycode.kcd";
            destination = flat + "\\keycode.kcd";
        }

        if (!entry.split || !continuesEarlierEntry(i)) {
            try {
                if (!makeParents(entry.name, flat))
                    clean = false;
            } catch (const platform::Error&) {
                // A folder test that fails is met again by the copy, which reports it.
            }
            ui::appendLog("copy " + source + " to " + destination);
            try {
                fso.CopyFile(source, destination, true);
            } catch (const platform::Error&) {
                ui::report(failedWriting(destination));
                return false;
            }
        } else if (!appendPiece(fso, source, destination)) {
            return false;
        }
    }
    return clean;
}

}  // namespace rebuild
