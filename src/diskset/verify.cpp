// The verification of the archived checksums after the last diskette: every entry's file in
// its diskette area against its archived value, the keycode file's form decided on the way.
#include <string>

#include "diskset/checksum.h"
#include "fs/file_system.h"
#include "fs/temp_area.h"
#include "state/state.h"
#include "ui/messages.h"

namespace diskset {

namespace {

// The file the entry stands for in its diskette area below `temp`. A "\keycode.rec" entry is
// kept as keycode.kcd unless diskette area 1 holds keycode.rec.
std::string entryPath(const std::string& temp, const app::FileEntry& e,
                      const fs::FileSystemObject& fso) {
    const std::string area = fs::diskArea(temp, e.disk);
    if (e.name != "\\keycode.rec")
        return area + e.name;
    if (fso.FileExists(fs::diskArea(temp, 1) + "\\keycode.rec")) {
        app::keycodeRecFound = true;
        return area + "\\keycode.rec";
    }
    return area + "\\keycode.kcd";
}

}  // namespace

bool verifyChecksums() {
    fs::FileSystemObject fso;
    const std::string temp = fs::getTempFolder();
    const int16_t count = app::fileCount;
    for (int16_t a = 1; a <= count; ++a) {
        const app::FileEntry& e = app::fileTable(a);
        const std::string path = entryPath(temp, e, fso);
        double sum = fileChecksum(path);
        // The archived value of a later piece runs on from the piece before it.
        if (e.split) {
            for (int16_t b = 1; b <= a; ++b) {
                const app::FileEntry& before = app::fileTable(b);
                if (before.name == e.name && before.disk == e.disk - 1) {
                    sum = sum + before.archivedSum;
                    if (sum > 4294967295.0)
                        sum = sum - 4294967296.0;
                }
            }
        }
        if (sum != e.archivedSum) {
            const std::string message = "Wrong checksum at " + path + ui::crlf + "Actual " +
                                        ui::numberText(sum) + " archived " +
                                        ui::numberText(e.archivedSum);
            ui::appendLog("ERROR " + message);
            ui::errorBox(message);
            return false;
        }
    }
    return true;
}

}  // namespace diskset
